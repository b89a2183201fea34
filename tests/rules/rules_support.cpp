#include "rules/rules_support.h"

#include "engine/working_files.h"

namespace kvt::test {

Card C(int group, int value, int action, int count) {
    Card c = Def(group, value, action, count, 1);
    return c;
}

void RulesView::Note(const std::string& call) {
    if (record) calls.push_back(call);
    if (on_call) on_call(call);
}

std::string RulesView::Name(const Card& c) {
    return std::to_string(c.Group) + "/" + std::to_string(c.Value) + "/" + std::to_string(c.Action) + "x" +
           std::to_string(c.ActionCount);
}

void RulesView::ShowHand(const CardStack& stack, int grid) {
    Note("ShowHand " + std::to_string(grid) + " " + std::to_string(stack.Count()));
}

void RulesView::SetHandVisible(int player, bool visible) {
    Note("SetHandVisible " + std::to_string(player) + (visible ? " on" : " off"));
}

void RulesView::SetSeatArrowVisible(int seat, bool visible) {
    Note("Arrow " + std::to_string(seat) + (visible ? " on" : " off"));
}

void RulesView::SetChooseMessageVisible(bool visible) { Note(std::string("ChooseMessage ") + (visible ? "on" : "off")); }
void RulesView::SetHoldGridVisible(bool visible) { Note(std::string("HoldGrid ") + (visible ? "on" : "off")); }
void RulesView::SetDirectionPicture(int reversed) { Note("Direction " + std::to_string(reversed)); }
void RulesView::SetPickedCardVisible(bool visible) { Note(std::string("PickedBox ") + (visible ? "on" : "off")); }
void RulesView::SetDiscardButtonVisible(bool visible) {
    Note(std::string("DiscardButton ") + (visible ? "on" : "off"));
}

void RulesView::ShowHoldCard(int player, const Card& card) {
    Note("ShowHoldCard " + std::to_string(player) + " " + Name(card));
}

void RulesView::AnimateCardMove(int to_player, int from_place, const Card& card) {
    Note("AnimateCardMove " + std::to_string(from_place) + ">" + std::to_string(to_player) + " " + Name(card));
}

void RulesView::AnimateCompDiscard(int player, const Card& card) {
    Note("AnimateCompDiscard " + std::to_string(player) + " " + Name(card));
}

void RulesView::AnimateDraw(int player, bool to_picked_card) {
    Note("AnimateDraw " + std::to_string(player) + (to_picked_card ? " picked" : ""));
}

int RulesView::AskWildGroup(const std::vector<GroupChoice>& choices) {
    last_choices = choices;
    const int answer = wild_answer >= 0 ? wild_answer : TableView::AskWildGroup(choices);
    Note("AskWildGroup " + std::to_string(answer));
    return answer;
}

void RulesView::OpenScoreSheet(const ScoreSheet&, int winner) { Note("OpenScoreSheet " + std::to_string(winner)); }

void RulesView::ShowScoreSheet(const ScoreSheet&, int winner) {
    ++score_sheets;
    winners_shown.push_back(winner);
    Note("ShowScoreSheet " + std::to_string(winner));
}

void RulesView::ShowGameOverPicture(int player, const std::filesystem::path& picture) {
    Note("GameOverPicture " + std::to_string(player) + " " + picture.filename().string());
}

int RulesView::Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
}

std::vector<std::string> RulesView::Matching(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
}

RulesTable::RulesTable(const CardSetDef& set, std::uint64_t seed) {
    folders.SettingsFile = temp.Path() / "config" / "kvt" / "kvt.ini";
    folders.AppDir = temp.Path() / "data" / "kvt";
    folders.SharedData = temp.Path() / "shared";
    WriteBytes(folders.SharedData / files::kDefaultCardSet, EncodeCardSetFile(SampleCardSetFile(set)));
    game = std::make_unique<Game>(folders, view, seed);
    for (int p = 1; p <= 4; ++p) game->PlayerInfo[p].Name = "P" + std::to_string(p);
    game->PlayerSounds = false;
    game->SortCards = false;
    EXPECT_TRUE(game->ReloadCardSet().ok());
    game->NewGame();
    view.calls.clear();
}

CardSetDef FourWindsLikeSet() {
    CardSetDef set = SampleCardSet();
    set.CardDefs = {};
    int d = 0;
    auto add = [&](int g, int v, int action, int count, int copies) {
        set.CardDefs[d] = Def(g, v, action, count, copies, d / 19, d % 19);
        ++d;
    };
    for (int g = 1; g <= 4; ++g) {
        for (int v = 1; v <= 9; ++v) add(g, v, kActionDiscard, 0, 2);
        add(g, 20, kActionSkip, 0, 2);
        add(g, 20, kActionReverse, 0, 2);
        add(g, 20, kActionDrawDeck, 2, 2);
        add(g, 20, kActionPassLeft, 1, 1);
        add(g, 20, kActionPassRight, 1, 1);
        add(g, 20, kActionPassAcross, 1, 1);
        add(g, 20, kActionDrawLeft, 1, 1);
        add(g, 20, kActionDrawRight, 1, 1);
        add(g, 25, kActionDiscard, 2, 1);
        add(g, 15, kActionNone, 0, 1);
    }
    add(0, 50, kActionDiscard, 0, 4);
    add(0, 50, kActionDrawDeck, 4, 4);
    set.CardDefs[78] = Def(0, 0, kActionCardBack, 0, 0, 4, 2);
    set.CardDefs[79] = Def(0, 0, kActionBackgroundCell, 0, 0, 4, 3);
    return set;
}

CardSetDef EveryActionSet() {
    CardSetDef set = SampleCardSet();
    set.CardDefs = {};
    int d = 0;
    auto add = [&](int g, int v, int action, int count, int copies) { set.CardDefs[d++] = Def(g, v, action, count, copies); };
    for (int g = 1; g <= 5; ++g) {
        for (int v = 1; v <= 6; ++v) add(g, v, kActionDiscard, 0, 2);
        add(g, 10, kActionPassLeft, 2, 1);
        add(g, 11, kActionPassRight, 3, 1);
        add(g, 12, kActionPassAcross, 2, 1);
        add(g, 13, kActionDrawDeck, 3, 1);
        add(g, 14, kActionDrawRight, 2, 1);
        add(g, 15, kActionDrawLeft, 3, 1);
        add(g, 16, kActionDrawAcross, 2, 1);
        add(g, 17, kActionDiscard, 3, 1);
    }
    add(0, 40, kActionNone, 0, 2);
    add(0, 41, kActionSkip, 0, 2);
    add(0, 42, kActionReverse, 0, 2);
    add(0, 43, kActionDiscard, 2, 2);
    add(0, 44, kActionPassAcross, 2, 2);
    add(0, 45, kActionDrawLeft, 2, 2);
    add(3, 30, kActionSkip, 0, 3);
    add(4, 31, kActionReverse, 0, 3);
    add(2, 32, kActionNeverDealt, 0, 5);
    set.CardDefs[80] = Def(0, 0, kActionCardBack, 0, 0, 4, 3);
    return set;
}

void SetTable(Game& game, const std::vector<std::vector<Card>>& hands, const std::vector<Card>& pile,
              const std::vector<Card>& deck) {
    for (int p = 1; p <= 4; ++p) {
        game.Players[p].Clear();
        if (p - 1 < static_cast<int>(hands.size()))
            for (const Card& c : hands[p - 1]) game.Players[p].Push(c);
    }
    game.DiscardPile.Clear();
    for (const Card& c : pile) game.DiscardPile.Push(c);
    game.DrawDeck.Clear();
    for (const Card& c : deck) game.DrawDeck.Push(c);
    game.PickStack.Clear();
    game.HoldStack.Clear();
    game.CompHeld.Clear();
}

Card Plain(Card card) {
    card.Playable = 0;
    return card;
}

std::vector<Card> Cards(const CardStack& stack) {
    std::vector<Card> cards;
    for (const Card& c : stack) cards.push_back(Plain(c));
    return cards;
}

std::map<CardKey, int> Census(const Game& game) {
    std::map<CardKey, int> census;
    auto add = [&census](const CardStack& s) {
        for (const Card& c : s) ++census[{c.Group, c.Value, c.Action, c.ActionCount}];
    };
    add(game.DrawDeck);
    add(game.DiscardPile);
    for (int p = 1; p <= 4; ++p) add(game.Players[p]);
    add(game.PickStack);
    add(game.HoldStack);
    add(game.CompHeld);
    return census;
}

int CensusSize(const std::map<CardKey, int>& census) {
    int n = 0;
    for (const auto& [key, count] : census) n += count;
    return n;
}

::testing::AssertionResult TableConsistent(const Game& game, const std::map<CardKey, int>& start,
                                           std::int64_t group_cards_at_start) {
    const CardStack* stacks[] = {&game.DrawDeck,   &game.DiscardPile, &game.Players[1], &game.Players[2],
                                 &game.Players[3], &game.Players[4],  &game.PickStack,  &game.HoldStack,
                                 &game.CompHeld};
    for (const CardStack* s : stacks)
        if (s->Count() < 0 || s->Count() > CardStack::Capacity)
            return ::testing::AssertionFailure() << "a stack holds " << s->Count() << " cards";
    if (game.CurPlayer < 1 || game.CurPlayer > 4)
        return ::testing::AssertionFailure() << "CurPlayer " << game.CurPlayer;
    const auto now = Census(game);
    for (const auto& [key, count] : start) {
        auto it = now.find(key);
        const int have = it == now.end() ? 0 : it->second;
        if (have < count)
            return ::testing::AssertionFailure() << "a card " << std::get<0>(key) << "/" << std::get<1>(key)
                                                 << " was lost (" << have << " of " << count << ")";
    }
    const std::int64_t added = game.GroupCardsAdded - group_cards_at_start;
    if (CensusSize(now) != CensusSize(start) + added)
        return ::testing::AssertionFailure() << CensusSize(now) << " cards, expected " << CensusSize(start)
                                             << " + " << added << " group cards";
    return ::testing::AssertionSuccess();
}

}  // namespace kvt::test
