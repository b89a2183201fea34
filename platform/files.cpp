#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace kvt {
namespace {

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

std::string SystemReason() { return std::strerror(errno); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

Status ReadWholeFile(const fs::path& path, std::string& out, std::size_t max_bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return Status::Fail("Cannot open " + Quoted(path) + ": " + SystemReason());
    std::error_code ec;
    if (fs::is_directory(path, ec)) return Status::Fail(Quoted(path) + " is a folder, not a file");
    const auto size = fs::file_size(path, ec);
    if (ec) return Status::Fail("Cannot read " + Quoted(path) + ": " + ec.message());
    if (size > max_bytes)
        return Status::Fail(Quoted(path) + " is too large (" + std::to_string(size) + " bytes)");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (got != bytes.size() || std::ferror(file.get()))
        return Status::Fail("Cannot read " + Quoted(path) + ": " + SystemReason());
    out = std::move(bytes);
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
    if (file_) std::fclose(file_);
    file_ = nullptr;
    std::error_code ec;
    fs::remove(temporary_, ec);
}

Status AtomicFile::Open() {
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (!file_) return Status::Fail("Cannot write " + Quoted(destination_) + ": " + SystemReason());
    static constexpr std::size_t kBuffer = 1 << 16;
    std::setvbuf(file_, nullptr, _IOFBF, kBuffer);
    return Status::Ok();
}

Status AtomicFile::Write(std::string_view bytes) {
    if (!file_) return Status::Fail("Cannot write " + Quoted(destination_) + ": not open");
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        return Status::Fail("Cannot write " + Quoted(destination_) + ": " + SystemReason());
    return Status::Ok();
}

Status AtomicFile::Finish() {
    if (!file_) return Status::Fail("Cannot write " + Quoted(destination_) + ": not open");
    const bool flushed = std::fflush(file_) == 0;
    const std::string reason = flushed ? std::string() : SystemReason();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed)
        return Status::Fail("Cannot write " + Quoted(destination_) + ": " +
                            (flushed ? SystemReason() : reason));
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

Status EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return Status::Fail("Cannot create the folder " + Quoted(folder) + ": " + ec.message());
    return Status::Ok();
}

}  // namespace kvt
