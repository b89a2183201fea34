#pragma once

#include <optional>
#include <string>

namespace kvt::kvx {

// Runs the designer window until it closes, on the card set at `path` (or a
// new one when there is none or it is empty); the exit code of the program.
int RunDesigner(int argc, char** argv, const std::optional<std::string>& path);

// Why the window cannot be shown ("" when it can): no Qt platform chosen and
// no X or Wayland display to show it on. Qt would abort there instead.
std::string DesignerDisplayFault(const char* qpa_platform, const char* x_display, const char* wayland_display);

// Whether kvx's only argument names a file for the windows rather than a
// command: empty (the table had no card set), an existing file, a ".cds" or a
// ".dpf" name.
bool IsDesignerArgument(const std::string& arg);
// Whether the name is a player file's (".dpf", in any case), which opens in the player-file window.
bool IsPlayerFileName(const std::string& arg);

}  // namespace kvt::kvx
