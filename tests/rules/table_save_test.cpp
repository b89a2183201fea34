// The game in progress kept between runs: written and read back whole, and
// anything cut, changed or foreign refused without touching what was there.
#include <gtest/gtest.h>

#include "formats/table_save.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

SavedTable Saved() {
    RulesTable table(FourWindsLikeSet(), 5);
    SavedTable saved;
    saved.card_set_hash = 0x0123456789abcdefull;
    saved.card_set_title = "Four \\ Winds\n";
    saved.player_names = {"Tester", "Amara", "", "Cy  "};
    saved.player_hashes = {1, 2, 3, ~0ull};
    saved.sheet[0][1] = {"17", true};
    saved.sheet[9][3] = {"-5", false};
    saved.state = table.game->State();
    return saved;
}

TEST(TableSave, WrittenAndReadIsTheSameTable) {
    const SavedTable saved = Saved();
    SavedTable read;
    ASSERT_TRUE(ReadSavedTable(WriteSavedTable(saved), read).ok());
    EXPECT_EQ(read, saved);
}

TEST(TableSave, ACutChangedOrForeignTextIsRefusedAndLeavesTheTableAsItWas) {
    const std::string text = WriteSavedTable(Saved());
    std::string changed = text;
    changed[text.find("hand1") + 7] ^= 1;
    std::string unsealed = text.substr(0, text.rfind("end "));
    unsealed += "end 0000000000000000\n";
    const struct {
        const char* what;
        std::string text;
        const char* says;
    } cases[] = {
        {"empty", "", "not a KVT table"},
        {"a game record", "KVT game record 1.0\n", "not a KVT table"},
        {"a later format", "KVT table in progress 2\n" + text.substr(text.find('\n') + 1), "format 2"},
        {"cut off", text.substr(0, text.size() / 2), "cut off"},
        {"one bit changed", changed, "damaged"},
        {"another hash", unsealed, "damaged"},
        {"too large", std::string(kMaxTableSaveBytes + 1, 'x'), "larger"},
    };
    for (const auto& c : cases) {
        SavedTable read = Saved();
        read.card_set_title = "kept";
        const Status status = ReadSavedTable(c.text, read);
        ASSERT_FALSE(status.ok()) << c.what;
        EXPECT_NE(status.message().find(c.says), std::string::npos) << c.what << ": " << status.message();
        EXPECT_EQ(read.card_set_title, "kept") << c.what;
    }
}

}  // namespace
}  // namespace kvt::test
