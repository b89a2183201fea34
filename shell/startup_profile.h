#pragma once

namespace kvt {

// Start-up milestones for finding where the time goes: with KVT_STARTUP_PROFILE
// set, each mark prints one line "startup NAME MS" on stderr. MS counts from
// the moment the variable names (nanoseconds since the epoch, as
// `date +%s%N` gives them), else from the first mark.
void StartupMark(const char* name);

}  // namespace kvt
