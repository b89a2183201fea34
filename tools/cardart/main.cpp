// kvt-cardart MANIFEST OUTDIR
//
// Paints the card bitmap named by a card-set manifest from the card
// definitions in it, and synthesizes the opening sound when the manifest names
// one. Runs headless: it is a build step.

#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/cardart/card_sheet.h"
#include "tools/cardart/chime.h"
#include "tools/kvx/card_manifest.h"

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
    std::fprintf(stderr, "kvt-cardart: %s\n", message.c_str());
    return 1;
}

bool WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kvt-cardart MANIFEST OUTDIR\n");
        return 2;
    }
    // Painting text needs a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const fs::path manifest_path = argv[1];
    const fs::path out_dir = argv[2];

    kvt::kvx::CardManifest manifest;
    if (kvt::Status s = kvt::kvx::ReadCardManifest(manifest_path, manifest); !s)
        return Fail(manifest_path.string() + ": " + s.message());
    if (manifest.BitmapFile.empty()) return Fail("the manifest names no card bitmap");

    std::error_code ec;
    fs::create_directories(out_dir, ec);
    if (ec) return Fail("cannot create " + out_dir.string() + ": " + ec.message());

    // The card bitmap is stored as a 24-bit BMP, which is what RGB888 saves as.
    const QImage sheet = kvt::cardart::PaintCardSheet(manifest.Def).convertToFormat(
        QImage::Format_RGB888);
    const fs::path bitmap_path = out_dir / manifest.BitmapFile;
    QImageWriter writer(QString::fromStdString(bitmap_path.string()), "bmp");
    if (!writer.write(sheet))
        return Fail("cannot write " + bitmap_path.string() + ": " + writer.errorString().toStdString());

    if (!manifest.SoundFile.empty()) {
        const fs::path sound_path = out_dir / manifest.SoundFile;
        const std::string wav = kvt::cardart::EncodeWav(kvt::cardart::SynthesizeChime(),
                                                        kvt::cardart::kChimeSampleRate);
        if (!WriteBytes(sound_path, wav)) return Fail("cannot write " + sound_path.string());
    }
    return 0;
}
