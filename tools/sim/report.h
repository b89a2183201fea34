#pragma once

#include <ostream>

#include "tools/sim/simulation.h"

namespace kvt::sim {

// The figures of a run, as text or as one JSON object. Without `with_time`
// the output depends on the seed alone.
void PrintText(std::ostream& out, const Stats& stats, bool with_time);
void PrintJson(std::ostream& out, const Stats& stats, bool with_time);

}  // namespace kvt::sim
