#pragma once

#include <filesystem>

#include "core/status.h"

namespace kvt {

// An advisory lock (flock) on a folder, held while this object lives. The
// folder itself is locked, so nothing is created and a read-only folder can
// be locked too. The system drops the lock when the process ends however it
// ends, so a lock left by a killed process is never in the way.
class FileLock {
public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock when `wait`, else fails at once when another holds it.
    Status Acquire(const std::filesystem::path& folder, bool wait);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace kvt
