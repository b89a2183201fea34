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
// played with, the score sheet's rows and the table itself with its
// generator, so that the next start goes on exactly there. Its text form is
// in docs/file-formats.md.
inline constexpr int kTableSaveVersion = 1;
inline constexpr std::size_t kMaxTableSaveBytes = 4u << 20;
inline constexpr int kSavedSheetRows = 10;

struct SavedSheetCell {
    std::string text = " ";
    bool struck = false;
    bool operator==(const SavedSheetCell&) const = default;
};

struct SavedTable {
    std::uint64_t card_set_hash = 0;  // of the card set's definitions and title
    std::string card_set_title;
    std::array<std::string, 4> player_names;      // seats 1..4
    std::array<std::uint64_t, 4> player_hashes{};  // of each seat's name and traits
    // Rows 0..9 of the score sheet, seats 1..4.
    std::array<std::array<SavedSheetCell, 4>, kSavedSheetRows> sheet;
    TableState state;
    bool operator==(const SavedTable&) const = default;
};

std::string WriteSavedTable(const SavedTable& saved);
// Fills `saved` from its text form; a damaged, cut off or foreign text, or
// one of another version, is refused with a message naming the line, and
// `saved` is then unchanged.
Status ReadSavedTable(std::string_view text, SavedTable& saved);

}  // namespace kvt
