#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/card_set.h"
#include "core/status.h"

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

// The same, decoded in place: the embedded files are views into the bytes
// the image was decoded from, which must outlive it.
struct CardSetImage {
    std::array<char, 4> Tag{};
    CardSetDef Def;
    std::string_view Bitmap;
    std::int32_t SoundSize = 0;
    std::string_view Sound;
    std::string_view Background;

    bool HasSound() const { return SoundSize > 1; }
};

// Where the parts of a card-set file lie, found without reading the
// embedded files themselves.
struct ByteRange {
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
};

struct CardSetLayout {
    std::array<char, 4> Tag{};
    CardSetDef Def;
    ByteRange Bitmap;
    std::int32_t SoundSize = 0;
    ByteRange Sound;
    ByteRange Background;
};

// Reads n bytes at an offset of the file; false when they are not all there.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t n, char* out)>;

// Offset of the definition inside a .cds file (after the two tag bytes that
// are not part of it).
inline constexpr std::size_t kDefOffsetInCardSet = 2;
// Upper bound on a card-set file we are prepared to read.
inline constexpr std::size_t kMaxCardSetFileBytes = 256u * 1024u * 1024u;
// The tag, the definition and three texts of the greatest length.
inline constexpr std::size_t kMaxHeadBytes = 2 + 2 + 81 * kCardRecordBytes + 3 * (2 + 32767) + kTitleLength;

// "CurCards.cdf": Header, the 81 definitions, three counted texts, the title.
std::string EncodeCardSetDef(const CardSetDef& def);
Status DecodeCardSetDef(std::string_view bytes, CardSetDef& out);

std::string EncodeCardSetFile(const CardSetFile& file);
// Finds and checks the layout of a whole .cds file of the given size,
// validating the definition; `out` is only written on success.
Status DecodeCardSetLayout(std::uint64_t file_size, const ReadAt& read_at, CardSetLayout& out);

// Decode and validate a whole .cds image; `out` is only written on success.
Status DecodeCardSetImage(std::string_view bytes, CardSetImage& out);
Status DecodeCardSetFile(std::string_view bytes, CardSetFile& out);

// Checks that a definition can be played: sensible deck size, groups and
// picture positions. The message says what is wrong.
Status ValidateCardSetDef(const CardSetDef& def);

// Everything ValidateCardSetDef objects to, in the order it would report it;
// `definition` is the index a problem belongs to, -1 for the set as a whole.
struct CardSetProblem {
    int definition = -1;
    std::string message;
};
std::vector<CardSetProblem> ListCardSetProblems(const CardSetDef& def);

}  // namespace kvt
