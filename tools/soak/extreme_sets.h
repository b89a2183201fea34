#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/card_set_codec.h"
#include "core/status.h"

namespace kvt::soak {

// A playable card set of an unusual shape, for long simulated runs.
struct ExtremeSet {
    std::string Name;  // also the file name, without ".cds"
    std::string What;  // one line for people
    CardSetFile File;
};

// The sets, in a fixed order: one group, action cards only, the largest
// deck, the smallest deck, wild cards only. They share one tiny bitmap.
std::vector<ExtremeSet> ExtremeSets();

// Writes every set as NAME.cds into `folder` (created when missing).
Status WriteExtremeSets(const std::filesystem::path& folder);

}  // namespace kvt::soak
