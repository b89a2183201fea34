#include <array>
#include <string>

#include "tools/kvx/manifest_syntax.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

// Event names of the clip slots, three variants each, from slot 0 on.
constexpr std::array<const char*, 11> kEventSlots = {"Sel",   "Comment", "Disc",  "DrawP",
                                                     "DrawL", "DrawR",   "DrawA", "PassL",
                                                     "PassR", "PassA",   "Rev"};
constexpr int kWinSlot = 33;
constexpr int kLoseSlot = 34;

void AppendSetting(std::string& out, const char* key, const std::string& value) {
    out += key;
    out += " = ";
    out += value;
    out += '\n';
}

void AppendNumber(std::string& out, const char* key, std::int16_t value) {
    AppendSetting(out, key, std::to_string(value));
}

}  // namespace

std::string CanonicalClipSlot(int index) {
    const int events = static_cast<int>(kEventSlots.size());
    if (index >= 0 && index < 3 * events)
        return kEventSlots[static_cast<std::size_t>(index / 3)] + std::to_string(index % 3 + 1);
    if (index == kWinSlot) return "wg1";
    if (index == kLoseSlot) return "lg1";
    return {};
}

std::string FormatPlayerManifest(const PlayerManifest& manifest) {
    const PlayerRec& h = manifest.Header;
    std::string out = "# KVT player\n";
    AppendSetting(out, "format", "1");
    AppendSetting(out, "tag", QuoteManifestString(std::string_view(h.Tag.data(), h.Tag.size())));
    AppendSetting(out, "name", QuoteManifestString(h.Name));
    AppendNumber(out, "trait-a", h.TraitA);
    AppendNumber(out, "trait-b", h.TraitB);
    AppendNumber(out, "trait-c", h.TraitC);
    AppendNumber(out, "trait-d", h.TraitD);
    AppendNumber(out, "sound-chance", h.SoundChance);
    if (h.Reserved1 != 0) AppendNumber(out, "reserved1", h.Reserved1);
    if (h.Reserved2 != 0) AppendNumber(out, "reserved2", h.Reserved2);
    if (h.Reserved3 != 0) AppendNumber(out, "reserved3", h.Reserved3);
    AppendSetting(out, "picture", QuoteManifestString(manifest.PictureFile));
    for (const PlayerManifestSound& sound : manifest.Sounds) {
        out += "\n[sound]\n";
        const std::string slot = CanonicalClipSlot(sound.Index);
        out += "# slot " + (slot.empty() ? std::to_string(sound.Index) : slot) + "\n";
        AppendNumber(out, "index", sound.Index);
        AppendSetting(out, "file", QuoteManifestString(sound.File));
    }
    return out;
}

PlayerManifest ManifestForPlayer(const PlayerFileContents& file) {
    PlayerManifest manifest;
    manifest.Header = file.Header;
    manifest.Header.PictureSize = 0;
    manifest.PictureFile = kPlayerPictureName;
    for (const PlayerClip& clip : file.Clips)
        manifest.Sounds.push_back({clip.Entry.SoundIndex, clip.Entry.FileName});
    return manifest;
}

}  // namespace kvt::kvx
