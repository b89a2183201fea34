#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace kvt {

// Card-set and player-file texts are single-byte characters (Windows-1252 in
// the files made elsewhere, Latin-1 in ours); the shared range is Latin-1.
inline QString ToQString(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A file path as the user's locale spells it.
inline QString PathText(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

// Text for a window title, shown as it stands: Qt takes "[*]" there for the
// mark of unsaved changes, and shows "[*][*]" as "[*]".
inline QString InWindowTitle(QString text) { return text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")); }

// Characters outside Latin-1 become '?'.
std::string FromQString(const QString& text);

}  // namespace kvt
