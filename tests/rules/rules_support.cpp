#include "rules/rules_support.h"

#include "engine/computer_seat.h"
#include "core/matching.h"
#include "engine/working_files.h"

namespace kvt::test {

Card C(int group, int value, int action, int count) { return Def(group, value, action, count, 1); }

Card Plain(Card card) {
    card.Playable = 0;
    return card;
}

std::vector<Card> Cards(const CardStack& stack) {
    std::vector<Card> cards;
    for (const Card& c : stack) cards.push_back(Plain(c));
    return cards;
}

std::vector<Card> Low(int group, int n) {
    std::vector<Card> v;
    for (int i = 0; i < n; ++i) v.push_back(C(group, 1 + i % 9));
    return v;
}

void RulesView::Follow(Game& game) {
    game.SetEventListener([this, &game](const Event& e) { ShowEventOn(game, e, *this); });
}

void RulesView::GameOver(int winner, const std::array<GameOverFiles, 5>& files) {
    Note("ShowGameOver " + N(winner));
    for (int p = 1; p <= 4; ++p) {
        Note("GameOverPicture " + N(p) + " " + files[static_cast<std::size_t>(p)].Picture.filename().string());
        PlayerSpeaks(files[static_cast<std::size_t>(p)].Clip);
    }
    Note("WaitGameOverClosed");
}

void RulesView::Note(const std::string& call) {
    if (record) calls.push_back(call);
    if (on_call) on_call(call);
}

int RulesView::Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

std::vector<std::string> RulesView::Matching(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
}

std::string RulesView::Name(const Card& c) {
    return N(c.Group) + "/" + N(c.Value) + "/" + N(c.Action) + "x" + N(c.ActionCount);
}

RulesTable::RulesTable(const CardSetDef& set, std::uint64_t seed) {
    folders.SettingsFile = temp.Path() / "config" / "kvt.ini";
    folders.AppDir = temp.Path() / "data";
    folders.SharedData = temp.Path() / "shared";
    WriteBytes(folders.SharedData / files::kDefaultCardSet, EncodeCardSetFile(SampleCardSetFile(set)));
    game = std::make_unique<Game>(folders, view, seed);
    view.Follow(*game);
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
    auto add = [&](int g, int v, int action, int count, int copies) { set.CardDefs[d++] = Def(g, v, action, count, copies); };
    for (int g = 1; g <= 4; ++g) {
        for (int v = 1; v <= 9; ++v) add(g, v, kActionDiscard, 0, 2);
        add(g, 20, kActionSkip, 0, 2);
        add(g, 20, kActionReverse, 0, 2);
        add(g, 20, kActionDrawDeck, 2, 2);
        for (int a : {kActionPassLeft, kActionPassRight, kActionPassAcross, kActionDrawLeft, kActionDrawRight})
            add(g, 20, a, 1, 1);
        add(g, 25, kActionDiscard, 2, 1);
        add(g, 15, kActionNone, 0, 1);
    }
    add(0, 50, kActionDiscard, 0, 4);
    add(0, 50, kActionDrawDeck, 4, 4);
    set.CardDefs[80] = Def(0, 0, kActionCardBack, 0, 0, 4, 2);
    return set;
}

CardSetDef EveryActionSet() {
    CardSetDef set = SampleCardSet();
    set.CardDefs = {};
    int d = 0;
    auto add = [&](int g, int v, int action, int count, int copies) { set.CardDefs[d++] = Def(g, v, action, count, copies); };
    for (int g = 1; g <= 4; ++g) {
        for (int v = 1; v <= 6; ++v) add(g, v, kActionDiscard, 0, 2);
        for (int a = kActionPassLeft; a <= kActionReverse; ++a) add(g, 9 + a, a, 2 + a % 2, 1);
    }
    for (int a : {kActionNone, kActionSkip, kActionReverse, kActionDiscard, kActionPassAcross, kActionDrawLeft})
        add(0, 40 + a, a, a == kActionNone ? 0 : 2, 2);
    add(2, 32, kActionNeverDealt, 0, 5);
    set.CardDefs[80] = Def(0, 0, kActionCardBack, 0, 0, 4, 3);
    return set;
}

void SetTable(Game& game, const std::vector<std::vector<Card>>& hands, const std::vector<Card>& pile,
              const std::vector<Card>& deck, int turn) {
    if (turn > 0) game.CurPlayer = static_cast<std::int16_t>(turn);
    for (CardStack* s : {&game.DrawDeck, &game.DiscardPile, &game.CompHeld}) s->Clear();
    for (int p = 1; p <= 4; ++p) {
        game.Players[p].Clear();
        if (p <= static_cast<int>(hands.size()))
            for (const Card& c : hands[p - 1]) game.Players[p].Push(c);
    }
    for (const Card& c : pile) game.DiscardPile.Push(c);
    for (const Card& c : deck) game.DrawDeck.Push(c);
}

static std::vector<const CardStack*> Stacks(const Game& game) {
    return {&game.DrawDeck, &game.DiscardPile, &game.Players[1], &game.Players[2], &game.Players[3],
            &game.Players[4], &game.CompHeld};
}

Census TakeCensus(const Game& game) {
    Census census;
    for (const CardStack* s : Stacks(game))
        for (const Card& c : *s) ++census[{c.Group, c.Value, c.Action, c.ActionCount}];
    return census;
}

::testing::AssertionResult TableConsistent(const Game& game, const Census& start, std::int64_t group_cards_at_start) {
    if (game.CurPlayer < 1 || game.CurPlayer > 4) return ::testing::AssertionFailure() << "CurPlayer " << game.CurPlayer;
    const Census now = TakeCensus(game);
    int before = 0, after = 0;
    for (const auto& [key, n] : start) {
        before += n;
        const auto it = now.find(key);
        if (it == now.end() || it->second < n)
            return ::testing::AssertionFailure() << "lost a " << std::get<0>(key) << "/" << std::get<1>(key);
    }
    for (const auto& [key, n] : now) after += n;
    if (after != before + game.GroupCardsAdded - group_cards_at_start)
        return ::testing::AssertionFailure() << after << " cards, " << before << " at the start";
    for (const CardStack* s : Stacks(game))
        if (s->Count() > CardStack::Capacity) return ::testing::AssertionFailure() << "overfull stack";
    return ::testing::AssertionSuccess();
}

void SetTraits(PlayerRec& player, int a, int b, int c, int d) {
    std::tie(player.TraitA, player.TraitB, player.TraitC, player.TraitD) =
        std::tuple<std::int16_t, std::int16_t, std::int16_t, std::int16_t>(a, b, c, d);
}

void GiveTraits(Game& game, bool sounds) {
    const int traits[5][4] = {{0, 0, 0, 0}, {50, 1, 50, 5}, {80, 2, 20, 3}, {20, 5, 90, 8}, {100, 0, 0, 1}};
    for (int p = 1; p <= 4; ++p) {
        SetTraits(game.PlayerInfo[p], traits[p][0], traits[p][1], traits[p][2], traits[p][3]);
        game.PlayerInfo[p].SoundChance = 60;
    }
    game.PlayerSounds = sounds;
}

// The first card of the human's hand that fits the pile; -1 if none.
static int FirstFit(const Game& game) {
    for (int i = 0; i < game.Players[1].Count(); ++i)
        if (PlayableOn(game.Players[1][i], game.DiscardPile)) return i;
    return -1;
}

void HumanClickStep(Game& game, MoveBeingBuilt& move, const std::function<void(const std::string&, HumanMove)>& note) {
    const auto click = [&note](const std::string& what, HumanMove result) {
        if (note) note(what, result);
        return result;
    };
    const int column = FirstFit(game);
    if (game.ChoosingCards) {
        click("take", move.ClickOpponentCard(game.ChooseFromPlayer, 0));
    } else if (column < 0) {
        if (click("draw", move.ClickDrawDeck()) == HumanMove::Drew)
            click("then", move.DiscardShown() ? move.ClickDiscardButton() : move.ClickPickedCard());
    } else {
        click("pick " + std::to_string(column), move.ClickHandCard(column));
        for (int guard = 0; !move.DiscardShown() && guard < 20; ++guard) click("choose", move.ClickHandCard(0));
        click("discard", move.ClickDiscardButton());
    }
}

bool DriveAllButTheClicks(Game& game, MatchDriver& driver, Events& events) {
    const Decision asked = game.Pending();
    const bool person = SeatToAct(game.State()) == 1;
    if (person && asked != Decision::AcknowledgeScore && asked != Decision::NameGroup) return false;
    const bool naming = asked == Decision::NameGroup;
    const Move answer{naming ? MoveKind::NameGroup : MoveKind::Acknowledge, 1,
                      naming ? game.WildGroupChoices().front().CardIndex : std::int16_t{-1}, 0, {}};
    EXPECT_EQ(person ? driver.Submit(answer, events) : driver.Advance(events), MatchDriver::Step::Applied)
        << driver.Refusal().message();
    return true;
}

ComputersDriven::ComputersDriven(Game& game) : computer(game), driver(game) {
    for (int seat = 2; seat <= 4; ++seat) driver.SetSeat(seat, &computer);
}

RecordedRounds RecordComputerRounds(Game& game, int rounds) {
    game.ComputerSeat1 = true;
    RecordedRounds out;
    out.dealt = game.State();
    out.record.card_set_title = "Four Winds";
    ComputersDriven table(game);
    table.driver.SetSeat(1, &table.computer);
    int acknowledged = 0;
    table.driver.SetMoveListener([&](const Move& move, const Events& events) {
        AddToRecord(out.record, move, events);
        acknowledged += move.kind == MoveKind::Acknowledge;
    });
    for (int step = 0; step < 20000 && acknowledged < rounds; ++step) {
        EXPECT_EQ(table.driver.Advance(table.events), MatchDriver::Step::Applied) << table.driver.Refusal().message();
        out.events += table.events.size();
    }
    EXPECT_EQ(acknowledged, rounds);
    out.end = WriteTableState(game.State());
    return out;
}

void PlayToThePerson(Game& game) {
    ComputersDriven table(game);
    // A table that cannot be dealt asks for the sheet's OK for ever.
    int steps = 0;
    while (steps++ < 5000 && DriveAllButTheClicks(game, table.driver, table.events)) {
    }
}

void PlayByClicks(Game& game, RulesView& view, int rounds, const std::function<void(const std::string&, HumanMove)>& note) {
    ComputersDriven table(game);
    MoveBeingBuilt person(game, table.driver, view);
    // The dealt table turns to the computers as after a move of the person's.
    game.HandOverToComputers();
    for (int step = 0; view.score_sheets < rounds && step < 6000; ++step)
        if (!DriveAllButTheClicks(game, table.driver, table.events)) HumanClickStep(game, person, note);
}

}  // namespace kvt::test
