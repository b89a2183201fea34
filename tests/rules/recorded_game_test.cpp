// Seeded games written down call by call: what the table showed for the
// rules' events and the person's clicks, and the events themselves. Any change to what the rules do or show changes
// the record, and the first line that differs says where. After a deliberate
// change, KVT_WRITE_RECORD=1 writes the record afresh (review its diff).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/working_files.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

std::string SpotText(Spot s) { return std::to_string(static_cast<int>(s.place)) + "." + std::to_string(s.seat); }

std::string EventText(const Event& e) {
    std::ostringstream out;
    out << "event " << static_cast<int>(e.kind) << " " << SpotText(e.from) << ">" << SpotText(e.to) << " seat "
        << e.seat << " n " << e.number << " v " << e.variant << " " << RulesView::Name(e.card);
    if (e.kind == EventKind::RoundEnded)
        for (int p = 1; p <= 4; ++p) out << " " << e.scores[static_cast<std::size_t>(p)];
    return out.str();
}

// Moves the view's calls since the last look into the record, then the events.
void Take(RulesView& view, std::vector<std::string>& record, const Events& events = {}) {
    record.insert(record.end(), view.calls.begin(), view.calls.end());
    view.calls.clear();
    for (const Event& e : events) record.push_back(EventText(e));
}

// Every seat a computer, with the events of each turn.
std::vector<std::string> ComputersPlay(const CardSetDef& set, int rounds) {
    RulesTable table(set, 11);
    Game& game = *table.game;
    GiveTraits(game, true);
    game.ComputerSeat1 = true;
    std::vector<std::string> record;
    // The set loaded as the Load Card Set command does, and dealt.
    record.push_back("load -> " + std::to_string(game.LoadCardSetCommand(table.folders.SharedData / files::kDefaultCardSet).ok()));
    Take(table.view, record);
    Events events;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; !game.RoundEnded && turn <= 2000; ++turn) {
            record.push_back("turn of " + std::to_string(game.CurPlayer));
            game.PlayComputerTurn(events);
            Take(table.view, record, events);
        }
        game.RoundOver(game.NextDealRule, events);
        Take(table.view, record, events);
    }
    return record;
}

// The human plays by clicks (HumanClickStep).
std::vector<std::string> HumanPlays(const CardSetDef& set, int rounds) {
    RulesTable table(set, 5);
    Game& game = *table.game;
    GiveTraits(game, true);
    std::vector<std::string> record;
    const auto note = [&](const std::string& click, HumanMove result) {
        Take(table.view, record);
        record.push_back(click + " -> " + std::to_string(static_cast<int>(result)));
    };
    PlayByClicks(game, table.view, rounds, note);
    Take(table.view, record);
    return record;
}

TEST(RecordedGames, PlayAsWrittenDown) {
    std::vector<std::string> record;
    for (const auto& [name, set] : {std::pair{"every action", EveryActionSet()}, {"four winds", FourWindsLikeSet()}}) {
        record.push_back(std::string("--- computers, ") + name);
        const std::vector<std::string> computers = ComputersPlay(set, 6);
        record.insert(record.end(), computers.begin(), computers.end());
        record.push_back(std::string("--- the human, ") + name);
        const std::vector<std::string> human = HumanPlays(set, 4);
        record.insert(record.end(), human.begin(), human.end());
    }

    const char* path = KVT_RECORDED_GAMES;
    if (std::getenv("KVT_WRITE_RECORD")) {
        std::ofstream out(path, std::ios::trunc);
        for (const std::string& line : record) out << line << '\n';
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << "no record at " << path;
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);) expected.push_back(line);
    for (std::size_t i = 0; i < std::min(record.size(), expected.size()); ++i)
        ASSERT_EQ(record[i], expected[i]) << "line " << i + 1 << " of " << path;
    EXPECT_EQ(record.size(), expected.size());
}

}  // namespace
}  // namespace kvt::test
