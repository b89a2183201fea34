#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/status.h"
#include "platform/file_lock.h"

namespace kvt {

// Bringing a card set into force replaces several working files at once. The
// new files are written into a staging folder; a journal, written in one
// rename, then decides the switch, and the files are moved into place. Kept
// in the working folder beside the working files:
inline constexpr const char* kStagingFolder = "CardSet.new";    // the new set while it is written
inline constexpr const char* kSwitchJournal = "CardSet.switch";  // "replace NAME" / "remove NAME" lines
// One writer at a time: the working folder itself is locked while it changes.

// Brings the working files to one whole card set after an interrupted run:
// a decided switch is finished, an undecided one is dropped, and temporary
// files left by either are removed. The caller holds the working lock.
Status RepairWorkingFiles(const std::filesystem::path& app_dir);

// Takes the working lock (waiting for another writer to finish) and repairs.
Status LockAndRepairWorkingFiles(const std::filesystem::path& app_dir, FileLock& lock);

// One switch: holds the working lock from Begin() to its end. Files are
// written under Staged(name); Commit() puts them all in force, or nothing
// changes when the switch ends without Commit().
class CardSetSwitch {
public:
    explicit CardSetSwitch(std::filesystem::path app_dir);
    ~CardSetSwitch();
    CardSetSwitch(const CardSetSwitch&) = delete;
    CardSetSwitch& operator=(const CardSetSwitch&) = delete;

    Status Begin();
    std::filesystem::path Staged(const char* name) const { return staging_ / name; }
    // `replaced` are staged files; `removed` are working files the new set has none of.
    Status Commit(const std::vector<std::string>& replaced, const std::vector<std::string>& removed);

private:
    std::filesystem::path app_dir_;
    std::filesystem::path staging_;
    FileLock lock_;
    bool begun_ = false;
    bool committed_ = false;
};

// For fault tests: called with the name of every step of a switch and of a
// repair, so a test can end the process at each one.
using SwitchStepHook = void (*)(const char* step);
void SetSwitchStepHook(SwitchStepHook hook);

}  // namespace kvt
