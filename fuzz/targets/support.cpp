#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "fuzz/fuzz_targets.h"

namespace kvt::fuzz {
namespace {

FailureHandler g_handler = nullptr;

struct Scratch {
    std::filesystem::path path;
    Scratch() {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
            base = std::filesystem::temp_directory_path();
        // Folders of runs that crashed (and so never cleaned up) go first.
        const std::string prefix = "kvt-fuzz-";
        for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0) continue;
            const std::string pid = name.substr(prefix.size());
            if (!pid.empty() && !std::filesystem::exists("/proc/" + pid, ec))
                std::filesystem::remove_all(entry.path(), ec);
        }
        path = base / (prefix + std::to_string(::getpid()));
        std::filesystem::remove_all(path, ec);
        std::filesystem::create_directories(path);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

void Fail(const char* target, const std::string& what) {
    const std::string message = std::string(target) + ": " + what;
    if (g_handler) g_handler(message);
    std::fprintf(stderr, "\n==== kvt fuzz check failed ====\n%s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

void SetFailureHandler(FailureHandler handler) { g_handler = handler; }

const std::filesystem::path& ScratchFolder() {
    static Scratch scratch;
    return scratch.path;
}

std::size_t FirstDifference(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

}  // namespace kvt::fuzz
