#include "actions/rules_support.h"

namespace kvt {

// Moves into a stack that may be full go through here, so that the card is
// refused and the refusal counted instead of the move silently doing nothing.
bool Game::MoveChecked(CardStack& from, CardStack& to, int slot) {
    if (slot < 0 || slot >= from.Count()) return false;
    if (to.Full()) {
        ++RefusedMoves;
        EmitMove(EventKind::CardRefused, from[slot], from, to);
        return false;
    }
    MoveCard(from, to, slot, false);
    return true;
}

void Game::ClearPickState() {
    PickStack.Clear();
    HoldStack.Clear();
    view_.ShowHand(HoldStack, 0);
    SetHoldGrid(false);
    SetDiscardButton(false);
    view_.ClearPickedCard();
    CardPicked = 0;
    HoldCount = 0;
    HoldNeeded = 0;
}

RoundResult Game::RoundOver(FirstDiscardRule rule) {
    MoveScope scope(*this);
    RoundResult result;
    CountRound();
    result.Winner = Winner;
    result.RoundNum = RoundNum;
    for (int p = 1; p <= 4; ++p) result.Totals[p] = Scores[p];
    if (Event* scored = Emit(EventKind::RoundEnded, Winner)) {
        scored->scores = result.Totals;
        if (Winner > 0) Emit(EventKind::GameEnded, Winner);
    }

    view_.OpenScoreSheet(Sheet, Winner);
    if (Winner > 0) {
        PresentGameOver();
        RoundNum = 0;
    }
    view_.ShowScoreSheet(Sheet, Winner);
    ScoreSheetOk();

    // Nothing of the old round's picking survives into the next one.
    ClearPickState();
    CompHeld.Clear();
    view_.HideHoldCard();
    PassesInRow = 0;
    ChooseMsgPending = false;

    const Status dealt = NextRound(rule);
    if (!dealt) view_.ShowRuleMessage(dealt.message());
    bool any = false;
    for (int p = 1; p <= 4; ++p) any = any || !Players[p].Empty();
    if (CurPlayer < 1 || CurPlayer > 4) CurPlayer = static_cast<std::int16_t>(StartPlayer >= 1 ? StartPlayer : 1);
    RoundEnded = !any;
    if (any) ShowPlayerHand(kHuman);
    return result;
}

RoundResult Game::RoundOver(FirstDiscardRule rule, Events& events) {
    events.clear();
    Events* const heard = std::exchange(events_, &events);
    const RoundResult result = RoundOver(rule);
    events_ = heard;
    return result;
}

bool Game::RoundIsOver() const {
    for (int p = 1; p <= 4; ++p)
        if (Players[p].Empty()) return true;
    return (PassesInRow >= kSeats && !CanDraw()) || TurnsWithoutProgress >= kStuckTurns;
}

TurnsEnd Game::FinishHumanRound() {
    NextDealRule = FirstDiscardRule::kNoSecondCard;
    // The human moved last; the round waits for its score sheet.
    if (CurPlayer < 1 || CurPlayer > 4) CurPlayer = kHuman;
    // Driven, the round waits for the score sheet's OK as a move of its own.
    if (stop_requested_ || driven_) return TurnsEnd::Stopped;
    RoundOver(FirstDiscardRule::kNoSecondCard);
    if (RoundEnded) return TurnsEnd::TableEmpty;
    if (!IsComputer(CurPlayer)) view_.SetPickedCardVisible(true);
    return RunComputerTurns();
}

// The score sheet's OK of a driven game: the round is scored and the next
// dealt, as the table goes on after a round the human or a computer ended.
void Game::AcknowledgeScore() {
    if (NextDealRule == FirstDiscardRule::kNoSecondCard) {
        RoundOver(FirstDiscardRule::kNoSecondCard);
        if (RoundEnded) return;
        if (!IsComputer(CurPlayer)) view_.SetPickedCardVisible(true);
        RunComputerTurns();
        return;
    }
    if (LastMover >= 1 && LastMover <= 4) ShowPlayerHand(LastMover);
    RoundOver(NextDealRule);
    if (RoundEnded) return;
    if (IsComputer(CurPlayer))
        BeginComputerRun();
    else
        view_.SetPickedCardVisible(true);
}

TurnsEnd Game::ResumePlay() {
    stop_requested_ = false;
    if (MoveInProgress()) return TurnsEnd::MoveRunning;
    MoveScope scope(*this);
    // A round left unscored by a stop is forgotten once the table was dealt anew.
    if (RoundEnded && !RoundIsOver()) RoundEnded = false;
    if (RoundEnded) {
        if (NextDealRule == FirstDiscardRule::kNoSecondCard) return FinishHumanRound();
        return RunComputerTurns();
    }
    if (IsComputer(CurPlayer)) return RunComputerTurns();
    if (ChoosingCards) return TurnsEnd::HumanChoosing;
    view_.SetPickedCardVisible(true);
    return TurnsEnd::HumanToPlay;
}

void Game::ClearStop() {
    stop_requested_ = false;
    RoundEnded = false;
    PassesInRow = 0;
}

}  // namespace kvt
