#pragma once

namespace kvt {

inline constexpr int kHuman = 1;
inline constexpr int kSeats = 4;

// Wraps any seat number into 1..4.
constexpr int WrapSeat(int seat) {
    int s = (seat - 1) % kSeats;
    if (s < 0) s += kSeats;
    return s + 1;
}

constexpr int LeftOf(int player) { return WrapSeat(player + 1); }
constexpr int RightOf(int player) { return WrapSeat(player - 1); }
constexpr int AcrossFrom(int player) { return WrapSeat(player + 2); }

// The seat that follows `player` in the direction of play (reversed: 0 or 1).
constexpr int NextSeat(int player, int reversed) {
    return reversed ? RightOf(player) : LeftOf(player);
}

}  // namespace kvt
