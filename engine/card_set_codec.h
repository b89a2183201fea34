#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/card_set.h"
#include "engine/status.h"

namespace kvt {

// A whole card-set file (.cds) as stored: the tag, the definition, and the
// embedded bitmap, opening sound and table background.
struct CardSetFile {
    std::array<char, 4> Tag{{'K', 'V', 'T', 'C'}};
    CardSetDef Def;
    std::string Bitmap;
    // The sound size field as stored; 0 and 1 both mean "no sound" and carry no bytes.
    std::int32_t SoundSize = 0;
    std::string Sound;
    std::string Background;  // empty: no background of its own

    bool HasSound() const { return SoundSize > 1; }
    bool operator==(const CardSetFile&) const = default;
};

// Offset of the definition inside a .cds file (after the two tag bytes that
// are not part of it).
inline constexpr std::size_t kDefOffsetInCardSet = 2;
// Upper bound on a card-set file we are prepared to read.
inline constexpr std::size_t kMaxCardSetFileBytes = 256u * 1024u * 1024u;

// "CurCards.cdf": Header, the 81 definitions, three counted texts, the title.
std::string EncodeCardSetDef(const CardSetDef& def);
Status DecodeCardSetDef(std::string_view bytes, CardSetDef& out);

std::string EncodeCardSetFile(const CardSetFile& file);
// Decodes and validates a whole .cds image; `out` is only written on success.
Status DecodeCardSetFile(std::string_view bytes, CardSetFile& out);

// Checks that a definition can be played: sensible deck size, groups and
// picture positions. The message says what is wrong.
Status ValidateCardSetDef(const CardSetDef& def);

}  // namespace kvt
