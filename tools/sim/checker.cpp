#include "tools/sim/checker.h"

#include <algorithm>
#include <cstdint>

namespace kvt::sim {
namespace {

template <typename F>
void ForEachStack(const Game& game, F&& f) {
    for (const CardStack* s : {&game.DrawDeck, &game.DiscardPile, &game.Players[1], &game.Players[2],
                               &game.Players[3], &game.Players[4], &game.CompHeld})
        f(*s);
}

}  // namespace

int Checker::CardsOnTable(const Game& game) {
    int n = 0;
    ForEachStack(game, [&](const CardStack& s) { n += s.Count(); });
    return n;
}

void Checker::StartRound(const Game& game) {
    dealt_ = CardsOnTable(game);
    group_cards_at_deal_ = game.GroupCardsAdded;
}

void Checker::StartGame(const Game& game) {
    for (int p = 1; p <= 4; ++p) scores_[p] = game.Scores[p];
}

std::string Checker::AfterMove(const Game& game) const {
    if (game.CurPlayer < 1 || game.CurPlayer > 4) return "CurPlayer is " + std::to_string(game.CurPlayer);
    std::string overfull;
    ForEachStack(game, [&](const CardStack& s) {
        if (overfull.empty() && s.Count() > CardStack::Capacity)
            overfull = "a stack holds " + std::to_string(s.Count()) + " cards";
    });
    if (!overfull.empty()) return overfull;
    const std::int64_t expected = dealt_ + (game.GroupCardsAdded - group_cards_at_deal_);
    const int now = CardsOnTable(game);
    if (now != expected)
        return "cards not conserved: " + std::to_string(now) + " on the table, " + std::to_string(expected) + " expected";
    return "";
}

void Checker::BeforeScoring(const Game& game) {
    for (int p = 1; p <= 4; ++p) {
        round_scores_[p] = 0;
        for (const Card& c : game.Players[p]) round_scores_[p] += c.Value;
    }
}

std::string Checker::AfterScoring(const std::array<std::int16_t, 5>& totals) {
    for (int p = 1; p <= 4; ++p) {
        // Totals are 16-bit and stop at either end rather than wrap.
        const long long expected = std::clamp<long long>(scores_[p] + round_scores_[p], INT16_MIN, INT16_MAX);
        if (totals[p] != expected)
            return "score of seat " + std::to_string(p) + " went from " + std::to_string(scores_[p]) + " to " +
                   std::to_string(totals[p]) + ", but its hand counted " + std::to_string(round_scores_[p]);
        scores_[p] = totals[p];
    }
    return "";
}

}  // namespace kvt::sim
