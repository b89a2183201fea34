#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace kvt::test {

// A card in a hand, as the tests write it.
Card C(int group, int value, int action = kActionDiscard, int count = 0);
// The card without its work mark (Playable), for comparisons.
Card Plain(Card card);

// Records every view call in order, as short strings, and lets a test act
// from inside any call (the window lets events through inside flights).
class RulesView : public TableView {
public:
    std::vector<std::string> calls;
    bool record = true;  // off for long runs; on_call still sees every call
    std::function<void(const std::string&)> on_call;
    int wild_answer = -1;  // definition index to answer, -1: the headless default
    std::vector<GroupChoice> last_choices;
    int score_sheets = 0;
    std::vector<int> winners_shown;

    void PumpEvents() override { Note("Pump"); }
    void ShowHand(const CardStack& stack, int grid) override;
    void SetHandVisible(int player, bool visible) override;
    void ShowDiscardTop() override { Note("ShowDiscardTop"); }
    void RepaintDiscardPile() override { Note("RepaintDiscardPile"); }
    void SetSeatArrowVisible(int seat, bool visible) override;
    void SetChooseMessageVisible(bool visible) override;
    void SetHoldGridVisible(bool visible) override;
    void ClearPickedCard() override { Note("ClearPickedCard"); }
    void ClearScoreSheet() override { Note("ClearScoreSheet"); }
    void ShowShuffling() override { Note("ShowShuffling"); }
    void HideShuffling() override { Note("HideShuffling"); }

    void SetDirectionPicture(int reversed) override;
    void SetChooseMessage(const std::string& text) override { Note("ChooseMessage " + text); }
    void ShowPickedCard(const Card& card) override { Note("ShowPickedCard " + Name(card)); }
    void SetPickedCardVisible(bool visible) override;
    void SetDiscardButtonVisible(bool visible) override;
    void ShowHoldCard(int player, const Card& card) override;
    void HideHoldCard() override { Note("HideHoldCard"); }
    void AnimateCardMove(int to_player, int from_place, const Card& card) override;
    void AnimateCompDiscard(int player, const Card& card) override;
    void AnimateHoldDiscard(const Card& card) override { Note("AnimateHoldDiscard " + Name(card)); }
    void AnimatePickedCard(const Card& card) override { Note("AnimatePickedCard " + Name(card)); }
    void AnimateDraw(int player, bool to_picked_card) override;
    void PlayClip(const std::filesystem::path& file) override { Note("PlayClip " + file.filename().string()); }
    int AskWildGroup(const std::vector<GroupChoice>& choices) override;
    void OpenScoreSheet(const ScoreSheet& sheet, int winner) override;
    void ShowScoreSheet(const ScoreSheet& sheet, int winner) override;
    void ShowGameOver(int winner) override { Note("ShowGameOver " + std::to_string(winner)); }
    void ShowGameOverPicture(int player, const std::filesystem::path& picture) override;
    void WaitGameOverClosed() override { Note("WaitGameOverClosed"); }
    void ShowRuleMessage(const std::string& text) override { Note("Message " + text); }

    static std::string Name(const Card& card);
    int Count(const std::string& call) const;
    // The calls starting with `prefix`, in order.
    std::vector<std::string> Matching(const std::string& prefix) const;
    void Note(const std::string& call);
};

// A table with its own folders, the given card set as the shipped default
// (so every new round deals it again), a fixed seed and a dealt game.
class RulesTable {
public:
    explicit RulesTable(const CardSetDef& set = SampleCardSet(), std::uint64_t seed = 7);
    TempDir temp;
    Folders folders;
    RulesView view;
    std::unique_ptr<Game> game;
};

// The default card set's kinds of cards: four groups of 1..9, Skip,
// Reverse, Draw 2, Pass Left/Right/Across 1, Draw 1 from left/right,
// Discard 2, a card without action, and two kinds of wild card.
CardSetDef FourWindsLikeSet();
// Every action code with counts above 1, groups 1..5, wild cards of several kinds.
CardSetDef EveryActionSet();

// Replaces the table: hands of players 1..4, the pile (top last) and the deck (slot 0 first).
void SetTable(Game& game, const std::vector<std::vector<Card>>& hands, const std::vector<Card>& pile,
              const std::vector<Card>& deck);
// The cards of a stack, without their work marks.
std::vector<Card> Cards(const CardStack& stack);

// Every card on the table, including the picked card, the hold grid and a
// computer's held card, as sorted (group, value, action, count) tuples.
using CardKey = std::tuple<int, int, int, int>;
std::map<CardKey, int> Census(const Game& game);
int CensusSize(const std::map<CardKey, int>& census);

// Cards are neither lost nor made, apart from the group cards the rules
// add; every stack within its capacity; CurPlayer 1..4.
::testing::AssertionResult TableConsistent(const Game& game, const std::map<CardKey, int>& start,
                                           std::int64_t group_cards_at_start);

}  // namespace kvt::test
