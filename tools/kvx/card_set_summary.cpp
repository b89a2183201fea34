#include "tools/kvx/card_set_summary.h"

#include <cstdio>

#include "tools/kvx/card_manifest.h"

namespace kvt::kvx {
namespace {

// Card-set texts are single-byte characters of unknown encoding; anything
// outside printable ASCII is shown as \xNN so the terminal is never confused.
std::string Printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            out += c;
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(u));
            out += hex;
        }
    }
    return out;
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

void Line(std::string& out, const char* label, const std::string& value) {
    char head[24];
    std::snprintf(head, sizeof head, "%-17s", label);
    out += head;
    out += value;
    out += '\n';
}

std::string Bytes(std::size_t size) { return std::to_string(size) + " bytes"; }

std::string CellWithAction(const CardSetDef& def, int action) {
    const int d = FindDefinition(def, action);
    if (d < 0) return "none";
    const Card& c = def.CardDefs[d];
    return "definition " + std::to_string(d) + ", row " + std::to_string(c.PicRow) + ", column " +
           std::to_string(c.PicCol);
}

void DefinitionTable(std::string& out, const CardSetDef& def) {
    char row[128];
    std::snprintf(row, sizeof row, "  %5s %5s %6s  %-15s %5s %6s %4s %4s\n", "index", "group",
                  "value", "action", "count", "copies", "row", "col");
    out += row;
    for (int d = 0; d < kCardDefCount; ++d) {
        const Card& c = def.CardDefs[d];
        if (c == Card{}) continue;
        std::snprintf(row, sizeof row, "  %5d %5d %6d  %-15s %5d %6d %4d %4d\n", d, c.Group, c.Value,
                      ActionName(c.Action).c_str(), c.ActionCount, c.Copies, c.PicRow, c.PicCol);
        out += row;
    }
}

}  // namespace

std::string SummarizeCardSet(const CardSetFile& file) {
    const CardSetDef& def = file.Def;
    std::string out;
    Line(out, "Title:", Printable(TrimBlanks(def.GameTitle)));
    Line(out, "Author:", Printable(def.AuthorName));
    if (!def.Text1.empty()) Line(out, "Text 1:", Printable(def.Text1));
    if (!def.Text2.empty()) Line(out, "Text 2:", Printable(def.Text2));
    char header[16];
    std::snprintf(header, sizeof header, "0x%04X", static_cast<unsigned>(static_cast<std::uint16_t>(def.Header)));
    Line(out, "Tag:", "\"" + Printable(std::string_view(file.Tag.data(), file.Tag.size())) +
                          "\" (header " + header + ")");
    out += "Definitions:\n";
    DefinitionTable(out, def);
    Line(out, "Deck:", std::to_string(DeckSize(def)) + " cards");
    Line(out, "Card back:", CellWithAction(def, kActionCardBack));
    Line(out, "Background cell:", CellWithAction(def, kActionBackgroundCell));
    Line(out, "Bitmap:", Bytes(file.Bitmap.size()));
    Line(out, "Sound:", file.HasSound() ? Bytes(file.Sound.size()) : "none");
    Line(out, "Background:", file.Background.empty() ? "none" : Bytes(file.Background.size()));
    return out;
}

}  // namespace kvt::kvx
