#include "shell/single_table.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalSocket>
#include <system_error>

namespace kvt {
namespace {

constexpr int kAnswerMs = 500;
const QByteArray kForward = "forward\n";

}  // namespace

SingleTable::SingleTable(const std::filesystem::path& app_dir, QObject* parent) : QObject(parent) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::weakly_canonical(app_dir, ec);
    const QByteArray key = QFile::encodeName(QString::fromStdString((ec ? app_dir : folder).string()));
    name_ = QStringLiteral("kvt-table-") +
            QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_.nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (caller->readAll().contains(kForward)) emit ForwardWanted();
            });
        }
    });
}

bool SingleTable::Claim() {
    QLocalSocket probe;
    probe.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    probe.connectToServer(name_);
    if (probe.waitForConnected(kAnswerMs)) return false;
    // Two starting at the same moment: the one that cannot listen is second.
    return server_.listen(name_);
}

bool SingleTable::CallForward() {
    QLocalSocket caller;
    caller.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    caller.connectToServer(name_);
    if (!caller.waitForConnected(kAnswerMs)) return false;
    caller.write(kForward);
    return caller.waitForBytesWritten(kAnswerMs);
}

std::filesystem::path CopyOfWorkingFolder(const std::filesystem::path& app_dir, const std::filesystem::path& scratch) {
    const std::filesystem::path copy = scratch / "kvt";
    std::error_code ec;
    std::filesystem::copy(app_dir, copy, std::filesystem::copy_options::recursive, ec);
    return copy;
}

}  // namespace kvt
