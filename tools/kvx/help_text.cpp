#include "tools/kvx/help_text.h"

#include <algorithm>

namespace kvt::kvx {
namespace {

constexpr const char* kManifestHelp = R"(An unpacked card set is a folder holding cardset.txt and the files it names.
cardset.txt has one "key = value" per line; lines starting with # are comments.
Strings are double-quoted with the escapes \\ \" \n \r \t \xNN; numbers are decimal.

  format = 1
  tag = "KVTC"                 4 bytes; the last two are the definition header
  title = "Four Winds"         at most 30 characters, blank-padded to 30
  author = "..."               also text1 and text2: texts carried with the set
  bitmap = "cards.bmp"         card faces (BMP), required
  sound = "open.wav"           or "" for none, with optional sound-size = 0|1
  background = ""              table background (BMP), "" for none

  [card 0] ... [card 80]       one section per definition; missing keys are 0
  keys: group, value, action, count, copies, row, col, reserved1, reserved2, playable

Actions: again, pass-left, pass-right, pass-across, draw-deck, draw-right,
draw-left, draw-across, discard, skip, reverse, never-dealt, background-cell,
card-back, or a number. docs/file-formats.md describes the formats in full.
)";

}  // namespace

std::string CommandUsage(const Command& command) {
    return "kvx " + std::string(command.name) + " " + std::string(command.operands_synopsis);
}

std::string HelpText(const std::vector<Command>& table) {
    std::size_t width = 0;
    for (const Command& c : table) width = std::max(width, CommandUsage(c).size());
    std::string out =
        "kvx: check, describe, unpack and pack KVT card sets and player files.\n"
        "kvx alone, or kvx FILE.cds, opens the card-set designer window; kvx FILE.dpf the player-file window.\n\nUsage:\n";
    for (const Command& c : table) {
        std::string usage = CommandUsage(c);
        usage.resize(width, ' ');
        out += "  " + usage + "  " + std::string(c.summary) + "\n";
    }
    out += "  kvx --help | help | COMMAND --help\n";
    out += "  kvx --version\n\n";
    out += "Exit status: 0 success, 1 failure, 2 wrong usage.\n\n";
    out += kManifestHelp;
    return out;
}

}  // namespace kvt::kvx
