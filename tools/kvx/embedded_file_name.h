#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/status.h"

namespace kvt::kvx {

// Names that an unpacked card-set folder gives its embedded files.
inline constexpr const char* kUnpackedBitmapName = "cards.bmp";
inline constexpr const char* kUnpackedSoundName = "open.wav";
inline constexpr const char* kUnpackedBackgroundName = "background.bmp";

// Why a manifest may not name this file, or "" when it may. Embedded files
// must sit directly in the manifest's folder, so separators, "..", hidden
// names and control characters are refused.
std::string EmbeddedFileNameFault(std::string_view name);

// Reads the file `name` of `folder` (at most max_bytes). A link that leads
// out of the folder is refused: packing an unpacked folder from elsewhere
// must not carry a file of this computer into the packed one.
Status ReadEmbeddedFile(const std::filesystem::path& folder, const std::string& name, std::size_t max_bytes,
                        std::string& out);

}  // namespace kvt::kvx
