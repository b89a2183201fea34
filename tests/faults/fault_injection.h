#pragma once

#include <functional>
#include <string>

namespace kvt::faults {

// How a forked child is hampered before it runs the code under test.
enum class Hamper {
    // Writes fail with EFBIG once a file would grow past `limit_bytes`
    // (RLIMIT_FSIZE with SIGXFSZ ignored): a disk that fills up midway.
    kFileSizeLimit,
    // The child loses write access to `folder`: as root it drops to the
    // nobody user, otherwise the folder is made read-only for its run.
    kNoWriteAccess,
    // `folder` becomes a private tmpfs of `limit_bytes` (writes fail with
    // ENOSPC); needs a process that may mount, else the child reports a skip.
    kSmallDisk,
};

struct ChildRun {
    std::string output;   // what the body returned
    std::string skipped;  // why the hamper could not be set up, or ""
    std::string crashed;  // how the child ended abnormally, or ""
};

// Runs `body` in a forked child under the hamper and hands back what it
// returned. The body must not touch GoogleTest: it reports through its text.
ChildRun RunHampered(Hamper hamper, const std::string& folder, long limit_bytes,
                     const std::function<std::string()>& body);

}  // namespace kvt::faults
