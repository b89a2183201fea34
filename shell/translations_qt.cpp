#include "shell/translations_qt.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace kvt {

std::filesystem::path TranslationsFolder(const std::filesystem::path& shared_data) {
    return shared_data / "translations";
}

bool InstallTranslations(const std::filesystem::path& shared_data, const QLocale& locale) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    const QString folder = QFile::decodeName(TranslationsFolder(shared_data).c_str());
    // One language at a time: QTranslator would otherwise skip a preferred
    // English and take the next language it has a file for.
    for (const QString& name : locale.uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::English) return false;
        auto* texts = new QTranslator(app);
        if (!texts->load(language, QStringLiteral("kvt"), QStringLiteral("_"), folder)) {
            delete texts;
            continue;
        }
        QCoreApplication::installTranslator(texts);
        // Standard buttons and dialogs; Qt's catalogues are optional on Debian.
        auto* qt_texts = new QTranslator(app);
        if (qt_texts->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt_texts);
        else
            delete qt_texts;
        return true;
    }
    return false;
}

}  // namespace kvt
