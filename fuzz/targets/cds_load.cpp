// Loading a card-set file from disk into a working folder
// (Game::LoadCardSetFile). Every run starts from the same working files of
// an earlier card set. A refused file leaves them exactly as they were (and
// the game's card set too); an accepted one leaves exactly the working files
// the file calls for, with its bytes, and they load back.

#include <map>
#include <optional>

#include "engine/card_set_codec.h"
#include "engine/game.h"
#include "engine/working_files.h"
#include "fuzz/fuzz_targets.h"
#include "platform/files.h"

namespace kvt::fuzz {
namespace {

namespace fs = std::filesystem;
constexpr const char* kName = "cds_load";

// The working files of the set loaded before: each with recognisable bytes.
const std::map<std::string, std::string>& Baseline() {
    static const std::map<std::string, std::string> files = {
        {files::kCardDefs, "previous definitions"},
        {files::kCardBitmap, "previous bitmap"},
        {files::kOpeningSound, "previous sound"},
        {files::kBackground, "previous background"},
    };
    return files;
}

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string bytes;
        if (entry.is_regular_file()) (void)ReadWholeFile(entry.path(), bytes, 1u << 30);
        else bytes = "<not a regular file>";
        out[entry.path().filename().string()] = bytes;
    }
    return out;
}

std::string Names(const std::map<std::string, std::string>& files) {
    std::string names;
    for (const auto& [name, bytes] : files) names += (names.empty() ? "" : ", ") + name;
    return names;
}

// Counts what a load shows: the loading notice must close, and the gauge
// never runs past its end.
class LoadView : public LoadNotices {
public:
    int shown = 0, hidden = 0, gauge_overruns = 0;
    void ShowLoading() override { ++shown; }
    void HideLoading() override { ++hidden; }
    void SetLoadingGauge(int value, int maximum) override {
        if (value < 0 || value > maximum) ++gauge_overruns;
    }
};

void Require(bool condition, const std::string& what) { KVT_FUZZ_CHECK(condition, kName, what); }

}  // namespace

int CdsLoad(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fs::path root = ScratchFolder() / kName;
    Folders folders;
    folders.SettingsFile = root / "config" / "kvt.ini";
    folders.AppDir = root / "work";
    folders.SharedData = root / "shared";
    const fs::path input = root / "input.cds";

    std::error_code ec;
    fs::remove_all(folders.AppDir, ec);
    fs::create_directories(folders.AppDir);
    for (const auto& [name, contents] : Baseline())
        Require(WriteFileAtomically(folders.AppDir / name, contents).ok(), "cannot lay out the working files");
    Require(WriteFileAtomically(input, bytes).ok(), "cannot write the input");

    LoadView view;
    Game game(folders, view, 1);
    const CardSetDef set_before = game.CardSet;
    const bool back_before = game.HasBackFile;

    const Status loaded = game.LoadCardSetFile(input);
    const auto after = Snapshot(folders.AppDir);
    Require(view.shown == view.hidden, "the loading notice was left open");
    Require(view.gauge_overruns == 0, "the loading gauge ran past its end");

    CardSetFile file;
    const Status decoded = DecodeCardSetFile(bytes, file);
    Require(loaded.ok() == decoded.ok(),
            std::string("loading from disk and decoding in memory disagree: the load ") +
                (loaded.ok() ? "accepted" : "refused (" + loaded.message() + ")") + " it");

    if (!loaded) {
        Require(loaded.message().find(input.filename().string()) != std::string::npos,
                "the refusal does not name the file: " + loaded.message());
        Require(after == Baseline(), "a refused card set changed the working folder: now " + Names(after));
        Require(game.CardSet == set_before && game.HasBackFile == back_before,
                "a refused card set changed the game");
        return 0;
    }

    // Exactly the files the set calls for, with its bytes.
    std::map<std::string, std::string> expected = {
        {files::kCardDefs, EncodeCardSetDef(file.Def)},
        {files::kCardBitmap, file.Bitmap},
        {files::kOpeningSound, file.HasSound() ? file.Sound : Baseline().at(files::kOpeningSound)},
    };
    if (!file.Background.empty()) expected[files::kBackground] = file.Background;
    for (const auto& [name, contents] : after)
        Require(expected.count(name) != 0, "the load left an unexpected file: " + name);
    for (const auto& [name, contents] : expected) {
        const auto it = after.find(name);
        Require(it != after.end(), "the load did not leave " + name);
        Require(it->second == contents, name + " does not hold the card set's bytes (" +
                                            std::to_string(it->second.size()) + " against " +
                                            std::to_string(contents.size()) + ")");
    }
    Require(game.CardSet == file.Def, "the game's card set is not the file's");
    Require(game.HasBackFile == (back_before || !file.Background.empty()),
            "the background flag does not follow the file");

    // What was unpacked loads back as the same card set.
    const CardSetDef loaded_set = game.CardSet;
    const Status reloaded = game.ReloadCardSet();
    Require(reloaded.ok(), "the working copy of an accepted set does not load back: " + reloaded.message());
    Require(game.CardSet == loaded_set, "the working copy loads back as another card set");
    Require(game.DrawDeck.Count() == DeckSize(loaded_set), "the deck does not hold the set's cards");
    (void)game.FindCardBack();
    return 0;
}

}  // namespace kvt::fuzz
