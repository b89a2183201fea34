#pragma once

// Helpers shared by the rule files; not part of the Game's interface.

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/matching.h"
#include "engine/game.h"
#include "core/seats.h"

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
// Below 2^52 adding and taking away 2^52 rounds exactly so, without the
// library call that guards the rounding mode.
inline std::int16_t Round16(double v) {
    if (std::isnan(v)) return 0;
    constexpr double kNoFraction = 0x1p52;
    const double magnitude = std::fabs(v);
    const double r = magnitude < kNoFraction ? std::copysign((magnitude + kNoFraction) - kNoFraction, v) : v;
    if (r >= 32767.0) return std::numeric_limits<std::int16_t>::max();
    if (r <= -32768.0) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(r);
}

}  // namespace kvt
