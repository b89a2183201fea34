#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kvt {

// One opponent's header as a player file stores it. The members the table
// does not read are carried unchanged.
struct PlayerRec {
    std::array<char, 4> Tag{{'K', 'V', 'T', 'P'}};  // format tag; never checked on reading
    std::string Name;
    std::int32_t PictureSize = 0;
    std::int16_t TraitA = 0;  // a percentage: weight of a card's value in the computer's choice
    std::int16_t TraitB = 0;  // scales the largest other hand in that value score
    std::int16_t TraitC = 0;  // a percentage: weight of matching group and value cards
    std::int16_t Reserved1 = 0;
    std::int16_t TraitD = 0;  // multiplies the count of matching cards
    std::int16_t Reserved2 = 0;
    std::int16_t SoundChance = 0;  // how readily the player's clips play: 2 or less never, 100 nearly always
    std::int16_t Reserved3 = 0;

    bool operator==(const PlayerRec&) const = default;
};

// The computer that sits at seat 1 when no player file is given for it: the
// simulator's own, which game records name with hash 0.
inline PlayerRec BuiltInComputer() {
    PlayerRec computer;
    computer.Name = "Computer";
    computer.TraitA = 50;
    computer.TraitB = 0;
    computer.TraitC = 50;
    computer.TraitD = 5;
    return computer;
}

// Header of one sound clip inside a player file.
struct PlayerSoundEntry {
    std::int16_t SoundIndex = 0;  // 0..50, the clip's slot in the designer's list
    std::string FileName;         // e.g. "Sel1.wav"
    std::int32_t Length = 0;      // clip bytes that follow

    bool operator==(const PlayerSoundEntry&) const = default;
};

}  // namespace kvt
