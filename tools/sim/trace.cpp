#include "tools/sim/trace.h"

namespace kvt::sim {
namespace {

void WriteCard(std::ostream& out, const Card& c) {
    out << "{\"Group\":" << c.Group << ",\"Value\":" << c.Value << ",\"ActionCount\":" << c.ActionCount
        << ",\"Action\":" << c.Action << ",\"Reserved1\":" << c.Reserved1 << ",\"Reserved2\":" << c.Reserved2
        << ",\"Copies\":" << c.Copies << ",\"PicRow\":" << c.PicRow << ",\"PicCol\":" << c.PicCol
        << ",\"Playable\":" << c.Playable << "}";
}

void WriteCards(std::ostream& out, const std::vector<Card>& cards) {
    out << "[";
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (i > 0) out << ",";
        WriteCard(out, cards[i]);
    }
    out << "]";
}

bool FromMover(const Event& e, int seat) {
    return (e.from.place == Place::Hand || e.from.place == Place::Held) && e.from.seat == seat;
}

}  // namespace

MoveBefore MoveBefore::Of(const Game& game, long round) {
    MoveBefore b;
    b.Round = round;
    b.Seat = game.CurPlayer;
    const PlayerRec& info = game.PlayerInfo[b.Seat];
    b.Traits = {info.TraitA, info.TraitB, info.TraitC, info.TraitD};
    b.Reversed = game.PlayReversed;
    if (!game.DiscardPile.Empty()) b.Top = game.DiscardPile.Top();
    const CardStack& hand = game.Players[b.Seat];
    b.Hand.assign(hand.begin(), hand.end());
    b.MaxOtherHand = game.MaxOtherHand();
    return b;
}

void WriteMoveLine(std::ostream& out, const MoveBefore& before, const Events& events, const Game& after) {
    // The mover's choice, its own draws until it could play, and the card it laid.
    int chosen = -1;
    std::vector<Card> drawn;
    std::optional<Card> played;
    for (const Event& e : events) {
        if (e.kind == EventKind::CardChosen && e.seat == before.Seat) chosen = e.number;
        if (played) continue;
        if (e.kind == EventKind::CardMoved && e.from.place == Place::Deck && e.to.place == Place::Hand &&
            e.to.seat == before.Seat)
            drawn.push_back(e.card);
        if (e.kind == EventKind::CardMoved && FromMover(e, before.Seat) &&
            (e.to.place == Place::Pile || e.to.place == Place::Held))
            played = e.card;
    }
    out << "{\"round\":" << before.Round << ",\"seat\":" << before.Seat << ",\"traits\":[" << before.Traits[0] << ","
        << before.Traits[1] << "," << before.Traits[2] << "," << before.Traits[3] << "],\"reversed\":"
        << before.Reversed << ",\"top\":";
    if (before.Top) WriteCard(out, *before.Top);
    else out << "null";
    out << ",\"hand\":";
    WriteCards(out, before.Hand);
    out << ",\"maxOtherHand\":" << before.MaxOtherHand << ",\"chosen\":" << chosen << ",\"drawn\":";
    WriteCards(out, drawn);
    out << ",\"played\":";
    if (played) WriteCard(out, *played);
    else out << "null";
    out << ",\"next\":" << after.CurPlayer << ",\"counts\":[";
    for (int p = 1; p <= 4; ++p) out << (p > 1 ? "," : "") << after.Players[p].Count();
    out << "]}\n";
}

void WriteRoundLine(std::ostream& out, long round, const Event& ended) {
    out << "{\"round\":" << round << ",\"scores\":[";
    for (int p = 1; p <= 4; ++p) out << (p > 1 ? "," : "") << ended.scores[p];
    out << "],\"winner\":" << ended.seat << "}\n";
}

}  // namespace kvt::sim
