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

// Writes big-a.cds and big-b.cds into `folder`: two playable sets whose
// bitmaps carry about `megabytes` MB each, for interrupted-load runs. Only
// big-a has a sound and a background, so a switch between them replaces,
// keeps and removes working files.
Status WriteBigSets(const std::filesystem::path& folder, int megabytes);

}  // namespace kvt::soak
