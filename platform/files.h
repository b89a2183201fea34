#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/status.h"

namespace kvt {

namespace fs = std::filesystem;

// Reads a whole file; fails with a message naming the file when it is
// missing, unreadable or larger than max_bytes.
Status ReadWholeFile(const fs::path& path, std::string& out, std::size_t max_bytes);

// A file written under a temporary name beside its destination and renamed
// into place by Commit(); dropped without Commit() it leaves nothing behind.
class AtomicFile {
public:
    explicit AtomicFile(fs::path destination);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    Status Open();
    Status Write(std::string_view bytes);
    // Flushes and closes the temporary file; still not visible under its name.
    Status Finish();
    // Renames the finished temporary file over the destination.
    Status Commit();

    const fs::path& Destination() const { return destination_; }

private:
    void Discard();

    fs::path destination_;
    fs::path temporary_;
    std::FILE* file_ = nullptr;
    bool finished_ = false;
    bool committed_ = false;
};

// Writes bytes to path through a temporary file and a rename.
Status WriteFileAtomically(const fs::path& path, std::string_view bytes);

// Creates a folder and its parents; fails with a message naming it.
Status EnsureFolder(const fs::path& folder);

}  // namespace kvt
