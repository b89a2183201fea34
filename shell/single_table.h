#pragma once

#include <QLocalServer>
#include <QObject>
#include <filesystem>

namespace kvt {

// One table at a time on a working folder. The first table listens on a
// local socket named after the folder (in the abstract namespace: no file,
// and it goes with the process however it ends); a later one finds it there
// and can ask it to come forward.
class SingleTable : public QObject {
    Q_OBJECT

public:
    explicit SingleTable(const std::filesystem::path& app_dir, QObject* parent = nullptr);

    // True when no other table runs on the folder; this one then answers later ones.
    bool Claim();
    // Asks the running table to come forward; false when none answered.
    bool CallForward();

signals:
    void ForwardWanted();

private:
    QString name_;
    QLocalServer server_;
};

// A second table runs on a copy of the working folder in `scratch` and keeps
// its settings in memory, so it writes nothing the first one uses. Returns
// the folder it is to use.
std::filesystem::path CopyOfWorkingFolder(const std::filesystem::path& app_dir, const std::filesystem::path& scratch);

}  // namespace kvt
