#pragma once

#include <cstdint>

namespace kvt {

// Action codes a card definition can carry.
enum ActionCode : std::int16_t {
    kActionNone = 0,
    kActionPassLeft = 1,
    kActionPassRight = 2,
    kActionPassAcross = 3,
    kActionDrawDeck = 4,
    kActionDrawRight = 5,
    kActionDrawLeft = 6,
    kActionDrawAcross = 7,
    kActionDiscard = 8,
    kActionSkip = 9,
    kActionReverse = 10,
    kActionNeverDealt = 13,
    kActionBackgroundCell = 98,
    kActionCardBack = 99,
};

// One card: the same ten 16-bit fields in card-set files, definitions and stacks.
struct Card {
    std::int16_t Group = 0;  // 0 = wild
    std::int16_t Value = 0;  // face value and end-of-round penalty
    std::int16_t ActionCount = 0;
    std::int16_t Action = 0;
    std::int16_t Reserved1 = 0;
    std::int16_t Reserved2 = 0;
    std::int16_t Copies = 0;
    std::int16_t PicRow = 0;
    std::int16_t PicCol = 0;
    std::int16_t Playable = 0;  // work mark, rewritten whenever a hand is examined

    bool IsWild() const { return Group == 0; }
    bool operator==(const Card&) const = default;
};

inline constexpr int kCardFields = 10;
inline constexpr int kCardRecordBytes = 2 * kCardFields;

// Geometry of a card face inside the card bitmap.
inline constexpr int kFaceWidth = 70;
inline constexpr int kFaceHeight = 95;
inline constexpr int kCellPitchX = 75;
inline constexpr int kCellPitchY = 110;
inline constexpr int kCellOffset = 5;

struct FaceRect {
    int x, y, width, height;
};

inline FaceRect FaceRectOf(const Card& card) {
    return {card.PicCol * kCellPitchX + kCellOffset, card.PicRow * kCellPitchY + kCellOffset,
            kFaceWidth, kFaceHeight};
}

}  // namespace kvt
