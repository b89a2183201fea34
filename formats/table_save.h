#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/status.h"
#include "core/table_state.h"

namespace kvt {

// The game in progress as the table left it after its last move: what it is
// played with and the table itself (its score sheet and generator with it),
// so that the next start goes on exactly there. Its text form is in
// docs/file-formats.md. Format 1 kept the score sheet as the text of its
// cells beside the table; it is still read.
inline constexpr int kTableSaveVersion = 2;
inline constexpr std::size_t kMaxTableSaveBytes = 4u << 20;

struct SavedTable {
    std::uint64_t card_set_hash = 0;  // of the card set's definitions and title
    std::string card_set_title;
    std::array<std::string, 4> player_names;      // seats 1..4
    std::array<std::uint64_t, 4> player_hashes{};  // of each seat's name and traits
    TableState state;
    bool operator==(const SavedTable&) const = default;
};

std::string WriteSavedTable(const SavedTable& saved);
// Fills `saved` from its text form; a damaged, cut off or foreign text, or
// one of another version, is refused with a message naming the line, and
// `saved` is then unchanged.
Status ReadSavedTable(std::string_view text, SavedTable& saved);

}  // namespace kvt
