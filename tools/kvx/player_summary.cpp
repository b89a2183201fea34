#include "tools/kvx/player_summary.h"

#include <cstdio>

#include "tools/kvx/manifest_syntax.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

void Line(std::string& out, const char* label, const std::string& value) {
    char head[24];
    std::snprintf(head, sizeof head, "%-17s", label);
    out += head;
    out += value;
    out += '\n';
}

std::string Bytes(std::size_t size) { return std::to_string(size) + (size == 1 ? " byte" : " bytes"); }

void ClipTable(std::string& out, const std::vector<PlayerClip>& clips) {
    char row[96];
    std::snprintf(row, sizeof row, "  %5s  %-8s %10s  %s\n", "index", "slot", "bytes", "file");
    out += row;
    for (const PlayerClip& clip : clips) {
        const std::string slot = CanonicalClipSlot(clip.Entry.SoundIndex);
        std::snprintf(row, sizeof row, "  %5d  %-8s %10zu  ", clip.Entry.SoundIndex,
                      slot.empty() ? "-" : slot.c_str(), clip.Bytes.size());
        out += row;
        // Names may hold any byte but control characters: quoted, they cannot upset a terminal.
        out += QuoteManifestString(clip.Entry.FileName) + "\n";
    }
}

}  // namespace

std::string SummarizePlayer(const PlayerFileContents& file) {
    const PlayerRec& h = file.Header;
    std::string out;
    Line(out, "Name:", QuoteManifestString(h.Name));
    Line(out, "Tag:", QuoteManifestString(std::string_view(h.Tag.data(), h.Tag.size())));
    Line(out, "Trait A:", std::to_string(h.TraitA));
    Line(out, "Trait B:", std::to_string(h.TraitB));
    Line(out, "Trait C:", std::to_string(h.TraitC));
    Line(out, "Trait D:", std::to_string(h.TraitD));
    Line(out, "Sound chance:", std::to_string(h.SoundChance));
    if (h.Reserved1 != 0 || h.Reserved2 != 0 || h.Reserved3 != 0)
        Line(out, "Reserved:", std::to_string(h.Reserved1) + ", " + std::to_string(h.Reserved2) + ", " +
                                   std::to_string(h.Reserved3));
    Line(out, "Picture:", Bytes(file.Picture.size()));
    Line(out, "Clips:", file.Clips.empty() ? std::string("none") : std::to_string(file.Clips.size()));
    if (!file.Clips.empty()) ClipTable(out, file.Clips);
    return out;
}

}  // namespace kvt::kvx
