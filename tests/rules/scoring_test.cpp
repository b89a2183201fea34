#include <gtest/gtest.h>

#include "actions/player_sounds.h"
#include "dialogs/game_over.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Scoring : public ::testing::Test {
protected:
    RulesTable table;
    Game& game = *table.game;

    // Hands whose values add up to the given penalties.
    void Hands(int p1, int p2, int p3, int p4) {
        std::vector<std::vector<Card>> hands;
        for (int v : {p1, p2, p3, p4}) hands.push_back(v > 0 ? std::vector<Card>{C(1, v)} : std::vector<Card>{});
        SetTable(game, hands, {C(1, 1)}, {});
    }
};

TEST_F(Scoring, AnEmptyHandScoresNothingButGetsARowAndStrikesTheLastOne) {
    Hands(5, 0, 7, 9);
    EXPECT_FALSE(game.CountRound());
    Hands(0, 3, 1, 1);
    EXPECT_FALSE(game.CountRound());
    EXPECT_EQ(game.RoundNum, 2);
    EXPECT_EQ(game.Sheet.Cell(0, 1), "5");
    EXPECT_EQ(game.Sheet.Cell(1, 1), "5");
    EXPECT_EQ(game.Sheet.Cell(1, 2), "3");
    EXPECT_EQ(game.Sheet.Cell(0, 2), "0");
    for (int p = 1; p <= 4; ++p) {
        EXPECT_TRUE(game.Sheet.Struck(0, p));
        EXPECT_FALSE(game.Sheet.Struck(1, p));
    }
    EXPECT_EQ(game.Sheet.Cell(2, 1), " ");
}

TEST_F(Scoring, TheTenthRoundScrollsTheSheet) {
    for (int round = 1; round <= 9; ++round) {
        Hands(1, 1, 1, 1);
        game.CountRound();
        EXPECT_EQ(game.RoundNum, round);
    }
    EXPECT_EQ(game.Sheet.Cell(8, 1), "9");
    EXPECT_EQ(game.Sheet.Cell(9, 1), " ");
    Hands(1, 1, 1, 1);
    game.CountRound();
    EXPECT_EQ(game.RoundNum, 9);
    EXPECT_EQ(game.Sheet.Cell(0, 1), "2");
    EXPECT_EQ(game.Sheet.Cell(7, 1), "9");
    EXPECT_EQ(game.Sheet.Cell(8, 1), "10");
    EXPECT_EQ(game.Sheet.Cell(9, 1), " ");
    EXPECT_TRUE(game.Sheet.Struck(7, 1));
    EXPECT_FALSE(game.Sheet.Struck(8, 1));
}

TEST_F(Scoring, FiveHundredGoesOnFiveHundredAndOneEndsTheGame) {
    game.Players[2].Score = 490;
    Hands(1, 10, 1, 1);
    EXPECT_FALSE(game.CountRound());
    EXPECT_EQ(game.Winner, 0);
    Hands(1, 1, 1, 1);
    EXPECT_TRUE(game.CountRound());
    EXPECT_EQ(game.Winner, 1);
}

TEST_F(Scoring, ATieForTheLowestTotalGoesToTheLowerSeat) {
    game.Players[1].Score = 600;
    game.Players[2].Score = 300;
    game.Players[3].Score = 40;
    game.Players[4].Score = 40;
    Hands(0, 0, 0, 0);
    EXPECT_TRUE(game.CountRound());
    EXPECT_EQ(game.Winner, 3);
}

TEST_F(Scoring, TotalsSaturateAndSomebodyAlwaysWins) {
    for (int p = 1; p <= 4; ++p) game.Players[p].Score = 32000;
    SetTable(game, {{C(1, 30000)}, {C(1, 500)}, {C(1, 30000)}, {C(1, 30000)}}, {C(1, 1)}, {});
    EXPECT_TRUE(game.CountRound());
    EXPECT_EQ(game.Players[1].Score, 32767);
    EXPECT_EQ(game.Players[2].Score, 32500);
    EXPECT_EQ(game.Winner, 2);
}

TEST_F(Scoring, TheStartingPlayerMovesOnInSeatOrder) {
    game.StartPlayer = 0;
    std::vector<int> starters;
    for (int round = 0; round < 5; ++round) {
        game.ScoreSheetOk();
        starters.push_back(game.StartPlayer);
    }
    EXPECT_EQ(starters, (std::vector<int>{2, 3, 4, 1, 2}));
}

TEST_F(Scoring, RoundsOpenWithOneThenTwoAndTheFifthWithOneAgainWhateverTheDirection) {
    game.PlayReversed = 1;
    std::vector<int> openers{1};
    for (int round = 0; round < 4; ++round) {
        Hands(1, 1, 1, 1);
        game.RoundOver(FirstDiscardRule::kWild);
        openers.push_back(game.CurPlayer);
    }
    EXPECT_EQ(openers, (std::vector<int>{1, 2, 3, 4, 1}));
    EXPECT_EQ(game.PlayReversed, 1) << "a new round keeps the direction";
}

TEST_F(Scoring, ViewScoreCountsNothingButItsOkMovesTheStarter) {
    Hands(5, 5, 5, 5);
    game.CountRound();
    game.StartPlayer = 3;
    table.view.calls.clear();
    game.ViewScore();
    EXPECT_EQ(game.RoundNum, 1);
    EXPECT_EQ(game.Players[1].Score, 5);
    EXPECT_EQ(game.StartPlayer, 4);
    EXPECT_FALSE(game.ScoreViewOnly);
    EXPECT_EQ(table.view.calls, (std::vector<std::string>{"OpenScoreSheet 0", "ShowScoreSheet 0"}));
}

TEST_F(Scoring, GameOverPresentsEveryPlayerThenTheOkStartsAFreshGame) {
    game.Players[4].Score = 498;
    game.Players[1].Score = 10;
    game.Players[2].Score = 100;
    game.Players[3].Score = 100;
    Hands(1, 2, 3, 4);
    const RoundResult r = game.RoundOver(FirstDiscardRule::kWild);
    EXPECT_EQ(r.Winner, 1);
    EXPECT_EQ(r.Totals[4], 502);
    const std::vector<std::string> expected{
        "OpenScoreSheet 1",
        "ShowGameOver 1",
        "GameOverPicture 1 player.bmp",
        "Pump",
        "PlayClip wg1.wav",
        "GameOverPicture 2 player.bmp",
        "Pump",
        "PlayClip lg1.wav",
        "GameOverPicture 3 player.bmp",
        "Pump",
        "PlayClip lg1.wav",
        "GameOverPicture 4 player.bmp",
        "Pump",
        "PlayClip lg1.wav",
        "WaitGameOverClosed",
        "ShowScoreSheet 1",
        "ClearScoreSheet",
    };
    ASSERT_GE(table.view.calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(table.view.calls.begin(), table.view.calls.begin() + expected.size()), expected);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(game.Players[p].Score, 0);
    EXPECT_EQ(game.Winner, 0);
    EXPECT_EQ(game.RoundNum, 0);
    EXPECT_TRUE(game.Sheet.Blank());
}

TEST_F(Scoring, AfterGameOverTheRoundIsNotCountedTwice) {
    game.Players[2].Score = 600;
    Hands(1, 1, 1, 1);
    EXPECT_TRUE(game.CountRound());
    const auto totals = game.Players[1].Score;
    EXPECT_FALSE(game.CountRound());
    EXPECT_EQ(game.Players[1].Score, totals);
}

TEST_F(Scoring, ANewGameLeavesABlankSheet) {
    Hands(5, 5, 5, 5);
    game.CountRound();
    game.CountRound();
    game.NewGame();
    Hands(1, 1, 1, 1);
    game.CountRound();
    EXPECT_EQ(game.RoundNum, 1);
    EXPECT_EQ(game.Sheet.Cell(0, 1), "1");
    EXPECT_EQ(game.Sheet.Cell(1, 1), " ");
    EXPECT_FALSE(game.Sheet.Struck(0, 1));
}

TEST_F(Scoring, TheGameOverFilesComeFromEachPlayersFolderWhateverTheirCase) {
    const auto folder = table.temp.Path() / "Player3";
    WriteBytes(folder / "Player.bmp", "BM");
    WriteBytes(folder / "WG1.WAV", "RIFF");
    const GameOverFiles files = GameOverFilesFor(folder, true);
    EXPECT_EQ(files.Picture, folder / "Player.bmp");
    EXPECT_EQ(files.Clip, folder / "WG1.WAV");
    EXPECT_EQ(GameOverFilesFor(folder, false).Clip, folder / "lg1.wav") << "missing: the path as asked";
    EXPECT_EQ(game.HumanFolder(), table.folders.SharedData / "player1");
    game.HumanDir = table.temp.Path() / "me";
    EXPECT_EQ(game.PlayerFolder(1), table.temp.Path() / "me");
    EXPECT_EQ(game.PlayerFolder(3), game.PlayerDir[3]);
}

}  // namespace
}  // namespace kvt::test
