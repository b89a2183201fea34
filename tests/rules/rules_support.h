#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/computer_seat.h"
#include "hand/event_shows.h"
#include "hand/move_being_built.h"
#include "match/match_driver.h"
#include "match/record_replay.h"
#include "test_support.h"

namespace kvt::test {

// A card as the tests write it (a plain card by default), and one without its work mark.
Card C(int group, int value, int action = kActionDiscard, int count = 0);
Card Plain(Card card);
std::vector<Card> Cards(const CardStack& stack);  // without work marks
std::vector<Card> Low(int group, int n);          // group/1, group/2, ...

// Records what the table shows (for the events, the move being built and the
// loaders) as short strings, and lets a test act from inside any of them
// (the window lets events through inside flights).
class RulesView : public LoadNotices, public MoveShows, public EventShows {
public:
    std::vector<std::string> calls;
    bool record = true;
    std::function<void(const std::string&)> on_call;
    int score_sheets = 0;  // opened
    int load_problems = 0;  // counted, not noted: the recorded games keep their calls

    // Hears the game's events as the table window does, noting what they show.
    void Follow(Game& game);
    void Note(const std::string& call);
    int Count(const std::string& call) const;
    // Where the first such call is; after the last call when there is none.
    long At(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) - calls.begin(); }
    std::vector<std::string> Matching(const std::string& prefix) const;
    static std::string Name(const Card& c);

    void ShowHand(const CardStack& s, int grid) override { Note("ShowHand " + N(grid) + " " + N(s.Count())); }
    void SetHoldGridVisible(bool on) override { Note("HoldGrid" + On(on)); }
    void ClearPickedCard() override { Note("ClearPickedCard"); }
    void ShowPickedCard(const Card& c) override { Note("ShowPickedCard " + Name(c)); }
    void SetDiscardButtonVisible(bool on) override { Note("DiscardButton" + On(on)); }
    void RoundScored(const ScoreRows&, int winner) override {
        ++score_sheets;
        Note("OpenScoreSheet " + N(winner));
    }
    void ShowLoadProblem(const std::string&) override { ++load_problems; }
    void ShowNothingToDraw(int p, bool passed) override { Note("NothingToDraw " + N(p) + (passed ? " passed" : "")); }

    // What the events show, written down as the view calls that showed it.
    void ComputerDiscardFlies(int p, const Card& c) override { Note("AnimateCompDiscard " + N(p) + " " + Name(c)); }
    void HoldDiscardFlies(const Card& c) override { Note("AnimateHoldDiscard " + Name(c)); }
    void CardFliesToHand(int to, int from, const Card& c) override { Note("AnimateCardMove " + N(from) + ">" + N(to) + " " + Name(c)); }
    void HoldCardShown(int p, const Card& c) override { Note("ShowHoldCard " + N(p) + " " + Name(c)); }
    void HoldCardHidden() override { Note("HideHoldCard"); }
    void HandVisible(int p, bool on) override { Note("SetHandVisible " + N(p) + On(on)); }
    void ArrowAt(int seat) override { Note("Arrow " + N(seat)); }
    void PickedCardFlies(const Card& c) override { Note("AnimatePickedCard " + Name(c)); }
    void HandRedrawn(int grid, const CardStack& s) override { Note("ShowHand " + N(grid) + " " + N(s.Count())); }
    void PilesRedrawn(const PilesShown& piles) override {
        Note("ShowPiles " + N(piles.deck) + " " + N(piles.pile) + (piles.pile > 0 ? " " + Name(piles.top) : ""));
    }
    void DrawFlies(int p, bool picked) override { Note("AnimateDraw " + N(p) + (picked ? " picked" : "")); }
    void Logged(const Event&) override {}
    void DirectionTurns(int reversed) override { Note("Direction " + N(reversed)); }
    void DeckShuffled() override {
        Note("ShowShuffling");
        Note("HideShuffling");
    }
    void PlayerPassed(int p) override { Note("NothingToDraw " + N(p) + " passed"); }
    void PlayerSpeaks(const std::filesystem::path& clip) override { Note("PlayClip " + clip.filename().string()); }
    void GameOver(int winner, const std::array<GameOverFiles, 5>& files) override;

private:
    static std::string N(int n) { return std::to_string(n); }
    static std::string On(bool on) { return on ? " on" : " off"; }
};

// A table on its own folders whose shipped card set is `set` (so every new
// round deals it again), seeded, dealt, with sounds and sorting off.
class RulesTable {
public:
    explicit RulesTable(const CardSetDef& set, std::uint64_t seed = 7);
    TempDir temp;
    Folders folders;
    RulesView view;
    std::unique_ptr<Game> game;
};

// The shipped set's kinds of cards: groups 1..4 of 1..9, Skip, Reverse,
// Draw 2, Pass Left/Right/Across 1, Draw 1 from left/right, Discard 2, a
// card without action; wild cards plain and Draw 4. Group g's 1 is definition (g-1)*19.
CardSetDef FourWindsLikeSet();
// Every action code with counts above 1, groups 1..4, wild cards of every kind.
CardSetDef EveryActionSet();

// Replaces hands 1..4, the pile (top last) and the deck (slot 0 first); a `turn` 1..4 is on turn.
void SetTable(Game& game, const std::vector<std::vector<Card>>& hands, const std::vector<Card>& pile,
              const std::vector<Card>& deck, int turn = 0);

// Every card on the table, a computer's held card included.
using Census = std::map<std::tuple<int, int, int, int>, int>;
Census TakeCensus(const Game& game);

// No card lost, none made but the rules' group cards, every stack within its capacity, CurPlayer 1..4.
::testing::AssertionResult TableConsistent(const Game& game, const Census& start, std::int64_t group_cards_at_start);

void SetTraits(PlayerRec& player, int a, int b, int c, int d);
// Four players of distinct traits, each speaking at a chance of 60 in 100; sounds on or off.
void GiveTraits(Game& game, bool sounds);

// One step of the human by clicks: the first card offered to take; else the
// first card that fits, with the first cards of the hand chosen for it; else a
// draw, laid when it fits and put back otherwise. `note` hears every click.
void HumanClickStep(Game& game, MoveBeingBuilt& move, const std::function<void(const std::string&, HumanMove)>& note = {});
// One step of a driven game but the person's clicks: the driver plays the
// other seats, and the person's score sheets and wild groups (the first
// group) are answered by moves. False when the person is to click.
bool DriveAllButTheClicks(Game& game, MatchDriver& driver, Events& events);
// Plays on as the table does until the person is to click: the computers'
// moves, and the person's score sheets and wild groups as above.
void PlayToThePerson(Game& game);
// The person by clicks (HumanClickStep, hearing `note`), the rest as above, until `rounds` sheets opened.
void PlayByClicks(Game& game, RulesView& view, int rounds,
                  const std::function<void(const std::string&, HumanMove)>& note = {});

// The computers through a driver at seats 2..4, as at the table.
struct ComputersDriven {
    explicit ComputersDriven(Game& game);
    ComputerSeat computer;
    MatchDriver driver;
    Events events;
};

// Four computers through the driver for `rounds` rounds: the game's record,
// the table as dealt and as it ends, and the events the moves reported.
struct RecordedRounds {
    GameRecord record;
    TableState dealt;
    std::string end;
    std::size_t events = 0;
};
RecordedRounds RecordComputerRounds(Game& game, int rounds);

// A test on a table of FourWindsLikeSet().
class RulesTest : public ::testing::Test {
protected:
    RulesTable table{FourWindsLikeSet()};
    Game& game = *table.game;
};

}  // namespace kvt::test
