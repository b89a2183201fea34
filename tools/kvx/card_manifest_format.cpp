#include <string>

#include "core/card.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/manifest_syntax.h"

namespace kvt::kvx {
namespace {

std::string Count(int n, const char* singular, const char* plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

std::string DescribeAction(const Card& c) {
    const int n = c.ActionCount;
    switch (c.Action) {
        case kActionNone: return "the player plays again";
        case kActionPassLeft: return "pass " + Count(n, "card", "cards") + " left";
        case kActionPassRight: return "pass " + Count(n, "card", "cards") + " right";
        case kActionPassAcross: return "pass " + Count(n, "card", "cards") + " across";
        case kActionDrawDeck: return "the next player draws " + std::to_string(n) + " from the deck";
        case kActionDrawRight: return "draw " + std::to_string(n) + " from the player on the right";
        case kActionDrawLeft: return "draw " + std::to_string(n) + " from the player on the left";
        case kActionDrawAcross: return "draw " + std::to_string(n) + " from the player across";
        case kActionDiscard:
            return n == 0 ? "plain card" : "discard " + Count(n, "card", "cards");
        case kActionSkip: return "skip the next player";
        case kActionReverse: return "reverse the direction of play";
        default: return "action " + std::to_string(c.Action) + ", count " + std::to_string(n);
    }
}

// The comment line written above a definition's keys.
std::string DescribeCard(const Card& c) {
    const std::string cell =
        " at row " + std::to_string(c.PicRow) + ", column " + std::to_string(c.PicCol);
    switch (c.Action) {
        case kActionNeverDealt: return "never dealt";
        case kActionBackgroundCell: return "background cell" + cell;
        case kActionCardBack: return "card back" + cell;
        default: break;
    }
    const std::string group = c.Group == 0 ? "wild" : "group " + std::to_string(c.Group);
    const std::string copies = c.Copies > 0 ? Count(c.Copies, "copy", "copies") : "no copies";
    return group + ", value " + std::to_string(c.Value) + ", " + copies + ": " + DescribeAction(c);
}

void AppendSetting(std::string& out, const char* key, const std::string& value) {
    out += key;
    out += " = ";
    out += value;
    out += '\n';
}

void AppendCard(std::string& out, int index, const Card& c) {
    out += "\n[card " + std::to_string(index) + "]\n";
    if (c == Card{}) {
        out += "# empty\n";
        return;
    }
    out += "# " + DescribeCard(c) + "\n";
    AppendSetting(out, "group", std::to_string(c.Group));
    AppendSetting(out, "value", std::to_string(c.Value));
    AppendSetting(out, "action", ActionName(c.Action));
    AppendSetting(out, "count", std::to_string(c.ActionCount));
    AppendSetting(out, "copies", std::to_string(c.Copies));
    AppendSetting(out, "row", std::to_string(c.PicRow));
    AppendSetting(out, "col", std::to_string(c.PicCol));
    if (c.Reserved1 != 0) AppendSetting(out, "reserved1", std::to_string(c.Reserved1));
    if (c.Reserved2 != 0) AppendSetting(out, "reserved2", std::to_string(c.Reserved2));
    if (c.Playable != 0) AppendSetting(out, "playable", std::to_string(c.Playable));
}

}  // namespace

std::string FormatCardManifest(const CardManifest& manifest) {
    const auto header = static_cast<std::uint16_t>(manifest.Def.Header);
    const std::string tag{manifest.Tag[0], manifest.Tag[1], static_cast<char>(header & 0xFF),
                          static_cast<char>(header >> 8)};
    std::string out = "# KVT card set\n";
    AppendSetting(out, "format", "1");
    AppendSetting(out, "tag", QuoteManifestString(tag));
    AppendSetting(out, "title", QuoteManifestString(FitTitle(manifest.Def.GameTitle)));
    AppendSetting(out, "author", QuoteManifestString(manifest.Def.AuthorName));
    AppendSetting(out, "text1", QuoteManifestString(manifest.Def.Text1));
    AppendSetting(out, "text2", QuoteManifestString(manifest.Def.Text2));
    AppendSetting(out, "bitmap", QuoteManifestString(manifest.BitmapFile));
    AppendSetting(out, "sound", QuoteManifestString(manifest.SoundFile));
    if (manifest.SoundFile.empty())
        AppendSetting(out, "sound-size", std::to_string(manifest.SoundSizeWithoutSound));
    AppendSetting(out, "background", QuoteManifestString(manifest.BackgroundFile));
    for (int d = 0; d < kCardDefCount; ++d) AppendCard(out, d, manifest.Def.CardDefs[d]);
    return out;
}

}  // namespace kvt::kvx
