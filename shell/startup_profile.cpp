#include "shell/startup_profile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace kvt {

void StartupMark(const char* name) {
    static const char* const setting = std::getenv("KVT_STARTUP_PROFILE");
    if (!setting) return;
    using namespace std::chrono;
    const auto now = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    static const long long origin = [now] {
        const long long given = std::strtoll(setting, nullptr, 10);
        return given > 0 && given <= now ? given : now;
    }();
    std::fprintf(stderr, "startup %-28s %8.2f\n", name, static_cast<double>(now - origin) / 1e6);
}

}  // namespace kvt
