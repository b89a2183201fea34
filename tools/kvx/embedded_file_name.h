#pragma once

#include <string>
#include <string_view>

namespace kvt::kvx {

// Names that an unpacked card-set folder gives its embedded files.
inline constexpr const char* kUnpackedBitmapName = "cards.bmp";
inline constexpr const char* kUnpackedSoundName = "open.wav";
inline constexpr const char* kUnpackedBackgroundName = "background.bmp";

// Why a manifest may not name this file, or "" when it may. Embedded files
// must sit directly in the manifest's folder, so separators, "..", hidden
// names and control characters are refused.
std::string EmbeddedFileNameFault(std::string_view name);

}  // namespace kvt::kvx
