#pragma once

#include <QObject>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

class QSocketNotifier;

namespace kvt {

// One table at a time on a working folder. The first table listens on a
// local socket named after the folder (in the abstract namespace: no file,
// and it goes with the process however it ends); a later one finds it there
// and can ask it to come forward. Plain sockets: the table needs no network
// library for this.
class SingleTable : public QObject {
    Q_OBJECT

public:
    explicit SingleTable(const std::filesystem::path& app_dir, QObject* parent = nullptr);
    ~SingleTable() override;

    // True when no other table runs on the folder; this one then answers later ones.
    bool Claim();
    // Asks the running table to come forward; false when none answered.
    bool CallForward();

signals:
    void ForwardWanted();

private:
    struct Caller;
    void Accept();
    void Read(int fd);

    std::string name_;
    int listening_ = -1;
    std::unique_ptr<QSocketNotifier> incoming_;
    std::map<int, std::unique_ptr<Caller>> callers_;
};

// A second table runs on a copy of the working folder in `scratch` and keeps
// its settings in memory, so it writes nothing the first one uses. Returns
// the folder it is to use.
std::filesystem::path CopyOfWorkingFolder(const std::filesystem::path& app_dir, const std::filesystem::path& scratch);

}  // namespace kvt
