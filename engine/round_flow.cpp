#include "engine/rules_support.h"

namespace kvt {

// Moves into a stack that may be full go through here, so that the card is
// refused and the refusal counted instead of the move silently doing nothing.
bool Game::MoveChecked(CardStack& from, CardStack& to, int slot) {
    if (slot < 0 || slot >= from.Count()) return false;
    const bool room = !to.Full();
    if (room) {
        MoveCard(from, to, slot, false);
    } else {
        ++RefusedMoves;
        EmitMove(EventKind::CardRefused, from[slot], from, to, slot);
    }
    return room;
}

void Game::ClearPickState() {
    PickStack.Clear();
    HoldStack.Clear();
    HoldOrigins.clear();
    PickAsksForCards = false;
    PickComplete = false;
    HoldNeeded = 0;
}

RoundResult Game::RoundOver(FirstDiscardRule rule) {
    MoveScope scope(*this);
    const RoundResult result = ScoreRound();
    DealAfterScore(rule);
    return result;
}

RoundResult Game::ScoreRound() {
    MoveScope scope(*this);
    RoundResult result;
    CountRound();
    result.Winner = Winner;
    result.RoundNum = RoundNum;
    for (int p = 1; p <= 4; ++p) result.Totals[p] = Scores[p];
    // The sheet opens from this event, and a won game is presented over it.
    Emit(EventKind::RoundEnded, Winner, 0, [&result](Event& scored) { scored.scores = result.Totals; });
    if (Winner > 0) Emit(EventKind::GameEnded, Winner);
    if (Winner > 0) RoundNum = 0;
    return result;
}

void Game::DealAfterScore(FirstDiscardRule rule) {
    MoveScope scope(*this);
    ScoreSheetOk();

    // Nothing of the old round's picking survives into the next one.
    ClearPickState();
    CompHeld.Clear();
    PassesInRow = 0;

    (void)NextRound(rule);  // a card set that could not be loaded again is the loader's to report
    bool any = false;
    for (int p = 1; p <= 4; ++p) any = any || !Players[p].Empty();
    if (CurPlayer < 1 || CurPlayer > 4) CurPlayer = static_cast<std::int16_t>(StartPlayer >= 1 ? StartPlayer : 1);
    RoundEnded = !any;
}

RoundResult Game::RoundOver(FirstDiscardRule rule, Events& events) {
    events.clear();
    return ReportInto(events, [this, rule] { return RoundOver(rule); });
}

bool Game::RoundIsOver() const {
    for (int p = 1; p <= 4; ++p)
        if (Players[p].Empty()) return true;
    return (PassesInRow >= kSeats && !CanDraw()) || TurnsWithoutProgress >= kStuckTurns;
}

// The human moved last; the round is scored now and waits for the sheet's
// OK (Acknowledge), a move of its own.
void Game::FinishHumanRound() {
    NextDealRule = FirstDiscardRule::kNoSecondCard;
    if (CurPlayer < 1 || CurPlayer > 4) CurPlayer = kHuman;
    ScoreRound();
}

// The score sheet's OK: the next round is dealt, as the
// table goes on after a round the human or a computer ended. A table that
// cannot be dealt stays empty until a new game.
void Game::AcknowledgeScore() {
    const FirstDiscardRule rule = NextDealRule;
    DealAfterScore(rule);
    if (RoundEnded) return;
    if (rule == FirstDiscardRule::kNoSecondCard) HandOverToComputers();
    else if (IsComputer(CurPlayer)) BeginComputerRun();
}

}  // namespace kvt
