#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/status.h"
#include "platform/paths.h"

class QProcess;

namespace kvt::kvx {

// Runs the table on a card set as the designer holds it, in a folder of its
// own: the set goes to a temporary file and the table gets its own settings
// and working folders (XDG_CONFIG_HOME, XDG_DATA_HOME), so the user's files
// and settings stay as they are. The folder goes when the table ends.
class PlayTest : public QObject {
    Q_OBJECT

public:
    // `table` is the table program; `user` the folders whose remembered
    // opponents the table is given (the shipped ones when those are missing).
    PlayTest(QString table, Folders user, QObject* parent = nullptr);
    // Ends a table still running; its folder goes with it.
    ~PlayTest() override;

    // Writes the set and starts the table without waiting for it.
    Status Start(const std::string& card_set);
    bool IsRunning() const { return process_ != nullptr; }
    // The folder the table runs in while it runs.
    QString Folder() const { return folder_ ? folder_->path() : QString(); }

signals:
    // The table ended (or never started); `problem` is empty after a normal end.
    void Ended(const QString& problem);

private:
    Status PrepareFolder(const std::string& card_set, QString& card_set_path);
    void ProcessEnded();

    QString table_;
    Folders user_;
    std::unique_ptr<QTemporaryDir> folder_;
    QProcess* process_ = nullptr;
};

// The player files the table is given: the user's remembered three when
// they all exist, else the first three shipped ones by name.
std::array<std::filesystem::path, 3> PlayTestOpponents(const Folders& user);
// The shipped player files in name order, the simulator's default opponents.
std::vector<std::filesystem::path> ShippedPlayerFiles(const std::filesystem::path& shared);

}  // namespace kvt::kvx
