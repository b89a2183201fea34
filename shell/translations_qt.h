#pragma once

#include <QLocale>
#include <filesystem>

namespace kvt {

// The folder of the table's compiled translations (kvt_<language>.qm) in the
// shipped data.
std::filesystem::path TranslationsFolder(const std::filesystem::path& shared_data);

// Puts the table's texts into the first of the locale's languages that has
// them, together with Qt's own texts for it when the system has those. Stops
// at English, the language of the sources. False when nothing was installed.
// Call once, after the application object exists.
bool InstallTranslations(const std::filesystem::path& shared_data, const QLocale& locale = QLocale::system());

}  // namespace kvt
