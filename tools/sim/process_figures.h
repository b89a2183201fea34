#pragma once

namespace kvt::sim {

// What this process holds now, read from /proc/self; -1 where that is not
// available (not Linux).
long PeakResidentKb();
int OpenFileCount();

}  // namespace kvt::sim
