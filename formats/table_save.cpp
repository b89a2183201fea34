#include "formats/table_save.h"

#include <algorithm>

#include "formats/game_record.h"
#include "formats/text_fields.h"

namespace kvt {
namespace {

using namespace text_fields;

constexpr std::string_view kHeading = "KVT table in progress ";
constexpr std::size_t kMaxName = 65535;

Status AtLine(std::size_t number, const std::string& what) {
    return Status::Fail("line " + std::to_string(number) + ": " + what);
}

// Format 1 kept the score sheet as its cells' text: rows 0..9, seats 1..4.
constexpr std::size_t kOldSheetRows = 10;
using OldSheet = std::array<std::array<std::string, 4>, kOldSheetRows>;

// The rows of an old sheet that belong to the table's game, as numbers. Its
// rows are this game's first RoundNum (none after a New Game), or after a
// won game, until its OK, every filled row; any further text is a stale
// sheet's that the rules never showed.
void TakeOldSheet(const OldSheet& cells, TableState& state) {
    std::int16_t rows = 0;
    for (; rows < ScoreRows::kMax; ++rows) {
        auto& totals = state.SheetRows.totals[static_cast<std::size_t>(rows)];
        bool filled = true;
        for (std::size_t p = 0; p < 4; ++p) filled = filled && Number(cells[static_cast<std::size_t>(rows)][p], totals[p]);
        if (!filled) break;
    }
    if (state.RoundNum > 0) rows = std::min(rows, state.RoundNum);
    if (state.RoundNum == 0 && state.Winner == 0) rows = 0;
    state.SheetRows.count = rows;
    for (std::size_t row = static_cast<std::size_t>(rows); row < state.SheetRows.totals.size(); ++row) state.SheetRows.totals[row] = {};
}

}  // namespace

std::string WriteSavedTable(const SavedTable& saved) {
    std::string text = std::string(kHeading) + std::to_string(kTableSaveVersion) + "\n";
    text += "card-set " + Hex(saved.card_set_hash) + " " + Escaped(saved.card_set_title) + "\n";
    for (std::size_t p = 0; p < saved.player_names.size(); ++p)
        text += "player " + std::to_string(p + 1) + " " + Hex(saved.player_hashes[p]) + " " +
                Escaped(saved.player_names[p]) + "\n";
    text += "table\n" + WriteTableState(saved.state);
    // A hash of everything above: a cut or changed file shows.
    text += "end " + Hex(Fnv1a64(text)) + "\n";
    return text;
}

Status ReadSavedTable(std::string_view text, SavedTable& saved) {
    if (text.size() > kMaxTableSaveBytes) return Status::Fail("the file is larger than 4 MiB");
    if (text.substr(0, kHeading.size()) != kHeading) return AtLine(1, "not a KVT table in progress");
    const std::size_t first_end = text.find('\n');
    int version = 0;
    if (first_end == std::string_view::npos || !Number(text.substr(kHeading.size(), first_end - kHeading.size()), version))
        return AtLine(1, "not a KVT table in progress");
    if (version < 1 || version > kTableSaveVersion)
        return AtLine(1, "a table of format " + std::to_string(version) + "; this version of KVT reads formats 1 to " +
                             std::to_string(kTableSaveVersion));
    // The end line and its hash first: nothing of a damaged file is believed.
    const std::size_t end_at = text.rfind("\nend ");
    std::uint64_t hash = 0;
    if (end_at == std::string_view::npos || text.back() != '\n' ||
        !Hash(text.substr(end_at + 5, text.size() - end_at - 6), hash))
        return Status::Fail("the file is cut off (no end line)");
    if (hash != Fnv1a64(text.substr(0, end_at + 1))) return Status::Fail("the file is damaged (its hash differs)");

    SavedTable read;
    std::array<bool, 4> have_player{};
    OldSheet old_sheet;
    std::array<std::array<bool, 4>, kOldSheetRows> have_cell{};
    bool have_card_set = false;
    std::size_t number = 1;
    std::size_t start = first_end + 1;
    for (;; ++number) {
        if (start >= end_at + 1) return AtLine(number + 1, "the table is missing");
        const std::size_t eol = text.find('\n', start);
        std::string_view rest = text.substr(start, eol - start);
        start = eol + 1;
        const std::string_view key = TakeWord(rest);
        if (key == "table") break;
        if (key == "card-set") {
            if (have_card_set || !Hash(TakeWord(rest), read.card_set_hash) || !Unescaped(rest, read.card_set_title, kMaxName))
                return AtLine(number + 1, "\"card-set\" wants a hash and a title, once");
            have_card_set = true;
        } else if (key == "player") {
            std::size_t seat = 0;
            if (!Number(TakeWord(rest), seat) || seat < 1 || seat > 4 || have_player[seat - 1] ||
                !Hash(TakeWord(rest), read.player_hashes[seat - 1]) || !Unescaped(rest, read.player_names[seat - 1], kMaxName))
                return AtLine(number + 1, "\"player\" wants a seat 1-4, a hash and a name, once each");
            have_player[seat - 1] = true;
        } else if (key == "sheet" && version == 1) {
            // The strike marks are those of the rows' order; only the totals are kept.
            std::size_t row = 0, seat = 0;
            int struck = 0;
            if (!Number(TakeWord(rest), row) || row >= kOldSheetRows || !Number(TakeWord(rest), seat) || seat < 1 ||
                seat > 4 || !Number(TakeWord(rest), struck) || struck < 0 || struck > 1 || have_cell[row][seat - 1])
                return AtLine(number + 1, "\"sheet\" wants a row 0-9, a seat 1-4 and a strike mark 0 or 1, once each");
            std::string& cell = old_sheet[row][seat - 1];
            std::int16_t total = 0;
            if (!Unescaped(rest, cell, 32) || (cell.find_first_not_of(' ') != std::string::npos && !Number(cell, total)))
                return AtLine(number + 1, "a score sheet cell is not a total or a blank");
            have_cell[row][seat - 1] = true;
        } else {
            return AtLine(number + 1, "\"" + std::string(key.substr(0, 40)) + "\" is not a line of a table in progress");
        }
    }
    if (!have_card_set || have_player != std::array<bool, 4>{true, true, true, true})
        return Status::Fail("the card set or a player is missing");
    if (Status s = ReadTableState(std::string(text.substr(start, end_at + 1 - start)), read.state); !s)
        return Status::Fail("the table: " + s.message());
    if (version == 1) TakeOldSheet(old_sheet, read.state);
    saved = std::move(read);
    return Status::Ok();
}

}  // namespace kvt
