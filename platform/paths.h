#pragma once

#include <filesystem>

namespace kvt {

// Where this program keeps and finds its files.
struct Folders {
    std::filesystem::path SettingsFile;  // kvt.ini
    std::filesystem::path AppDir;        // working files and folders
    std::filesystem::path SharedData;    // shipped, read-only data
};

// The user's folders from XDG_CONFIG_HOME / XDG_DATA_HOME (falling back to
// ~/.config and ~/.local/share), and the shipped data: KVT_DATA_DIR when set,
// else share/kvt beside the executable's bin folder (build tree and
// installation alike), else the installed data folder.
Folders DefaultFolders();

// The folder holding the running executable.
std::filesystem::path ExecutableFolder();

}  // namespace kvt
