#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/card_set_codec.h"
#include "engine/game.h"

namespace kvt::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& Path() const { return path_; }
    fs::path operator/(std::string_view name) const { return path_ / name; }

private:
    fs::path path_;
};

// Records the loaders' notices in order, as short strings.
class RecordingView : public LoadNotices {
public:
    std::vector<std::string> calls;

    void ShowCardBack(const Card& c) override { calls.push_back("ShowCardBack " + N(c.PicRow) + "," + N(c.PicCol)); }
    void ShowLoading() override { calls.push_back("ShowLoading"); }
    void SetLoadingGauge(int value, int maximum) override { calls.push_back("Gauge " + N(value) + "/" + N(maximum)); }
    void HideLoading() override { calls.push_back("HideLoading"); }
    void ShowPlayerWait() override { calls.push_back("ShowPlayerWait"); }
    void HidePlayerWait() override { calls.push_back("HidePlayerWait"); }
    void ShowLoadProblem(const std::string&) override { calls.push_back("ShowLoadProblem"); }

    int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

private:
    static std::string N(int n) { return std::to_string(n); }
};

// A definition with the given fields; the rest 0.
Card Def(int group, int value, int action, int count, int copies, int row = 0, int col = 0);
Card NumberedCard(int value);
// The values of the cards of a stack, from the bottom.
std::vector<int> ValuesOf(const CardStack& stack);

// A playable card set: four groups of numbers 1..9, two copies each (72
// cards), a card back in definition 80 at row 4, column 3.
CardSetDef SampleCardSet();

// A whole card-set file around a definition, with an embedded bitmap of the
// given size (filled with a recognisable pattern), optional sound and background.
CardSetFile SampleCardSetFile(const CardSetDef& def, std::size_t bitmap_bytes = 2500,
                              std::int32_t sound_size = 0, std::size_t background_bytes = 0);

void WriteBytes(const fs::path& path, const std::string& bytes);
// Writes the encoded card set to `path` and returns the path.
fs::path WriteCardSet(const fs::path& path, const CardSetFile& file);
std::string ReadBytes(const fs::path& path);
// The regular files directly in `folder`: name -> bytes.
std::map<std::string, std::string> FilesIn(const fs::path& folder);

// A game on temporary folders: settings, working folder and shipped data
// with a "default.cds" of its own.
struct TableFixture {
    TableFixture();
    fs::path Root() const { return temp_.Path(); }
    Folders folders;
    RecordingView view;
    std::unique_ptr<Game> game;
    std::unique_ptr<Game> NewGameObject(std::uint64_t seed = 7);

private:
    TempDir temp_;
};

// What a program run printed and how it ended (-1: it did not exit normally).
struct ProgramRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments, its output caught in files in `scratch`.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const fs::path& scratch);

// A temporary folder for runs of one program and the files a test hands it.
class ProgramScratch {
public:
    explicit ProgramScratch(std::string program) : program_(std::move(program)) {}
    ProgramRun Run(const std::vector<std::string>& args) const { return RunProgram(program_, args, temp_.Path()); }
    std::string Path(std::string_view name) const { return (temp_ / name).string(); }
    // Writes the bytes to `name` in the folder and returns its path.
    std::string Write(std::string_view name, const std::string& bytes) const {
        WriteBytes(temp_ / name, bytes);
        return Path(name);
    }

protected:
    TempDir temp_;

private:
    std::string program_;
};

// Empty when `s` refuses with a message that starts "SOURCE, line LINE: "
// ("SOURCE: " for line 0) and holds `fragment`; otherwise what is amiss.
std::string FaultMismatch(const Status& s, std::string_view source, int line, std::string_view fragment);

// All cards of the table in one list, for conservation checks.
std::vector<Card> AllCards(const Game& game);
std::vector<int> HandCounts(const Game& game);

}  // namespace kvt::test
