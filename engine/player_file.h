#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/player_record.h"
#include "engine/card_set_codec.h"
#include "core/status.h"

namespace kvt {

// Upper bound on a player file we are prepared to read.
inline constexpr std::uint64_t kMaxPlayerFileBytes = 64u * 1024u * 1024u;
// More entries than any designer writes; keeps a hostile file from making
// us hold millions of tiny entries.
inline constexpr std::size_t kMaxPlayerClips = 1024;
inline constexpr int kMaxSoundIndex = 50;
inline constexpr std::size_t kMaxClipNameLength = 64;
// What an opponent's folder calls its picture and its selection clip.
inline constexpr const char* kPlayerPictureName = "Player.bmp";
inline constexpr const char* kSelectionClipName = "Sel1.wav";

// Where the parts of a player file lie, found without reading the picture
// or the clips themselves.
struct PlayerClipLayout {
    PlayerSoundEntry Entry;
    ByteRange Bytes;
};

struct PlayerLayout {
    PlayerRec Header;
    ByteRange Picture;
    std::vector<PlayerClipLayout> Clips;  // in file order
};

// A whole player file in memory, for the tools.
struct PlayerClip {
    PlayerSoundEntry Entry;
    std::string Bytes;

    bool operator==(const PlayerClip&) const = default;
};

struct PlayerFileContents {
    PlayerRec Header;
    std::string Picture;
    std::vector<PlayerClip> Clips;

    bool operator==(const PlayerFileContents&) const = default;
};

// Reads and checks the header and that the picture fits in the file; the
// sound entries are not looked at. `out` is only written on success.
Status DecodePlayerHeader(std::uint64_t file_size, const ReadAt& read_at, PlayerRec& out);

// Finds and checks every part of a whole player file of the given size.
// `out` is only written on success.
Status DecodePlayerLayout(std::uint64_t file_size, const ReadAt& read_at, PlayerLayout& out);

// The same for a file in memory; PictureSize and every Length agree with the bytes.
Status DecodePlayerFile(std::string_view bytes, PlayerFileContents& out);

// Sizes are written from the picture and clip bytes, not from PictureSize or
// Length. Callers keep the name within 32767 bytes and clip names within
// kMaxClipNameLength; decoding the result is the full check.
std::string EncodePlayerFile(const PlayerFileContents& file);

// Why a clip may not be called this, or "" when it may. Clips are written
// straight into an opponent's folder, so only plain names of their own pass.
std::string PlayerClipNameFault(std::string_view name);

// Clip names are compared without regard to (ASCII) case: this is the key.
std::string FoldClipName(std::string_view name);

// A name as messages show it: quoted, with unprintable bytes as \xNN.
std::string QuotedClipName(std::string_view name);

// The order in which to write the clips into one folder after the picture:
// shorter names first. A file is written under "<name>.tmp" and renamed, and
// only a longer clip, not yet written, can bear that temporary name.
std::vector<std::size_t> ClipWriteOrder(const std::vector<PlayerClipLayout>& clips);

}  // namespace kvt
