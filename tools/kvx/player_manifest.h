#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/player_file.h"
#include "core/status.h"

namespace kvt::kvx {

// Name of the manifest inside an unpacked player folder.
inline constexpr const char* kPlayerManifestName = "player.txt";

// One [sound] section: the entry's slot and the file that is both its bytes
// (in the manifest's folder) and the name stored in the player file.
struct PlayerManifestSound {
    std::int16_t Index = 0;
    std::string File;

    bool operator==(const PlayerManifestSound&) const = default;
};

// What a player manifest says: the header (PictureSize is not used), the
// picture's file name and the sound entries in file order.
struct PlayerManifest {
    PlayerRec Header;
    std::string PictureFile;
    std::vector<PlayerManifestSound> Sounds;

    bool operator==(const PlayerManifest&) const = default;
};

// Manifest text <-> PlayerManifest. Parsing reports a fault as
// "player.txt, line N: ..."; the second form names `source` instead.
std::string FormatPlayerManifest(const PlayerManifest& manifest);
Status ParsePlayerManifest(std::string_view text, PlayerManifest& out);
Status ParsePlayerManifest(std::string_view text, std::string_view source, PlayerManifest& out);
Status ReadPlayerManifest(const std::filesystem::path& manifest_path, PlayerManifest& out);

// The designer's name for a slot we number canonically ("Sel1", "wg1"), or "".
std::string CanonicalClipSlot(int index);

// The manifest describing a player file unpacked under the usual names.
PlayerManifest ManifestForPlayer(const PlayerFileContents& file);

// An unpacked folder <-> a player file. Unpacking creates the folder if
// needed and writes the picture, the clips and then the manifest (files of
// the same names are replaced). Packing reads the manifest and the files it
// names, and only succeeds when the result decodes to exactly what was read.
// Whether a player file can be unpacked: the same rule for check and unpack.
Status CheckUnpackable(const PlayerFileContents& file);
// Reads and decodes a whole player file; the message names the file.
Status ReadPlayerFile(const std::string& path, PlayerFileContents& out);
// Sets PictureSize and every Length from the bytes, and checks that the file
// reads back exactly as it will be written: what pack-player writes.
Status SealPlayerFile(PlayerFileContents& file);
Status UnpackPlayer(const PlayerFileContents& file, const std::filesystem::path& folder);
Status PackPlayer(const std::filesystem::path& folder, PlayerFileContents& out);

}  // namespace kvt::kvx
