#include <gtest/gtest.h>

#include "platform/paths.h"
#include "test_support.h"

// The card sets of extreme shape that the soak plays: kvt-soak-sets writes
// valid files of the promised shape, and hundreds of checked computer games
// on each end without a fault or a stall.
namespace kvt::test {
namespace {

class ExtremeSets : public ::testing::Test {
protected:
    void SetUp() override {
        const ProgramRun run = RunProgram(KVT_SOAK_SETS_PROGRAM, {(temp / "sets").string()}, temp.Path());
        ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
    }

    fs::path Set(const std::string& name) const { return temp / "sets" / (name + ".cds"); }

    CardSetDef Read(const std::string& name) const {
        const std::string bytes = ReadBytes(Set(name));
        CardSetFile file;
        const Status s = DecodeCardSetFile(bytes, file);
        EXPECT_TRUE(s.ok()) << name << ": " << s.message();
        EXPECT_LT(bytes.size(), 8192u) << name << " carries a tiny bitmap";
        EXPECT_GE(FindDefinition(file.Def, kActionCardBack), 0) << name;
        return file.Def;
    }

    TempDir temp;
    const std::vector<std::string> names{"one-group", "actions-only", "deck-401", "deck-29", "all-wild", "far-groups"};
};

bool EveryDealt(const CardSetDef& def, bool (*pred)(const Card&)) {
    return std::all_of(def.CardDefs.begin(), def.CardDefs.end(), [&](const Card& c) { return !IsDealt(c) || pred(c); });
}

TEST_F(ExtremeSets, AreValidFilesOfTheirShape) {
    EXPECT_TRUE(EveryDealt(Read("one-group"), [](const Card& c) { return c.Group == 1; }));
    EXPECT_TRUE(EveryDealt(Read("actions-only"), [](const Card& c) { return c.Action != kActionDiscard || c.ActionCount > 0; }));
    EXPECT_EQ(DeckSize(Read("deck-401")), CardStack::Capacity);
    EXPECT_EQ(DeckSize(Read("deck-29")), kMinDeckSize);
    EXPECT_TRUE(EveryDealt(Read("all-wild"), [](const Card& c) { return c.IsWild(); }));
    const CardSetDef far = Read("far-groups");
    for (int group : {31, 255, 32767, -1, -32768})
        EXPECT_TRUE(std::any_of(far.CardDefs.begin(), far.CardDefs.end(), [&](const Card& c) { return c.Group == group; }));
    EXPECT_FALSE(EveryDealt(far, [](const Card& c) { return c.Value >= 0; }));
}

TEST_F(ExtremeSets, TwoHundredCheckedGamesOnEachEndCleanly) {
    const fs::path players = DefaultFolders().SharedData / "players";
    for (const std::string& name : names) {
        const ProgramRun run = RunProgram(KVT_SIM_PROGRAM,
                                          {"--check", "--json", "--games", "200", "--seed", "1", "--cards",
                                           Set(name).string(), "--players", (players / "Amara.dpf").string(),
                                           (players / "Ingrid.dpf").string(), (players / "Mateo.dpf").string()},
                                          temp.Path());
        EXPECT_EQ(run.exit_code, 0) << name << ": " << run.out << run.err;
        EXPECT_NE(run.out.find("{\"games\":200,"), std::string::npos) << name << ": " << run.out;
        // Two computers handing the same two cards back and forth used to
        // keep a round of the smallest deck going for ever.
        EXPECT_TRUE(name != "deck-29" || run.out.find("\"stuckRounds\":0,") == std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace kvt::test
