#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kvt::sim {

// What the command line asks of the simulator.
struct Options {
    std::filesystem::path Cards;                 // empty: the shipped default card set
    std::vector<std::filesystem::path> Players;  // empty, or 3 (seats 2..4) or 4 (seats 2..4, then 1)
    long Games = 1;
    std::uint64_t Seed = 1;
    int Jobs = 0;  // threads; 0: every core
    bool Json = false;
    bool Check = false;
    bool Signature = false;
    bool Progress = false;  // "progress DONE TOTAL" lines on standard error
    std::filesystem::path Trace;  // empty: no trace
    std::filesystem::path Record;  // empty: no record; else the game's record is written there
    std::filesystem::path Replay;  // empty: play; else the record to replay instead
};

enum class ParseResult { Run, Help, Version, Error };

// Reads argv into `out`; on Error, `error` says what was wrong.
ParseResult ParseOptions(int argc, char** argv, Options& out, std::string& error);

const char* UsageText();

}  // namespace kvt::sim
