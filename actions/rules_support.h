#pragma once

// Helpers shared by the rule files; not part of the Game's interface.

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/game.h"
#include "engine/seats.h"

namespace kvt {

// Marks a rule operation that moves cards, for MoveInProgress.
class MoveScope {
public:
    explicit MoveScope(Game& game) : game_(game) { ++game_.move_depth_; }
    ~MoveScope() { --game_.move_depth_; }
    MoveScope(const MoveScope&) = delete;
    MoveScope& operator=(const MoveScope&) = delete;

private:
    Game& game_;
};

// The rules count in 16 bits; where a result would not fit it stays at the
// nearest end instead of wrapping round.
inline std::int16_t Sat16(long long v) {
    if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (v < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(v);
}

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline std::int16_t Round16(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    if (r >= 32767.0) return std::numeric_limits<std::int16_t>::max();
    if (r <= -32768.0) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(r);
}

// The matching rule itself: same group; same action with a count (not for
// Discard); same action and value; or a wild card. Written without early
// returns: the cards come in no predictable order, so branches would mostly
// be guessed wrong.
inline bool Matches(const Card& card, const Card& top) {
    const bool same_group = card.Group == top.Group;
    const bool counted = (card.Action != kActionDiscard) & (card.ActionCount != 0);
    const bool same_action = (card.Action == top.Action) & (counted | (card.Value == top.Value));
    const bool wild = card.IsWild();
    return same_group | same_action | wild;
}

// Whether a card may go on the pile. The pile is never empty in play; should
// it be, anything may start it. Inline, as a hand is marked card by card.
inline bool PlayableOn(const Card& card, const CardStack& pile) {
    return pile.Empty() || Matches(card, pile.Top());
}

inline constexpr int kLastGroupDefinition = 77;  // the computer's group card comes from 0..77
inline constexpr int kWildButtonGroups = 10;     // groups the human's choice offers

inline bool IsPassAction(int action) {
    return action == kActionPassLeft || action == kActionPassRight || action == kActionPassAcross;
}
inline bool IsTakeAction(int action) {
    return action == kActionDrawRight || action == kActionDrawLeft || action == kActionDrawAcross;
}
inline bool IsPictureOnly(int action) {
    return action == kActionNeverDealt || action == kActionBackgroundCell || action == kActionCardBack;
}

}  // namespace kvt
