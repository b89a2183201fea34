#pragma once

#include <filesystem>
#include <string>

namespace kvt {

// Names of the sound events 1..11 ("Sel", "Comment", "Disc", "DrawP", ...);
// any other number gives "".
std::string SoundEventName(int event);

// `name` inside `folder`, matched without regard to case when no file has
// exactly that name (player files are written on systems that ignore case).
// When nothing matches, the path as asked for.
std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, const std::string& name);

}  // namespace kvt
