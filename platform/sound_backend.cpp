#include "platform/sound_backend.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#ifndef KVT_SOUND_MODULE_DIRS
#define KVT_SOUND_MODULE_DIRS "../lib/kvt"
#endif

namespace kvt {

SoundBackend* OpenSoundBackend() {
    static SoundBackend* const backend = []() -> SoundBackend* {
        // Beside the program as built, and where the package puts it.
        const QDir program(QCoreApplication::applicationDirPath());
        for (const QString& dir : QString::fromUtf8(KVT_SOUND_MODULE_DIRS).split(u':', Qt::SkipEmptyParts)) {
            QLibrary module(program.absoluteFilePath(dir + QStringLiteral("/kvt-sound")));
            using Make = SoundBackend* (*)();
            if (auto make = reinterpret_cast<Make>(module.resolve("kvt_make_sound_backend"))) return make();
        }
        return nullptr;
    }();
    return backend;
}

}  // namespace kvt
