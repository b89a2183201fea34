#include "tools/sim/process_figures.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace kvt::sim {

long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

int OpenFileCount() {
    std::error_code ec;
    std::filesystem::directory_iterator fds("/proc/self/fd", ec);
    if (ec) return -1;
    // The iterator's own descriptor is among them.
    int n = 0;
    for (; fds != std::filesystem::directory_iterator(); fds.increment(ec)) ++n;
    return n - 1;
}

}  // namespace kvt::sim
