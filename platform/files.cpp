#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

namespace kvt {
namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

std::string SystemReason() { return std::strerror(errno); }

}  // namespace

ReadableFile::~ReadableFile() {
    if (fd_ >= 0) ::close(fd_);
}

Status ReadableFile::Open(const fs::path& path) {
    if (fd_ >= 0) ::close(fd_);
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for ever.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return Status::Fail("Cannot open " + Quoted(path) + ": " + SystemReason());
    struct stat st {};
    std::string fault;
    if (::fstat(fd_, &st) != 0) fault = "Cannot read " + Quoted(path) + ": " + SystemReason();
    else if (S_ISDIR(st.st_mode)) fault = Quoted(path) + " is a folder, not a file";
    else if (!S_ISREG(st.st_mode)) fault = Quoted(path) + " is not a regular file";
    if (!fault.empty()) {
        ::close(fd_);
        fd_ = -1;
        return Status::Fail(fault);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    return Status::Ok();
}

bool ReadableFile::ReadAt(std::uint64_t offset, std::size_t n, char* out) const {
    return ReadFullyAt(fd_, offset, n, out);
}

bool ReadFullyAt(int fd, std::uint64_t offset, std::size_t n, char* out) {
    while (n > 0) {
        const ssize_t got = ::pread(fd, out, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        n -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

Status CheckRegularFile(const fs::path& path) {
    ReadableFile file;
    return file.Open(path);
}

Status ReadFileBytes(const fs::path& path, FileBytes& out, std::size_t max_bytes) {
    ReadableFile file;
    if (Status s = file.Open(path); !s) return s;
    const std::uint64_t size = file.Size();
    if (size > max_bytes)
        return Status::Fail(Quoted(path) + " is too large (" + std::to_string(size) + " bytes)");
    auto data = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size));
    errno = 0;
    if (size != 0 && !file.ReadAt(0, static_cast<std::size_t>(size), data.get()))
        return Status::Fail("Cannot read " + Quoted(path) + ": " +
                            (errno ? SystemReason() : std::string("the file ended early")));
    out.data_ = std::move(data);
    out.size_ = static_cast<std::size_t>(size);
    return Status::Ok();
}

Status ReadWholeFile(const fs::path& path, std::string& out, std::size_t max_bytes) {
    FileBytes bytes;
    if (Status s = ReadFileBytes(path, bytes, max_bytes); !s) return s;
    out.assign(bytes.View());
    return Status::Ok();
}

AtomicFile::AtomicFile(fs::path destination) : destination_(std::move(destination)) {
    temporary_ = destination_;
    temporary_ += ".tmp";
}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

void AtomicFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    std::error_code ec;
    fs::remove(temporary_, ec);
}

Status AtomicFile::Open() {
    // Whatever an earlier run left under the temporary name goes first, and
    // the file is created afresh: a link there must not lead the write elsewhere.
    ::unlink(temporary_.c_str());
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd_ < 0) return Status::Fail("Cannot write " + Quoted(destination_) + ": " + SystemReason());
    return Status::Ok();
}

Status AtomicFile::Write(std::string_view bytes) {
    if (fd_ < 0) return Status::Fail("Cannot write " + Quoted(destination_) + ": not open");
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Status::Fail("Cannot write " + Quoted(destination_) + ": " + SystemReason());
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return Status::Ok();
}

Status AtomicFile::CopyFrom(int source_fd, std::uint64_t offset, std::size_t n) {
    if (fd_ < 0) return Status::Fail("Cannot write " + Quoted(destination_) + ": not open");
    auto position = static_cast<off_t>(offset);
    while (n > 0) {
        const ssize_t copied = ::copy_file_range(source_fd, &position, fd_, nullptr, n, 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            break;  // not between these files: copy through a buffer below
        if (copied <= 0)
            return Status::Fail("Cannot write " + Quoted(destination_) + ": " +
                                (copied == 0 ? std::string("the source ended early") : SystemReason()));
        n -= static_cast<std::size_t>(copied);
    }
    std::vector<char> buffer(std::min<std::size_t>(n, 1 << 16));
    while (n > 0) {
        const ssize_t got = ::pread(source_fd, buffer.data(), std::min(n, buffer.size()), position);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0)
            return Status::Fail("Cannot write " + Quoted(destination_) + ": " +
                                (got == 0 ? std::string("the source ended early") : SystemReason()));
        if (Status s = Write({buffer.data(), static_cast<std::size_t>(got)}); !s) return s;
        position += got;
        n -= static_cast<std::size_t>(got);
    }
    return Status::Ok();
}

Status AtomicFile::Finish() {
    if (fd_ < 0) return Status::Fail("Cannot write " + Quoted(destination_) + ": not open");
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) return Status::Fail("Cannot write " + Quoted(destination_) + ": " + SystemReason());
    finished_ = true;
    return Status::Ok();
}

Status AtomicFile::Commit() {
    if (!finished_) return Status::Fail("Cannot write " + Quoted(destination_) + ": not finished");
    std::error_code ec;
    fs::rename(temporary_, destination_, ec);
    if (ec) return Status::Fail("Cannot replace " + Quoted(destination_) + ": " + ec.message());
    committed_ = true;
    return Status::Ok();
}

Status WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    AtomicFile file(path);
    if (Status s = file.Open(); !s) return s;
    if (Status s = file.Write(bytes); !s) return s;
    if (Status s = file.Finish(); !s) return s;
    return file.Commit();
}

fs::path FinalLinkTarget(const fs::path& path) {
    fs::path at = path;
    // As many links as the system itself follows; a loop ends at the last one.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(at, ec)) break;
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

Status EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return Status::Fail("Cannot create the folder " + Quoted(folder) + ": " + ec.message());
    return Status::Ok();
}

}  // namespace kvt
