#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/card_set_codec.h"
#include "core/status.h"

namespace kvt::kvx {

// Name of the manifest inside an unpacked card-set folder.
inline constexpr const char* kCardManifestName = "cardset.txt";

// What a card-set manifest says: the whole definition plus the names of the
// embedded files, relative to the manifest's folder. An empty name means the
// card set has no such file.
struct CardManifest {
    std::array<char, 4> Tag{{'K', 'V', 'T', 'C'}};  // bytes 2-3 are also Def.Header
    CardSetDef Def;
    std::string BitmapFile;
    std::string SoundFile;
    std::int32_t SoundSizeWithoutSound = 0;  // the stored size when there is no sound: 0 or 1
    std::string BackgroundFile;
};

// Action names used in manifests ("pass-left", "discard", "card-back", ...).
std::string ActionName(int action);
// Accepts a name or a decimal number; false for anything else.
bool ParseActionName(std::string_view text, std::int16_t& action);

// Manifest text <-> CardManifest. Parsing reports the line of a fault as
// "cardset.txt, line N: ..."; the second form names `source` instead.
// The tag's bytes 2-3 are written from Def.Header, which is what a card-set
// file stores there; parsing sets Def.Header from the tag.
std::string FormatCardManifest(const CardManifest& manifest);
Status ParseCardManifest(std::string_view text, CardManifest& out);
Status ParseCardManifest(std::string_view text, std::string_view source, CardManifest& out);

// Reads a manifest file. It does not look for the files the manifest names.
Status ReadCardManifest(const std::filesystem::path& manifest_path, CardManifest& out);

// The manifest describing a card-set file unpacked under the usual names.
CardManifest ManifestForCardSet(const CardSetFile& file);

// An unpacked folder <-> a card-set file image. Unpacking creates the folder
// if needed and writes the embedded files and the manifest into it (existing
// files of the same names are replaced). Packing reads the manifest and the
// files it names, and only succeeds when the result encodes to a file that
// decodes and validates again.
Status UnpackCardSet(const CardSetFile& file, const std::filesystem::path& folder);
Status PackCardSet(const std::filesystem::path& folder, CardSetFile& out);

}  // namespace kvt::kvx
