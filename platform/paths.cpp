#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#ifndef KVT_INSTALL_DATADIR
#define KVT_INSTALL_DATADIR "/usr/share/kvt"
#endif

namespace kvt {
namespace fs = std::filesystem;
namespace {

fs::path FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return (value && *value) ? fs::path(value) : fs::path();
}

// The user's home folder: $HOME, else the one the user database names. A
// shared temporary folder is the last resort only: others can write there.
fs::path HomeFolder() {
    if (fs::path home = FromEnvironment("HOME"); !home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        fs::path(found->pw_dir).is_absolute())
        return found->pw_dir;
    std::error_code ec;
    fs::path temporary = fs::temp_directory_path(ec);
    return temporary.empty() ? fs::path("/tmp") : temporary;
}

fs::path UserFolder(const char* xdg_variable, const char* home_relative) {
    fs::path base = FromEnvironment(xdg_variable);
    // XDG asks that relative values be ignored.
    if (base.empty() || base.is_relative()) base = HomeFolder() / home_relative;
    return base / "kvt";
}

}  // namespace

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe.parent_path();
    return fs::current_path(ec);  // empty when even that is gone
}

Folders DefaultFolders() {
    Folders folders;
    folders.SettingsFile = UserFolder("XDG_CONFIG_HOME", ".config") / "kvt.ini";
    folders.AppDir = UserFolder("XDG_DATA_HOME", ".local/share");
    folders.SharedData = FromEnvironment("KVT_DATA_DIR");
    if (folders.SharedData.empty()) {
        std::error_code ec;
        const fs::path beside = ExecutableFolder().parent_path() / "share" / "kvt";
        folders.SharedData = fs::is_directory(beside, ec) ? beside : fs::path(KVT_INSTALL_DATADIR);
    }
    return folders;
}

}  // namespace kvt
