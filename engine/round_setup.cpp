#include "engine/game.h"

namespace kvt {

// No Play of the human's half laid.
void Game::PrepareTableForFirstTurn() { ClearPickState(); }

void Game::NewGame() {
    ResetHands();
    BuildDeck(CardSet);
    ShuffleStack(DrawDeck);
    DealHands();
    TurnUpFirstCard(FirstDiscardRule::kWildOrPlain);
    PrepareTableForFirstTurn();
    for (int p = 1; p <= 4; ++p) Scores[p] = 0;
    SheetRows = {};
    RoundNum = 0;
}

void Game::DealFromSeed(const TableState& fresh, std::uint64_t seed) {
    State() = fresh;
    Generator = Random(seed);
    CompHeld.Clear();
    NewGame();
}

void Game::DealForPlayers() {
    // Dealing on top of a game in play would add seven cards to every hand:
    // a table in play starts afresh instead.
    if (TableInPlay()) {
        NewGame();
        return;
    }
    ShuffleStack(DrawDeck);
    DealHands();
    TurnUpFirstCard(FirstDiscardRule::kWildOrPlain);
    PrepareTableForFirstTurn();
}

Status Game::NextRound(FirstDiscardRule rule) {
    ResetHands();
    // Without any readable card set file the round goes on with the card set
    // in memory; the message still tells the caller what went wrong.
    Status reloaded = Status::Ok();
    if (ReloadEachRound) reloaded = ReloadForRound();
    else BuildDeck(CardSet);
    if (!reloaded) BuildDeck(CardSet);
    if (DrawDeck.Empty()) return reloaded;
    ShuffleStack(DrawDeck);
    DealHands();
    TurnUpFirstCard(rule);
    CurPlayer = StartPlayer;
    return reloaded;
}

}  // namespace kvt
