#include "engine/card_set_switch.h"

#include <sstream>
#include <system_error>

#include "engine/working_files.h"
#include "platform/files.h"

namespace kvt {
namespace fs = std::filesystem;
namespace {

SwitchStepHook step_hook = nullptr;

void Step(const char* name) {
    if (step_hook) step_hook(name);
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// Carries out a decided switch; every step may be repeated after a kill.
Status RollForward(const fs::path& app_dir, const std::string& journal) {
    std::istringstream lines(journal);
    std::string action, name;
    std::error_code ec;
    while (lines >> action >> name) {
        if (!files::IsWorkingFileName(name)) continue;  // only the working files may be named
        const fs::path target = app_dir / name;
        if (action == "replace") {
            const fs::path staged = app_dir / kStagingFolder / name;
            // Gone from the staging folder: moved on an earlier try.
            if (!fs::exists(fs::symlink_status(staged, ec))) continue;
            // The old file goes first. Renamed over another, a file is
            // written out at once (ext4 does so, lest a crash leave it
            // empty): for a big bitmap that took longer than its copy. The
            // journal keeps the switch whole without an atomic replace.
            fs::remove(target, ec);
            if (ec) return Status::Fail("Cannot replace " + Quoted(target) + ": " + ec.message());
            Step(("cleared " + name).c_str());
            fs::rename(staged, target, ec);
            if (ec) return Status::Fail("Cannot replace " + Quoted(target) + ": " + ec.message());
        } else if (action == "remove") {
            fs::remove(target, ec);
            if (ec) return Status::Fail("Cannot remove " + Quoted(target) + ": " + ec.message());
        }
        Step(("moved " + name).c_str());
    }
    fs::remove_all(app_dir / kStagingFolder, ec);
    if (ec) return Status::Fail("Cannot remove " + Quoted(app_dir / kStagingFolder) + ": " + ec.message());
    Step("staging removed");
    fs::remove(app_dir / kSwitchJournal, ec);
    if (ec) return Status::Fail("Cannot remove " + Quoted(app_dir / kSwitchJournal) + ": " + ec.message());
    Step("journal removed");
    return Status::Ok();
}

}  // namespace

void SetSwitchStepHook(SwitchStepHook hook) { step_hook = hook; }

Status RepairWorkingFiles(const fs::path& app_dir) {
    std::error_code ec;
    const fs::path journal_path = app_dir / kSwitchJournal;
    if (fs::exists(fs::symlink_status(journal_path, ec))) {
        std::string journal;
        if (Status s = ReadWholeFile(journal_path, journal, 4096); !s) return s;
        if (Status s = RollForward(app_dir, journal); !s) return s;
    }
    // Temporary files of an undecided switch, of the journal, and of the
    // working files as earlier versions wrote them.
    fs::remove_all(app_dir / kStagingFolder, ec);
    for (const char* name : {kSwitchJournal, files::kCardDefs, files::kCardBitmap, files::kOpeningSound,
                             files::kBackground}) {
        fs::path temporary = app_dir / name;
        temporary += ".tmp";
        fs::remove(temporary, ec);
    }
    return Status::Ok();
}

Status LockAndRepairWorkingFiles(const fs::path& app_dir, FileLock& lock) {
    if (Status s = EnsureFolder(app_dir); !s) return s;
    if (Status s = lock.Acquire(app_dir, true); !s) return s;
    return RepairWorkingFiles(app_dir);
}

CardSetSwitch::CardSetSwitch(fs::path app_dir)
    : app_dir_(std::move(app_dir)), staging_(app_dir_ / kStagingFolder) {}

CardSetSwitch::~CardSetSwitch() {
    if (!begun_ || committed_) return;
    // Undecided: the staging folder goes, the working files are untouched.
    std::error_code ec;
    fs::remove_all(staging_, ec);
}

Status CardSetSwitch::Begin() {
    if (Status s = LockAndRepairWorkingFiles(app_dir_, lock_); !s) return s;
    std::error_code ec;
    fs::create_directory(staging_, ec);
    if (ec) return Status::Fail("Cannot create the folder " + Quoted(staging_) + ": " + ec.message());
    begun_ = true;
    Step("staging created");
    return Status::Ok();
}

Status CardSetSwitch::Commit(const std::vector<std::string>& replaced, const std::vector<std::string>& removed) {
    std::string journal;
    for (const std::string& name : replaced) journal += "replace " + name + "\n";
    for (const std::string& name : removed) journal += "remove " + name + "\n";
    Step("files staged");
    // The switch is decided the moment the journal appears under its name.
    if (Status s = WriteFileAtomically(app_dir_ / kSwitchJournal, journal); !s) return s;
    committed_ = true;
    Step("journal written");
    return RollForward(app_dir_, journal);
}

}  // namespace kvt
