#pragma once

#include <QString>
#include <string>

namespace kvt::kvx {

// A picture file's bytes as card sets and player files store pictures: a BMP
// is kept byte for byte, anything else Qt reads is converted to a 32-bit BMP.
// On failure `bytes` is unchanged and `error` says why, naming `path`.
bool PictureAsBmp(const QString& path, std::string& bytes, QString& error);

// Whether the bytes are a RIFF WAVE file, the only sound the formats store.
bool IsWave(const std::string& bytes);

}  // namespace kvt::kvx
