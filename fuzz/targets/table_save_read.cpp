// The game in progress read from arbitrary bytes.
//
// Promises checked: a refused file leaves the output alone; an accepted one
// writes back to the very same text.

#include "formats/table_save.h"
#include "fuzz/fuzz_targets.h"

namespace kvt::fuzz {
namespace {

constexpr const char* kName = "table_save_read";

void Require(bool condition, const std::string& what) { KVT_FUZZ_CHECK(condition, kName, what); }

SavedTable Sentinel() {
    SavedTable saved;
    saved.card_set_title = "untouched";
    saved.player_hashes[2] = 77;
    return saved;
}

}  // namespace

int TableSaveRead(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    SavedTable saved = Sentinel();
    if (!ReadSavedTable(input, saved)) {
        Require(saved == Sentinel(), "a refused file changed the output");
        return 0;
    }
    const std::string written = WriteSavedTable(saved);
    SavedTable again;
    Require(ReadSavedTable(written, again).ok(), "a written table is refused");
    Require(again == saved, "a written table reads back different");
    Require(WriteSavedTable(again) == written, "a table written twice differs");
    return 0;
}

}  // namespace kvt::fuzz
