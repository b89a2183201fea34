// Game records read from arbitrary bytes.
//
// Promises checked: a refused record leaves the output alone and says which
// line is wrong; an accepted one writes back to text that reads into an
// equal record and writes back to the very same text.

#include "formats/game_record.h"
#include "fuzz/fuzz_targets.h"

namespace kvt::fuzz {
namespace {

constexpr const char* kName = "game_record_read";

void Require(bool condition, const std::string& what) { KVT_FUZZ_CHECK(condition, kName, what); }

GameRecord Sentinel() {
    GameRecord record;
    record.card_set_title = "untouched";
    record.seed = 77;
    record.moves.push_back({});
    return record;
}

}  // namespace

int GameRecordRead(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    GameRecord record = Sentinel();
    const Status read = ReadGameRecord(input, record);
    if (!read) {
        Require(record == Sentinel(), "a refused record changed the output");
        Require(read.message().rfind("line ", 0) == 0 || read.message().rfind("the record", 0) == 0,
                "a refusal that names no line: " + read.message());
        return 0;
    }
    const std::string written = WriteGameRecord(record);
    GameRecord again;
    const Status reread = ReadGameRecord(written, again);
    Require(reread.ok(), "a written record is refused: " + reread.message());
    Require(again == record, "a written record reads back different");
    Require(WriteGameRecord(again) == written, "a record written twice differs at byte " +
                                                   std::to_string(FirstDifference(WriteGameRecord(again), written)));
    return 0;
}

}  // namespace kvt::fuzz
