#include "shell/record_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <system_error>

#include "engine/player_file.h"
#include "engine/card_set_codec.h"
#include "engine/game.h"
#include "engine/working_files.h"
#include "formats/text_fields.h"
#include "match/match_driver.h"
#include "match/record_replay.h"
#include "platform/files.h"

namespace kvt {

namespace fs = std::filesystem;

namespace {

// Shows nothing: the replay's table is looked at only through its states.
class UnseenView : public LoadNotices {};

UnseenView& Unseen() {
    static UnseenView view;
    return view;
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The files of one kind in a folder, sorted; nothing for a folder that is not there.
void AddFilesOf(const fs::path& folder, const char* extension, std::vector<fs::path>& out) {
    std::error_code ec;
    std::vector<fs::path> found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == extension && it->is_regular_file(ec)) found.push_back(it->path());
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
}

// Hashes files once each, in the order asked; unreadable ones are passed over.
class FileHashes {
public:
    explicit FileHashes(std::size_t max_bytes) : max_bytes_(max_bytes) {}
    bool Hash(const fs::path& path, std::uint64_t& hash, std::string* bytes = nullptr) {
        std::string read;
        if (!ReadWholeFile(path, read, max_bytes_)) return false;
        hash = Fnv1a64(read);
        if (bytes) *bytes = std::move(read);
        return true;
    }
    const fs::path* Find(const std::vector<fs::path>& files, std::uint64_t wanted) {
        for (const fs::path& file : files) {
            auto known = hashes_.find(file);
            if (known == hashes_.end()) {
                std::uint64_t hash = 0;
                known = hashes_.emplace(file, Hash(file, hash) ? std::optional(hash) : std::nullopt).first;
            }
            if (known->second == wanted) return &file;
        }
        return nullptr;
    }

private:
    std::size_t max_bytes_;
    std::map<fs::path, std::optional<std::uint64_t>> hashes_;
};

// The card-set file among `files` whose definitions are those of the card
// set at hand, with its hash; the one the record names comes first.
std::optional<CardSetFound> CardSetAtHand(const std::vector<fs::path>& files, const CardSetDef& at_hand,
                                          std::uint64_t recorded) {
    FileHashes hashes(kMaxCardSetFileBytes);
    std::optional<CardSetFound> found;
    for (const fs::path& file : files) {
        std::string bytes;
        std::uint64_t hash = 0;
        CardSetImage image;
        if (!hashes.Hash(file, hash, &bytes) || !DecodeCardSetImage(bytes, image) || !(image.Def == at_hand)) continue;
        if (hash == recorded) return CardSetFound{file, hash};
        if (!found) found = CardSetFound{file, hash};
    }
    return found;
}

}  // namespace

std::optional<CardSetFound> FindCardSetFile(std::vector<fs::path> files, const fs::path& shared, const CardSetDef& at_hand,
                                            std::uint64_t recorded) {
    AddFilesOf(shared, ".cds", files);
    return CardSetAtHand(files, at_hand, recorded);
}

RecordTable::RecordTable() = default;

RecordTable::~RecordTable() {
    game_.reset();
    std::error_code ec;
    if (!work_.empty()) fs::remove_all(work_, ec);
}

Status RecordTable::Open(const fs::path& file, const CardSetDef& at_hand, const RecordSources& sources,
                         std::unique_ptr<RecordTable>& out) {
    const std::string named = "The game record " + Quoted(file);
    std::unique_ptr<RecordTable> table(new RecordTable);
    GameRecord& record = table->record_;
    std::string text;
    if (Status s = ReadWholeFile(file, text, kMaxGameRecordBytes); !s) return s;
    if (Status s = ReadGameRecord(text, record); !s) return Status::Fail(named + " cannot be read: " + s.message());
    text.clear();

    std::error_code ec;
    const fs::path beside = fs::absolute(file, ec).parent_path();
    std::vector<fs::path> card_sets = sources.card_sets;
    AddFilesOf(beside, ".cds", card_sets);
    AddFilesOf(sources.shared, ".cds", card_sets);
    const std::optional<CardSetFound> card_set = CardSetAtHand(card_sets, at_hand, record.card_set_hash);
    if (!card_set || card_set->hash != record.card_set_hash)
        return Status::Fail(named + " was played with the card set \"" + record.card_set_title + "\" (" +
                            text_fields::Hex(record.card_set_hash) + "); the card set at hand is \"" + Trimmed(at_hand.GameTitle) +
                            "\" (" + (card_set ? text_fields::Hex(card_set->hash) : std::string("its file is not found")) + ").");

    std::vector<fs::path> players = sources.players;
    AddFilesOf(beside, ".dpf", players);
    AddFilesOf(sources.shared / "players", ".dpf", players);
    FileHashes hashes(kMaxPlayerFileBytes);
    std::array<fs::path, 5> files;
    for (int seat = 1; seat <= 4; ++seat) {
        const RecordedPlayer& player = record.players[static_cast<std::size_t>(seat - 1)];
        // Seat 1 without a file is the simulator's own computer player (or
        // the person); an opponent seat without one played without traits,
        // as the table plays before opponents are chosen.
        if (player.file_hash == 0) continue;
        const fs::path* found = hashes.Find(players, player.file_hash);
        if (!found)
            return Status::Fail(named + ": the player of seat " + std::to_string(seat) + ", \"" + player.name + "\" (" +
                                text_fields::Hex(player.file_hash) + "), is not among the player files beside it or in " +
                                Quoted(sources.shared / "players") + ".");
        files[static_cast<std::size_t>(seat)] = *found;
    }

    std::string folder = (fs::temp_directory_path(ec) / "kvt-replay-XXXXXX").string();
    if (ec || !::mkdtemp(folder.data())) return Status::Fail(named + " cannot be replayed: no temporary folder for it.");
    table->work_ = folder;
    Folders folders;
    folders.SettingsFile = table->work_ / "kvt.ini";
    folders.AppDir = table->work_ / "data";
    folders.SharedData = sources.shared;
    table->game_ = std::make_unique<Game>(folders, Unseen(), record.seed);
    Game& game = *table->game_;
    // As the simulator plays it: all four seats at the computer (but a seat a
    // person played, whose moves are a person's), the card set kept in memory.
    game.ComputerSeat1 = record.human_seat != 1;
    game.ReloadEachRound = false;
    // A game played at the table chose its players' sound cues, which draw
    // on the generator; the simulator's games chose none.
    game.PlayerSounds = record.human_seat != 0;
    game.SortCards = false;
    game.OpeningMusic = false;
    if (Status s = game.LoadCardSetFile(card_set->file); !s) return s;
    if (Status s = game.SeatComputers(files[1], {files[2], files[3], files[4]}); !s) return s;
    for (int seat = 1; seat <= 4; ++seat) {
        const std::string& recorded = record.players[static_cast<std::size_t>(seat - 1)].name;
        table->names_[static_cast<std::size_t>(seat)] = recorded.empty() ? game.PlayerInfo[seat].Name : recorded;
    }
    if (Status s = table->Replay(); !s) return Status::Fail(named + " does not replay: " + s.message());
    out = std::move(table);
    return Status::Ok();
}

Status RecordTable::Replay() {
    Game& game = *game_;
    // Dealt as the simulator deals a game: from the fresh table, with the record's seed.
    // The simulator's set-up deals once before its games; so does this.
    const TableState fresh = game.State();
    game.NewGame();
    if (record_.start_table.empty()) {
        game.DealFromSeed(fresh, record_.seed);
    } else if (Status s = ReadTableState(record_.start_table, game.State()); !s) {
        return Status::Fail("its starting table cannot be read: " + s.message());
    }
    kept_tables_.push_back(WriteTableState(game.State()));
    MatchDriver driver(game);
    return ReplayMoves(record_, driver, [this, &game](std::size_t played) {
        if (played % kEvery == 0) kept_tables_.push_back(WriteTableState(game.State()));
    });
}

Status RecordTable::TableAt(std::size_t step, TableState& out, TableState* before) {
    if (step > Moves()) return Status::Fail("the record has " + std::to_string(Moves()) + " moves only");
    if (step == 0) before = nullptr;
    Game& game = *game_;
    // From the last kept table at or before the first one wanted.
    std::size_t from = (before ? step - 1 : step) / kEvery;
    // A drawn card laid is laid from the draw before it, which is to be played too.
    while (from > 0 && from * kEvery < Moves() && record_.moves[from * kEvery].move.drawn) --from;
    if (Status s = ReadTableState(kept_tables_.at(from), game.State()); !s) return s;
    // A computer's held discard is gone between moves.
    game.CompHeld.Clear();
    MatchDriver driver(game);
    Events events;
    for (std::size_t i = from * kEvery; i < step; ++i) {
        if (before && i + 1 == step) *before = game.State();
        if (driver.Submit(record_.moves[i].move, events) != MatchDriver::Step::Applied) return driver.Refusal();
    }
    out = game.State();
    return Status::Ok();
}

}  // namespace kvt
