#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kvt {

Status FileLock::Acquire(const std::filesystem::path& folder, bool wait) {
    Release();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Status::Fail("Cannot lock \"" + folder.string() + "\": " + std::strerror(errno));
    int locked = 0;
    do locked = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool busy = errno == EWOULDBLOCK;
        const std::string why = std::strerror(errno);
        ::close(fd);
        return Status::Fail(busy ? "\"" + folder.string() + "\" is held by another process"
                                 : "Cannot lock \"" + folder.string() + "\": " + why);
    }
    fd_ = fd;
    return Status::Ok();
}

void FileLock::Release() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    fd_ = -1;
}

}  // namespace kvt
