// Moves as data: one move of the seat that must act, applied to the table.
// A computer's move is its whole turn; the human's moves are what the
// window's clicks build, one at a time.
#include <algorithm>

#include "engine/rules_support.h"

namespace kvt {

namespace {

bool Listed(const std::vector<Move>& legal, const Move& move) {
    return std::any_of(legal.begin(), legal.end(), [&](const Move& m) {
        return m.kind == move.kind && (m.slot == move.slot || m.slot < 0) && m.from_seat == move.from_seat;
    });
}

Status NotAllowed(const Move& move) {
    return Status::Fail("move " + std::to_string(static_cast<int>(move.kind)) + " of seat " + std::to_string(move.seat) +
                        " is not allowed now");
}

}  // namespace

Status Game::Apply(const Move& move, Events& events) {
    events.clear();
    if (MoveInProgress()) return Status::Fail("another move is still running");
    // Looking at the sheet is the person's, between any two moves, whatever waits.
    if (move.kind == MoveKind::ViewScore) {
        if (IsComputer(move.seat)) return NotAllowed(move);
        ViewScore();
        return Status::Ok();
    }
    if (move.seat != SeatToAct(State())) return NotAllowed(move);
    const bool computer = IsComputer(move.seat) && move.kind != MoveKind::Acknowledge;
    // A computer lays a card that fits, or draws (and passes when it cannot).
    const bool allowed = computer ? Pending() == Decision::PlayOrDraw &&
                                        (move.kind != MoveKind::Play || Listed(LegalMoves(State(), move.seat), move))
                                  : Listed(LegalMoves(State(), move.seat), move);
    // Only the move right after the human's draw may lay the drawn card as drawn.
    const int drawn = std::exchange(drawn_slot_, -1);
    if (!allowed || (move.drawn && (computer || move.kind != MoveKind::Play || move.slot != drawn ||
                                    move.slot != Players[kHuman].Count() - 1)))
        return NotAllowed(move);

    const bool applying = std::exchange(applying_, true);
    const Status result =
        ReportInto(events, [&] { return computer ? ApplyComputerMove(move) : ApplyHumanMove(move); });
    applying_ = applying;
    if (!result) events.clear();
    return result;
}

Status Game::ApplyComputerMove(const Move& move) {
    // A computer that draws goes on drawing until a card fits, then lays
    // it; with nothing to draw it passes. All of that is its one move.
    // Its hand carries the playable marks its choice leaves, whoever chose.
    MarkPlayableCards(Players[CurPlayer]);
    PlayComputerTurnWith(move.kind == MoveKind::Play ? move.slot : -1);
    if (!RoundEnded) return Status::Ok();
    // The round it ended is scored now; the sheet's OK deals the next.
    ScoreRound();
    return Status::Ok();
}

Status Game::ApplyHumanMove(const Move& move) {
    switch (move.kind) {
    case MoveKind::Play:
        return ApplyHumanPlay(move);
    case MoveKind::Draw:
        // The drawn card goes into the hand: what to do with it is the next move.
        return DrawForHuman() ? Status::Ok() : NotAllowed(move);
    case MoveKind::Pass:
        return PassForHuman() ? Status::Ok() : NotAllowed(move);
    case MoveKind::Take:
        return TakeFrom(move.from_seat, move.slot) ? Status::Ok() : NotAllowed(move);
    case MoveKind::NameGroup: {
        const std::vector<GroupChoice> choices = WildGroupChoices();
        if (std::none_of(choices.begin(), choices.end(), [&](const GroupChoice& c) { return c.CardIndex == move.slot; }))
            return Status::Fail("no group stands for card definition " + std::to_string(move.slot));
        NamingGroup = false;
        WildGroup = move.slot;
        LayGroupCard(kHuman, move.slot);
        AfterHumanPlay();
        return Status::Ok();
    }
    case MoveKind::Acknowledge:
        AcknowledgeScore();
        return Status::Ok();
    case MoveKind::ViewScore:
        break;
    }
    return NotAllowed(move);
}

// Picks the card, chooses the cards that go with it, and lays it. A card
// that the hand cannot back (the wrong number chosen, a chosen slot out of
// the hand) leaves the table as it was.
Status Game::ApplyHumanPlay(const Move& move) {
    CardStack& hand = Players[kHuman];
    for (std::size_t i = 0; i < move.chosen.size(); ++i) {
        const std::int16_t slot = move.chosen[i];
        if (slot < 0 || slot >= hand.Count() || slot == move.slot ||
            std::find(move.chosen.begin(), move.chosen.begin() + static_cast<std::ptrdiff_t>(i), slot) !=
                move.chosen.begin() + static_cast<std::ptrdiff_t>(i))
            return Status::Fail("a chosen card is not in the hand");
    }
    const TableState before = State();
    const auto undo = [&]() {
        State() = before;
        ClearPickState();
        return Status::Fail("the card cannot be laid with " + std::to_string(move.chosen.size()) + " cards chosen");
    };
    if (!PickToLay(move.slot, move.drawn)) return undo();
    for (const std::int16_t slot : move.chosen)
        if (!ChooseToLay(slot)) return undo();
    return LayPicked() ? Status::Ok() : undo();
}

}  // namespace kvt
