// The manifests of unpacked folders (cardset.txt, player.txt), read from
// arbitrary text: the first byte picks the kind, the rest is the text.
//
// Promises checked: a refusal says why and names the manifest; an accepted
// manifest, written out, reads back and writes out to the very same text.

#include "fuzz/fuzz_targets.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::fuzz {
namespace {

constexpr const char* kName = "manifest_parse";

// Parse, then format, parse and format again: the two texts must agree.
template <typename Manifest, typename Parse, typename Format>
void CheckRoundTrip(std::string_view text, std::string_view manifest_name, Parse parse, Format format) {
    Manifest first;
    const Status read = parse(text, first);
    if (!read) {
        KVT_FUZZ_CHECK(read.message().rfind(manifest_name, 0) == 0, kName,
                       "a refusal that does not name " + std::string(manifest_name) + ": " + read.message());
        return;
    }
    const std::string written = format(first);
    Manifest second;
    const Status again = parse(written, second);
    KVT_FUZZ_CHECK(again.ok(), kName, "an accepted manifest, written out, is refused: " + again.message());
    KVT_FUZZ_CHECK(format(second) == written, kName,
                   "an accepted manifest, written out and read back, writes out differently at offset " +
                       std::to_string(FirstDifference(format(second), written)));
}

}  // namespace

int ManifestParse(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        CheckRoundTrip<kvx::PlayerManifest>(
            text, kvx::kPlayerManifestName,
            [](std::string_view t, kvx::PlayerManifest& m) { return kvx::ParsePlayerManifest(t, m); },
            [](const kvx::PlayerManifest& m) { return kvx::FormatPlayerManifest(m); });
    } else {
        CheckRoundTrip<kvx::CardManifest>(
            text, kvx::kCardManifestName,
            [](std::string_view t, kvx::CardManifest& m) { return kvx::ParseCardManifest(t, m); },
            [](const kvx::CardManifest& m) { return kvx::FormatCardManifest(m); });
    }
    return 0;
}

}  // namespace kvt::fuzz
