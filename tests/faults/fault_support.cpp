#include "fault_support.h"

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace kvt::faults {

void WorkingState::SetUp() {
    first_set = test::SampleCardSet();
    first_set.GameTitle = FitTitle("In force");
    other_set = test::SampleCardSet();
    other_set.GameTitle = FitTitle("Other");
    ASSERT_TRUE(game.LoadCardSetCommand(WriteCardSet("first.cds", test::SampleCardSetFile(first_set, 2500, 300, 40))));
    ASSERT_TRUE(game.ExtractPlayer(WritePlayer("ada.dpf", players_test::SamplePlayer()), 2));
    seat2_before = game.PlayerInfo[2];
    // A child that gives up its rights must still read what the test wrote.
    std::error_code ec;
    const auto readable = fs::perms::others_read | fs::perms::others_exec;
    for (auto it = fs::recursive_directory_iterator(Root(), ec); !ec && it != fs::end(it); it.increment(ec))
        fs::permissions(it->path(), readable, fs::perm_options::add, ec);
    fs::permissions(Root(), readable, fs::perm_options::add, ec);
}

std::string WorkingState::VerdictAfter(const std::function<Status()>& operation) {
    const Status status = operation();
    const bool kept = StateKept();
    return Verdict(status, kept, NextRoundDealt());
}

namespace {

constexpr uid_t kNobody = 65534;

std::string Failed(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// One write, as the namespace map files of /proc want them.
bool WriteFile(const char* path, const std::string& text) {
    std::ofstream out(path);
    return (out << text << std::flush).good();
}

// Sets the hamper up inside the child; "" when it is in force, else why not.
std::string Apply(Hamper hamper, const std::string& folder, long limit_bytes) {
    switch (hamper) {
    case Hamper::kFileSizeLimit: {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(limit_bytes), static_cast<rlim_t>(limit_bytes)};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 ? "" : Failed("setrlimit");
    }
    case Hamper::kNoWriteAccess:
        if (geteuid() != 0) return chmod(folder.c_str(), 0555) == 0 ? "" : Failed("chmod");
        if (setgroups(0, nullptr) != 0) return Failed("setgroups");
        if (setresgid(kNobody, kNobody, kNobody) != 0) return Failed("setresgid");
        if (setresuid(kNobody, kNobody, kNobody) != 0) return Failed("setresuid");
        // Changing users makes /proc/self unreadable, which the sanitizers need.
        prctl(PR_SET_DUMPABLE, 1);
        return "";
    case Hamper::kSmallDisk: {
        // A mount namespace of its own: the tmpfs vanishes with the child.
        // Without root a user namespace grants the mount, where allowed.
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(uid == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0) return Failed("unshare");
        if (uid != 0 && !(WriteFile("/proc/self/setgroups", "deny") &&
                          WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                          WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")))
            return Failed("user namespace maps");
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return Failed("private mounts");
        const std::string size = "size=" + std::to_string(limit_bytes);
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) != 0) return Failed("mount tmpfs");
        return "";
    }
    }
    return "unknown hamper";
}

}  // namespace

ChildRun RunHampered(Hamper hamper, const std::string& folder, long limit_bytes,
                     const std::function<std::string()>& body) {
    const test::TempDir scratch;
    const fs::path report = scratch / "report";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // Opened before the hamper, so that a child that lost its rights can still report.
        std::ofstream out(report, std::ios::binary);
        const std::string skip = Apply(hamper, folder, limit_bytes);
        out << (skip.empty() ? "R" + body() : "S" + skip) << std::flush;
        if (hamper == Hamper::kNoWriteAccess && geteuid() != 0) chmod(folder.c_str(), 0755);
        _exit(0);  // no exit handlers of the test program in the child
    }
    ChildRun run;
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) run.crashed = Failed(pid < 0 ? "fork" : "waitpid");
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.crashed = WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                          : "exit status " + std::to_string(WEXITSTATUS(status));
    const std::string text = fs::exists(report) ? test::ReadBytes(report) : "";
    if (run.crashed.empty() && text.empty()) run.crashed = "the child said nothing";
    else if (text.starts_with('S')) run.skipped = text.substr(1);
    else if (!text.empty()) run.output = text.substr(1);
    return run;
}

}  // namespace kvt::faults
