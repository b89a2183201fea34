#include "shell/single_table.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSocketNotifier>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace kvt {
namespace {

constexpr std::string_view kForward = "forward\n";

// An address in the abstract namespace: a leading zero byte, then the name.
socklen_t AbstractAddress(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::size_t n = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), n);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

int LocalSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

// A connected socket to the table listening under `name`, or -1. Never
// waits: a table with a full backlog still counts as there.
int ConnectTo(const std::string& name, bool* busy = nullptr) {
    const int fd = LocalSocket();
    if (fd < 0) return -1;
    sockaddr_un address;
    const socklen_t length = AbstractAddress(name, address);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 || errno == EINPROGRESS) return fd;
    if (busy) *busy = errno == EAGAIN;
    ::close(fd);
    return -1;
}

}  // namespace

struct SingleTable::Caller {
    std::unique_ptr<QSocketNotifier> notifier;
    std::string received;
};

SingleTable::SingleTable(const std::filesystem::path& app_dir, QObject* parent) : QObject(parent) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(app_dir, ec);
    const QByteArray key = QFile::encodeName(QString::fromStdString((ec ? app_dir : folder).string()));
    name_ = "kvt-table-" + QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().toStdString();
}

SingleTable::~SingleTable() {
    for (auto& [fd, caller] : callers_) ::close(fd);
    if (listening_ >= 0) ::close(listening_);
}

bool SingleTable::Claim() {
    bool busy = false;
    if (const int fd = ConnectTo(name_, &busy); fd >= 0) {
        ::close(fd);
        return false;
    }
    if (busy) return false;
    const int fd = LocalSocket();
    if (fd < 0) return false;
    sockaddr_un address;
    const socklen_t length = AbstractAddress(name_, address);
    // Two starting at the same moment: the one that cannot bind is second.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    listening_ = fd;
    incoming_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(incoming_.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
    return true;
}

void SingleTable::Accept() {
    for (;;) {
        const int fd = ::accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        auto caller = std::make_unique<Caller>();
        caller->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(caller->notifier.get(), &QSocketNotifier::activated, this, [this, fd] { Read(fd); });
        callers_[fd] = std::move(caller);
    }
}

void SingleTable::Read(int fd) {
    const auto it = callers_.find(fd);
    if (it == callers_.end()) return;
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    std::string& received = it->second->received;
    if (n > 0 && received.size() < 4096) received.append(buffer, static_cast<std::size_t>(n));
    const bool forward = received.find(kForward) != std::string::npos;
    if (n <= 0 || forward) {
        // The caller has said what it had to say, or hung up.
        it->second->notifier->setEnabled(false);
        callers_.erase(it);
        ::close(fd);
    }
    if (forward) emit ForwardWanted();
}

bool SingleTable::CallForward() {
    const int fd = ConnectTo(name_);
    if (fd < 0) return false;
    const bool sent = ::send(fd, kForward.data(), kForward.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(kForward.size());
    ::close(fd);
    return sent;
}

std::filesystem::path CopyOfWorkingFolder(const std::filesystem::path& app_dir, const std::filesystem::path& scratch) {
    const std::filesystem::path copy = scratch / "kvt";
    std::error_code ec;
    std::filesystem::copy(app_dir, copy, std::filesystem::copy_options::recursive, ec);
    return copy;
}

}  // namespace kvt
