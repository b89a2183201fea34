#include "tools/sim/options.h"

#include <charconv>
#include <string_view>

namespace kvt::sim {
namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool IsOption(std::string_view arg) { return arg.size() > 2 && arg.substr(0, 2) == "--"; }

}  // namespace

const char* UsageText() {
    return "Usage: kvt-sim [--cards F.cds] [--players A.dpf B.dpf C.dpf [D.dpf]] [--games N]\n"
           "               [--seed S] [--jobs N] [--json] [--check] [--signature] [--trace FILE]\n"
           "               [--progress] [--record FILE | --replay FILE]\n"
           "Plays N complete seeded games with four computer players, headless, and\n"
           "prints what happened.\n"
           "  --cards F       card set to play (default: the shipped default.cds)\n"
           "  --players ...   player files for seats 2..4; a fourth one plays seat 1\n"
           "                  (default: the first three shipped players by name)\n"
           "  --games N       games to play (default 1)\n"
           "  --seed S        seed of the shuffles and choices (default 1); game n is\n"
           "                  dealt from the n-th SplitMix64 output of S\n"
           "  --jobs N        games played at once on N threads (default: every core,\n"
           "                  at most 256 and no more than the games);\n"
           "                  the output is the same for any N\n"
           "  --json          print the figures as one JSON object\n"
           "  --check         check the table after every move; exit 3 on a fault\n"
           "  --signature     print only a hash of every round's scores and hands\n"
           "  --trace FILE    write one JSON line per computer move and per round\n"
           "  --progress      write \"progress DONE TOTAL\" lines to standard error as\n"
           "                  games end (about a hundred in a run)\n"
           "  --record FILE   also write the record of the game (with --games 1) to FILE\n"
           "  --replay FILE   replay the game record FILE with the card set and players\n"
           "                  given, instead of playing; prints one line, exit 1 if it fails\n"
           "  --help, --version\n"
           "Set KVT_SIM_NO_TIME=1 to leave the timing and process figures out of the output.\n"
           "Exit status: 0 done, 1 a file could not be used, 2 bad arguments, 3 a check failed.\n";
}

ParseResult ParseOptions(int argc, char** argv, Options& out, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&](std::string_view& v) {
            if (i + 1 >= argc) {
                error = "option " + std::string(arg) + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        std::string_view v;
        if (arg == "--help" || arg == "-h") return ParseResult::Help;
        if (arg == "--version") return ParseResult::Version;
        if (arg == "--json") {
            out.Json = true;
        } else if (arg == "--progress") {
            out.Progress = true;
        } else if (arg == "--check") {
            out.Check = true;
        } else if (arg == "--signature") {
            out.Signature = true;
        } else if (arg == "--cards") {
            if (!value(v)) return ParseResult::Error;
            out.Cards = std::string(v);
        } else if (arg == "--trace") {
            if (!value(v)) return ParseResult::Error;
            out.Trace = std::string(v);
        } else if (arg == "--record" || arg == "--replay") {
            if (!value(v)) return ParseResult::Error;
            (arg == "--record" ? out.Record : out.Replay) = std::string(v);
        } else if (arg == "--games") {
            if (!value(v)) return ParseResult::Error;
            if (!ParseNumber(v, out.Games) || out.Games < 1) {
                error = "--games wants a whole number of at least 1, not \"" + std::string(v) + "\"";
                return ParseResult::Error;
            }
        } else if (arg == "--seed") {
            if (!value(v)) return ParseResult::Error;
            if (!ParseNumber(v, out.Seed)) {
                error = "--seed wants a whole number from 0 to 2^64-1, not \"" + std::string(v) + "\"";
                return ParseResult::Error;
            }
        } else if (arg == "--jobs") {
            if (!value(v)) return ParseResult::Error;
            if (!ParseNumber(v, out.Jobs) || out.Jobs < 1) {
                error = "--jobs wants a whole number of at least 1, not \"" + std::string(v) + "\"";
                return ParseResult::Error;
            }
        } else if (arg == "--players") {
            out.Players.clear();
            while (i + 1 < argc && !IsOption(argv[i + 1])) out.Players.emplace_back(argv[++i]);
            if (out.Players.size() != 3 && out.Players.size() != 4) {
                error = "--players wants 3 or 4 player files, not " + std::to_string(out.Players.size());
                return ParseResult::Error;
            }
        } else {
            error = "unknown argument \"" + std::string(arg) + "\"";
            return ParseResult::Error;
        }
    }
    if (!out.Record.empty() && (out.Games != 1 || !out.Replay.empty())) {
        error = "--record writes the record of one game: use it with --games 1 and without --replay";
        return ParseResult::Error;
    }
    return ParseResult::Run;
}

}  // namespace kvt::sim
