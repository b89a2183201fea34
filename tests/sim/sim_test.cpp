#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include <unistd.h>

#include "platform/paths.h"
#include "rules/rules_support.h"
#include "tools/sim/checker.h"
#include "tools/sim/record_run.h"
#include "tools/sim/simulation.h"

// Runs kvt-sim as a user would and looks at what it prints and returns.
namespace kvt::test {
namespace {

using SimRun = kvt::test::ProgramRun;  // `out` holds stdout and stderr together

SimRun Sim(const std::string& args, bool no_time = true) {
    static const kvt::test::TempDir scratch;
    const std::string command =
        std::string(no_time ? "KVT_SIM_NO_TIME=1 " : "") + "'" + KVT_SIM_PROGRAM + "' " + args;
    return kvt::test::RunProgram("sh", {"-c", command + " 2>&1"}, scratch.Path());
}

// The statistics themselves, text and JSON, are pinned by game_baselines.sh.
TEST(Sim, HundredsOfCheckedGamesBreakNothingAFixedRunKeepsItsSignatureAndProgressAndTimingAreToldAsAsked) {
    for (const char* seed : {"1", "2", "3"}) {
        const SimRun run = Sim(std::string("--check --games 100 --seed ") + seed);
        EXPECT_EQ(run.exit_code, 0) << "seed " << seed << ": " << run.out;
        EXPECT_NE(run.out.find("games                    100\n"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("wall time"), std::string::npos) << "KVT_SIM_NO_TIME leaves the timing out";
    }
    const SimRun progress = Sim("--games 5 --seed 5 --signature --progress");
    for (const char* line : {"progress 1 5\n", "progress 5 5\n"}) EXPECT_NE(progress.out.find(line), std::string::npos) << progress.out;
    const SimRun run = Sim("--signature --games 50 --seed 2026", false);
    ASSERT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(run.out, "11184471628545362583\n");  // other seeds' signatures: game_baselines.sh
    const SimRun timed = Sim("--games 2", false);
    EXPECT_NE(timed.out.find("games per second"), std::string::npos) << "timing unless turned off: " << timed.out;
}

TEST(Sim, BadArgumentsExitTwoAndMissingFilesOneWithAMessage) {
    for (const char* args : {"--bogus", "--games", "--games 0", "--games ten", "--seed -1", "--players a.dpf b.dpf",
                             "--players a b c d e", "--jobs 0", "--jobs two", "--record r --games 2",
                             "--record r --replay q", "--replay"}) {
        const SimRun run = Sim(args);
        EXPECT_EQ(run.exit_code, 2) << args;
        EXPECT_NE(run.out.find("kvt-sim: "), std::string::npos) << args << ": " << run.out;
    }
    EXPECT_EQ(Sim("--help").exit_code, 0);
    EXPECT_EQ(Sim("--version").out, "kvt-sim 0.1.0\n");
    // A missing card set or player file exits 1 naming it, its control bytes spelled out.
    for (const auto& [args, named] : {std::pair{"--cards '/nonexistent/lo\x1b[2Jst.cds'", "/nonexistent/lo\\x1B[2Jst.cds"},
                                      {"--players /nonexistent/a.dpf /x/b.dpf /x/c.dpf", "/nonexistent/a.dpf"}}) {
        const SimRun run = Sim(args);
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_NE(run.out.find(named), std::string::npos) << run.out;
    }
    const kvt::test::TempDir scratch;
    const SimRun no_temp = RunProgram("env", {"TMPDIR=/nonexistent", KVT_SIM_PROGRAM, "--games", "2"}, scratch.Path());
    EXPECT_EQ(std::tuple(no_temp.exit_code, no_temp.err.find("(TMPDIR)") != std::string::npos), std::tuple(1, true))
        << no_temp.err;
}

// The same seed plays the same games byte for byte, on any number of threads,
// added up and traced in the same order; the trace has a line per move and per round.
TEST(Sim, AnyNumberOfThreadsGivesTheSameOutput) {
    const kvt::test::TempDir temp;
    const std::filesystem::path file = temp / "trace.jsonl";
    SimRun run;
    const auto output = [&](const std::string& args, const char* jobs) {
        run = Sim(args + " --jobs " + jobs + " --trace '" + file.string() + "'");
        return std::to_string(run.exit_code) + run.out + kvt::test::ReadBytes(file);
    };
    for (const std::string args : {"--games 5 --seed 9 --json", "--games 6 --signature", "--games 7 --seed 3 --check"}) {
        const std::string one = output(args, "1");
        EXPECT_EQ(one.rfind("0", 0), 0u) << one.substr(0, 200);
        for (const char* jobs : {"3", "2", "1"}) EXPECT_EQ(output(args, jobs), one) << args << " --jobs " << jobs;
    }
    std::ifstream in(file);
    int moves = 0, rounds = 0, passes = 0;
    const std::string card = "{\"Group\":";
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(line.front() == '{' && line.back() == '}') << line;
        if (line.find("\"scores\"") != std::string::npos) {
            ++rounds;
            EXPECT_NE(line.find("\"winner\":"), std::string::npos) << line;
            continue;
        }
        ++moves;
        // Every card is a whole record, the hand is the whole hand, the choice a slot.
        for (const std::string& field : std::vector<std::string>{"\"top\":" + card, "\"hand\":[" + card, "\"drawn\":[",
                                                                "\"traits\":[", "\"maxOtherHand\":", "\"next\":",
                                                                "\"counts\":[", "\"Playable\":"})
            EXPECT_NE(line.find(field), std::string::npos) << field << " in " << line;
        const bool passed = line.find("\"played\":null") != std::string::npos;
        passes += passed;
        EXPECT_TRUE(passed || line.find("\"played\":" + card) != std::string::npos) << line;
        EXPECT_EQ(line.find("\"chosen\":\""), std::string::npos) << "a slot, not a card: " << line;
    }
    EXPECT_TRUE(rounds > 0 && moves > rounds * 4 && passes < moves) << rounds << " " << moves << " " << passes;
    EXPECT_NE(run.out.find("rounds                   " + std::to_string(rounds) + "\n"), std::string::npos) << run.out;
}

// Short of threads (a process limit), a run plays on those it could start,
// to the same games; with none it says so. The limit holds only for a user
// of its own, which only root can become.
TEST(Sim, ARunShortOfThreadsPlaysTheSameGamesOnThoseItHas) {
    const kvt::test::TempDir temp;
    const std::filesystem::path home = temp / "home";
    std::filesystem::create_directory(home);
    std::filesystem::permissions(home, std::filesystem::perms::all);
    const std::string user = std::to_string(40000 + ::getpid() % 20000);
    const auto run_as_user = [&](const std::string& processes, const std::vector<std::string>& command) {
        std::vector<std::string> args{"XDG_DATA_HOME=" + home.string(), "XDG_CONFIG_HOME=" + home.string(),
                                      "TMPDIR=" + home.string(), "prlimit", "--nproc=" + processes + ":" + processes,
                                      "setpriv", "--reuid=" + user, "--regid=" + user, "--clear-groups"};
        args.insert(args.end(), command.begin(), command.end());
        return RunProgram("env", args, temp.Path());
    };
    if (::geteuid() != 0 || run_as_user("100", {"true"}).exit_code != 0) GTEST_SKIP() << "needs root";
    const std::vector<std::string> sim{KVT_SIM_PROGRAM, "--games", "50", "--seed", "2026", "--jobs", "4", "--signature"};
    for (const char* processes : {"2", "3"})
        EXPECT_EQ(run_as_user(processes, sim).out, "11184471628545362583\n") << processes;
    const SimRun none = run_as_user("1", sim);
    EXPECT_EQ(std::tuple(none.exit_code, none.err.find("kvt-sim: cannot start a thread") == 0), std::tuple(1, true)) << none.err;
}

// The simulator's table on the shipped files, and the players a record of it names.
class SimRecord : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(simulation.Setup(kvt::sim::Options{}).ok());
        ASSERT_TRUE(kvt::sim::RecordIdentity(kvt::sim::Options{}, shared, simulation.Table(), identity).ok());
    }
    const std::filesystem::path shared = kvt::DefaultFolders().SharedData;
    kvt::sim::WorkFolder work;
    kvt::sim::Simulation simulation{work.Path(), shared, 1};
    kvt::GameRecord identity;
};
using SimChecker = SimRecord;

TEST_F(SimChecker, NoticesALostCardAnExtraCardASeatOffTheTableAndAWrongTotal) {
    kvt::Game& game = simulation.Table();
    kvt::sim::Checker checker;
    checker.StartRound(game);
    checker.StartGame(game);
    EXPECT_EQ(checker.AfterMove(game), "");
    const kvt::Card lost = game.Players[2].RemoveAt(0);
    const std::string lost_one = checker.AfterMove(game);
    game.Players[2].Push(lost);
    game.Players[3].Push(lost);
    for (const std::string& said : {lost_one, checker.AfterMove(game)}) EXPECT_NE(said.find("cards not conserved"), std::string::npos);
    ++game.GroupCardsAdded;  // a wild card's group card accounts for it
    EXPECT_EQ(checker.AfterMove(game), "");
    game.CurPlayer = 5;
    EXPECT_EQ(checker.AfterMove(game), "CurPlayer is 5");
    // Each total moves by the values left in the hand, negative ones included.
    std::array<std::int16_t, 5> totals{0, 10, 20, -4, 5};
    for (int p = 1; p <= 4; ++p) {
        game.Players[p].Clear();
        game.Players[p].Push(kvt::test::Def(0, totals[p], 0, 0, 0));
    }
    checker.BeforeScoring(game);
    EXPECT_EQ(checker.AfterScoring(totals), "") << "a total may fall";
    checker.BeforeScoring(game);
    totals = {0, 20, 40, -8, 9};
    EXPECT_EQ(checker.AfterScoring(totals), "score of seat 4 went from 5 to 9, but its hand counted 5");
}

// A game recorded by the simulator replays; with another card set or other
// players at hand, or a changed move, it is refused saying why.
TEST(Sim, ARecordedGameReplaysAndAForeignOneIsRefused) {
    TempDir temp;
    const std::string record = "'" + (temp.Path() / "game.kvtr").string() + "'";
    const SimRun played = Sim("--seed 8");
    const SimRun recorded = Sim("--seed 8 --record " + record);
    ASSERT_EQ(recorded.exit_code, 0) << recorded.out;
    EXPECT_EQ(recorded.out, played.out) << "recording changes nothing the run prints";
    const SimRun replayed = Sim("--replay " + record);
    EXPECT_EQ(replayed.exit_code, 0) << replayed.out;
    EXPECT_NE(replayed.out.find("game.kvtr\": OK, "), std::string::npos) << replayed.out;

    const fs::path other = WriteCardSet(temp / "other.cds", SampleCardSetFile(SampleCardSet()));
    const fs::path players = kvt::DefaultFolders().SharedData / "players";
    const std::string amara = "'" + (players / "Amara.dpf").string() + "' ";
    const std::string oona = "'" + (players / "Oona.dpf").string() + "' ";
    std::string text = ReadBytes(temp.Path() / "game.kvtr");
    WriteBytes(temp.Path() / "damaged.kvtr", text.replace(text.find("move "), 5, "mvoe "));
    const std::pair<std::string, const char*> refused[] = {
        {record + " --cards '" + other.string() + "'", "the record was played with the card set"},
        {record + " --players " + oona + amara + amara, "the player of seat 2 differs: the record has \"Amara\""},
        {"'" + (temp.Path() / "damaged.kvtr").string() + "'", "is damaged"},
    };
    for (const auto& [args, says] : refused) {
        const SimRun run = Sim("--replay " + args);
        EXPECT_EQ(run.exit_code, 1) << args;
        EXPECT_NE(run.out.find(says), std::string::npos) << run.out;
    }
}

// Thousands of seeded games, each recorded with the totals the run plays, read
// back and replayed to the same table.
TEST_F(SimRecord, SeededGamesRecordTheRunsGamesAndReplayToTheSameTable) {
    for (long game = 1; game <= 2000; ++game) {
        const std::uint64_t seed = sim::GameSeed(1, game);
        const sim::GameResult played = simulation.PlayGame(game, seed, false, false);
        GameRecord record = identity;
        ASSERT_TRUE(sim::RecordGame(simulation, seed, record).ok());
        const std::string end = WriteTableState(simulation.Table().State());
        std::vector<std::int16_t> recorded, run;
        for (const RecordedMove& m : record.moves)
            if (m.scores) recorded.insert(recorded.end(), m.scores->begin(), m.scores->end());
        // Each round adds the four hands' sizes, then the four totals.
        for (std::size_t i = 0; i + 8 <= played.SignatureValues.size(); i += 8)
            run.insert(run.end(), played.SignatureValues.begin() + static_cast<long>(i) + 4,
                       played.SignatureValues.begin() + static_cast<long>(i) + 8);
        ASSERT_FALSE(run.empty());
        EXPECT_EQ(recorded, run) << "game " << game;
        GameRecord read;
        ASSERT_TRUE(ReadGameRecord(WriteGameRecord(record), read).ok());
        const Status replayed = sim::ReplayGame(simulation, identity, read);
        ASSERT_TRUE(replayed.ok()) << "game " << game << ": " << replayed.message();
        EXPECT_EQ(WriteTableState(simulation.Table().State()), end) << "game " << game;
    }
}

// A person's game on the simulator's table, played by clicks from a given
// table and recorded as the table records its own: kvt-sim replays it to the end.
TEST_F(SimRecord, APersonsGameFromAGivenTableReplays) {
    GameRecord record = identity;
    Game& game = simulation.Table();
    simulation.DealGame(sim::GameSeed(5, 1));
    game.ComputerSeat1 = false;
    game.PlayerSounds = true;
    record.human_seat = 1;
    record.start_table = WriteTableState(game.State());
    test::ComputersDriven computers(game);
    computers.driver.SetMoveListener(
        [&record](const Move& move, const Events& events) { AddToRecord(record, move, events); });
    MoveBeingBuilt person(game, computers.driver);
    int rounds = 0;
    for (int step = 0; step < 20000 && rounds < 3 && !HasFailure(); ++step) {
        rounds += game.Pending() == Decision::AcknowledgeScore;
        if (!test::DriveAllButTheClicks(game, computers.driver, computers.events)) test::HumanClickStep(game, person);
    }
    ASSERT_EQ(rounds, 3);
    const std::string end = WriteTableState(game.State());
    GameRecord read;
    ASSERT_TRUE(ReadGameRecord(WriteGameRecord(record), read).ok());
    const Status replayed = sim::ReplayGame(simulation, record, read);
    ASSERT_TRUE(replayed.ok()) << replayed.message();
    EXPECT_EQ(WriteTableState(simulation.Table().State()), end);
}

// The card sets of extreme shape that the soak plays: kvt-soak-sets writes
// valid files of the promised shape, and hundreds of checked computer games
// on each end without a fault or a stall.
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
    std::string three;
    for (const char* name : {"Amara", "Ingrid", "Mateo"}) three += " '" + (players / name).string() + ".dpf'";
    for (const std::string& name : names) {
        const SimRun run =
            Sim("--check --json --games 200 --seed 1 --cards '" + Set(name).string() + "' --players" + three);
        EXPECT_EQ(run.exit_code, 0) << name << ": " << run.out;
        EXPECT_NE(run.out.find("{\"games\":200,"), std::string::npos) << name << ": " << run.out;
        // Two computers handing the same two cards back and forth used to
        // keep a round of the smallest deck going for ever.
        EXPECT_TRUE(name != "deck-29" || run.out.find("\"stuckRounds\":0,") == std::string::npos) << run.out;
    }
}

}  // namespace
}  // namespace kvt::test
