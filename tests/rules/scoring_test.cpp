#include <gtest/gtest.h>

#include "engine/player_sounds.h"
#include "engine/game_over.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Scoring : public ::testing::Test {
protected:
    RulesTable table{SampleCardSet()};
    Game& game = *table.game;

    // Hands whose values add up to the given penalties (0: an empty hand).
    void Hands(int p1, int p2, int p3, int p4) {
        std::vector<std::vector<Card>> hands;
        for (int v : {p1, p2, p3, p4}) hands.push_back(v > 0 ? std::vector<Card>{C(1, v)} : std::vector<Card>{});
        SetTable(game, hands, {C(1, 1)}, {});
    }
};

TEST_F(Scoring, RowsStrikesAndTheTenthRoundScrolls) {
    Hands(5, 0, 7, 9);
    game.CountRound();
    Hands(0, 3, 1, 1);
    game.CountRound();
    // Player 1 went out: no penalty, still a row.
    EXPECT_EQ(std::tuple(game.Sheet().Cell(1, 1), game.Sheet().Cell(1, 2), game.Sheet().Struck(0, 4), game.Sheet().Struck(1, 4)),
              std::tuple("5", "3", true, false));
    for (int round = 3; round <= 10; ++round) {
        Hands(1, 1, 1, 1);
        game.CountRound();
    }
    EXPECT_EQ(game.RoundNum, 9);
    // The first row scrolled away.
    EXPECT_EQ(std::tuple(game.Sheet().Cell(0, 2), game.Sheet().Cell(8, 1), game.Sheet().Cell(9, 1)), std::tuple("3", "13", " "));
    EXPECT_EQ(std::tuple(game.Sheet().Struck(7, 1), game.Sheet().Struck(8, 1)), std::tuple(true, false));
    game.NewGame();
    Hands(1, 1, 1, 1);
    game.CountRound();
    EXPECT_EQ(game.Sheet().Cell(1, 1), " ") << "a new game starts a blank sheet";
}

TEST_F(Scoring, AboveFiveHundredEndsTheGameTheLowestWinsTiesToTheLowerSeat) {
    using Scores = std::array<std::int16_t, 5>;
    const struct {
        Scores before;
        std::array<int, 4> hands;
        int winner;  // 0: the game goes on
        Scores after;
    } cases[] = {
        {{0, 0, 490, 0, 0}, {1, 10, 1, 1}, 0, {0, 1, 500, 1, 1}},  // exactly 500
        {{0, 0, 500, 0, 0}, {0, 1, 0, 0}, 1, {0, 0, 501, 0, 0}},
        {{0, 600, 300, 40, 40}, {0, 0, 0, 0}, 3, {0, 600, 300, 40, 40}},  // a tie: the lower seat
        {{0, 600, 300, 40, 39}, {0, 0, 0, 0}, 4, {0, 600, 300, 40, 39}},  // the last seat wins too
        // Totals saturate, and somebody always wins.
        {{0, 32000, 32000, 32000, 32000}, {30000, 500, 30000, 30000}, 2, {0, 32767, 32500, 32767, 32767}},
    };
    for (const auto& c : cases) {
        game.Scores = c.before;
        game.Winner = 0;
        Hands(c.hands[0], c.hands[1], c.hands[2], c.hands[3]);
        EXPECT_EQ(game.CountRound(), c.winner > 0) << c.winner;
        EXPECT_EQ(std::tuple(game.Winner, game.Scores), std::tuple(c.winner, c.after));
    }
    EXPECT_FALSE(game.CountRound()) << "not counted twice";
    EXPECT_EQ(game.Scores, cases[4].after);
}

TEST_F(Scoring, RoundsOpenWithOneTwoThreeFourOneWhateverTheDirectionAndViewingShowsThem) {
    game.PlayReversed = 1;
    std::vector<int> openers{1};
    for (int round = 0; round < 4; ++round) {
        Hands(1, 1, 1, 1);
        EXPECT_EQ(game.RoundOver(FirstDiscardRule::kWild).RoundNum, round + 1);
        openers.push_back(game.CurPlayer);
    }
    EXPECT_EQ(openers, (std::vector<int>{1, 2, 3, 4, 1}));
    // Every round was dealt, the direction kept.
    EXPECT_EQ(std::tuple(table.view.load_problems, game.PlayReversed), std::tuple(0, 1));
    table.view.calls.clear();
    const ScoreRows rows = game.SheetRows;
    const Game::SheetRead read = game.ViewScore();
    // Viewing counts nothing, but its OK moves the starter on.
    EXPECT_EQ(std::tuple(game.RoundNum, game.StartPlayer), std::tuple(4, 2));
    EXPECT_EQ(std::tuple(read.rows, read.winner, table.view.calls.empty()), std::tuple(rows, 0, true));
    // Viewing before the first round shows a blank sheet, after it the rounds.
    for (const int round : {0, 1}) {
        game.RoundNum = static_cast<std::int16_t>(round);
        game.Winner = 0;
        game.SheetRows.totals[0][0] = 12;
        game.SheetRows.count = 1;
        game.ViewScore();
        EXPECT_EQ(game.Sheet().Cell(0, 1), round == 0 ? " " : "12") << "round " << round;
    }
}

TEST_F(Scoring, GameOverPresentsEveryPlayerThenTheOkStartsAFreshGame) {
    for (int p = 1; p <= 4; ++p) game.Scores[p] = static_cast<std::int16_t>(p == 4 ? 498 : 100);
    Hands(1, 2, 3, 4);
    const RoundResult r = game.RoundOver(FirstDiscardRule::kWild);
    EXPECT_EQ(std::tuple(r.Winner, r.Totals[4]), std::tuple(1, 502));
    const std::vector<std::string> expected{
        "OpenScoreSheet 1",   "ShowGameOver 1",    "GameOverPicture 1 player.bmp", "PlayClip wg1.wav",
        "GameOverPicture 2 player.bmp", "PlayClip lg1.wav", "GameOverPicture 3 player.bmp",
        "PlayClip lg1.wav",   "GameOverPicture 4 player.bmp", "PlayClip lg1.wav", "WaitGameOverClosed"};
    ASSERT_GE(table.view.calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(table.view.calls.begin(), table.view.calls.begin() + expected.size()), expected);
    EXPECT_EQ(std::tuple(game.Scores, game.Winner, game.RoundNum, game.SheetRows.count),
              std::tuple(std::array<std::int16_t, 5>{}, 0, 0, 0));
    // A card set that deals nothing leaves the table empty and the round over.
    game.ReloadEachRound = false;
    game.CardSet = CardSetDef{};
    Hands(1, 2, 3, 4);
    game.CurPlayer = -1;  // a hand ran out: nobody is on turn
    game.RoundOver(FirstDiscardRule::kWild);
    EXPECT_TRUE(game.RoundEnded && AllCards(game).empty());
    EXPECT_EQ(game.CurPlayer, game.StartPlayer) << "a seat on turn all the same";
    // The pictures and clips are found whatever their case.
    const auto folder = table.temp.Path() / "Player3";
    WriteBytes(folder / "Player.bmp", "BM");
    WriteBytes(folder / "WG1.WAV", "RIFF");
    EXPECT_EQ(std::tuple(GameOverFilesFor(folder, true).Picture, GameOverFilesFor(folder, true).Clip),
              std::tuple(folder / "Player.bmp", folder / "WG1.WAV"));
    EXPECT_EQ(GameOverFilesFor(folder, false).Clip, folder / "lg1.wav") << "missing: the path as asked";
    EXPECT_EQ(game.PlayerFolder(1), table.folders.SharedData / "player1");
    game.HumanDir = folder;
    EXPECT_EQ(game.PlayerFolder(1), folder);
}

TEST_F(Scoring, PlayerSoundsChanceVariantAndFile) {
    EXPECT_EQ(std::tuple(SoundEventName(0), SoundEventName(1), SoundEventName(2), SoundEventName(11), SoundEventName(12)),
              std::tuple("", "Sel", "Comment", "Rev", ""));
    auto plays = [&](int chance, bool test, int tries) {
        for (int p = 1; p <= 4; ++p) game.PlayerInfo[p].SoundChance = static_cast<std::int16_t>(chance);
        int n = 0;
        for (int i = 0; i < tries; ++i) {
            int who = 4;
            n += game.PlayPlayerSound(8, test, who);
        }
        return n;
    };
    std::map<int, int> variants;
    game.SetEventListener([&variants](const Event& e) { variants[e.kind == EventKind::SoundCue ? e.variant : 0]++; });
    EXPECT_EQ(plays(100, false, 20), 0) << "sounds are off";
    game.PlayerSounds = true;
    EXPECT_EQ(plays(2, true, 500), 0);
    EXPECT_EQ(plays(3, false, 50), 50) << "without the test, anything above 2 speaks";
    const int often = plays(100, true, 9900);
    EXPECT_GT(often, 9700);
    EXPECT_LT(often, 9900);
    EXPECT_NEAR(plays(51, true, 9900), 4900, 300);
    EXPECT_EQ(variants.size(), 3u) << "every event a cue of variant 1..3";
    for (int variant = 1; variant <= 3; ++variant) EXPECT_GT(variants[variant], 1000);
    // The cue's clip: the player's file of that kind and variant, whatever its case.
    const fs::path folder = table.folders.SharedData / "voice";
    fs::create_directories(folder);
    WriteBytes(folder / "passl2.WAV", "RIFF");
    game.PlayerDir[4] = folder;
    Event cue = Event::Of(EventKind::SoundCue, 4, 8);
    cue.variant = 2;
    EXPECT_EQ(std::tuple(game.VoiceClip(cue), game.VoiceClip(Event::Of(EventKind::DeckShuffled, 4, 8))),
              std::tuple(folder / "passl2.WAV", fs::path()));
    int who = 0;
    std::map<int, int> chosen;
    for (int i = 0; i < 600; ++i, who = 0) {
        game.PlayPlayerSound(2, true, who);
        ++chosen[who];
    }
    EXPECT_EQ(chosen.size(), 3u) << "player 0: one of the opponents";
    EXPECT_EQ(chosen.count(1), 0u);
}

}  // namespace
}  // namespace kvt::test
