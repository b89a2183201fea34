#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/status.h"

namespace kvt {

namespace fs = std::filesystem;

// A file open for reading. Opening never waits: a FIFO, a device or a folder
// at the path is refused with a message naming it, before anything is read.
class ReadableFile {
public:
    ReadableFile() = default;
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    Status Open(const fs::path& path);
    int Descriptor() const { return fd_; }
    std::uint64_t Size() const { return size_; }
    // Reads n bytes at offset; false when the file ends first or fails.
    bool ReadAt(std::uint64_t offset, std::size_t n, char* out) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Reads n bytes of an open file at offset, through interruptions; false when
// the file ends first or fails.
bool ReadFullyAt(int fd, std::uint64_t offset, std::size_t n, char* out);

// Whether path is a regular file that can be opened for reading (checked
// without waiting), for readers that open it themselves.
Status CheckRegularFile(const fs::path& path);

// The bytes of a whole file, in a buffer that is not zero-filled first.
class FileBytes {
public:
    std::string_view View() const { return {data_.get(), size_}; }

private:
    friend Status ReadFileBytes(const fs::path& path, FileBytes& out, std::size_t max_bytes);
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
};

// Reads a whole file; fails with a message naming the file when it is
// missing, unreadable or larger than max_bytes.
Status ReadFileBytes(const fs::path& path, FileBytes& out, std::size_t max_bytes);
Status ReadWholeFile(const fs::path& path, std::string& out, std::size_t max_bytes);

// A file written under a temporary name beside its destination and renamed
// into place by Commit(); dropped without Commit() it leaves nothing behind.
// Writes go straight to the file: callers hand over large pieces.
class AtomicFile {
public:
    explicit AtomicFile(fs::path destination);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    Status Open();
    Status Write(std::string_view bytes);
    // Appends n bytes of another open file, starting at offset, copied inside
    // the kernel where it can.
    Status CopyFrom(int source_fd, std::uint64_t offset, std::size_t n);
    // Flushes and closes the temporary file; still not visible under its name.
    Status Finish();
    // Renames the finished temporary file over the destination.
    Status Commit();

    const fs::path& Destination() const { return destination_; }
    // Where the bytes are until Commit().
    const fs::path& Temporary() const { return temporary_; }

private:
    void Discard();

    fs::path destination_;
    fs::path temporary_;
    int fd_ = -1;
    bool finished_ = false;
    bool committed_ = false;
};

// Writes bytes to path through a temporary file and a rename.
Status WriteFileAtomically(const fs::path& path, std::string_view bytes);

// The file a chain of symbolic links at path ends in (path itself when it is
// no link), so that a write replaces the target and keeps the link.
fs::path FinalLinkTarget(const fs::path& path);

// Creates a folder and its parents; fails with a message naming it.
Status EnsureFolder(const fs::path& folder);

}  // namespace kvt
