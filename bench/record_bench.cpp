// The game record's costs against plain file work on the same bytes, in the
// same run: keeping the table in progress after a move (its text made and
// written under a temporary name, then renamed) against writing the bytes,
// and loading a 10,000-move record (read and parsed) against reading them,
// in the format written now and in the first one (sealed with FNV-1a).
// Runs alternate so that the machine's changing speed hits both sides alike.
//
//   kvt_bench_record [RUNS]      (default 15)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_figures.h"
#include "formats/game_record.h"
#include "formats/table_save.h"
#include "formats/text_fields.h"
#include "platform/files.h"

namespace fs = std::filesystem;
using kvt::bench::Clock;
using kvt::bench::Ms;

namespace {

constexpr const char* kProgram = "kvt_bench_record";

kvt::Card SomeCard(int i) {
    kvt::Card card;
    card.Group = static_cast<std::int16_t>(1 + i % 4);
    card.Value = static_cast<std::int16_t>(1 + i % 9);
    card.Copies = 2;
    card.PicRow = static_cast<std::int16_t>(i % 8);
    card.PicCol = static_cast<std::int16_t>(i % 10);
    return card;
}

// A table in the middle of a round: seven-card hands, a deck and a pile.
kvt::SavedTable TableInPlay() {
    kvt::SavedTable saved;
    saved.card_set_title = "Four Winds";
    for (int p = 0; p < 4; ++p) saved.player_names[static_cast<std::size_t>(p)] = "Player " + std::to_string(p + 1);
    int i = 0;
    for (int p = 1; p <= 4; ++p)
        for (int c = 0; c < 7; ++c) saved.state.Players[static_cast<std::size_t>(p)].Push(SomeCard(i++));
    for (int c = 0; c < 70; ++c) saved.state.DrawDeck.Push(SomeCard(i++));
    for (int c = 0; c < 12; ++c) saved.state.DiscardPile.Push(SomeCard(i++));
    return saved;
}

kvt::GameRecord TenThousandMoves() {
    kvt::GameRecord record;
    record.card_set_title = "Four Winds";
    record.seed = 20240607;
    for (int p = 0; p < 4; ++p) record.players[static_cast<std::size_t>(p)].name = "Player " + std::to_string(p + 1);
    for (int i = 0; i < 10'000; ++i) {
        kvt::RecordedMove m;
        m.move.seat = static_cast<std::int16_t>(1 + i % 4);
        m.move.kind = i % 3 == 0 ? kvt::MoveKind::Draw : kvt::MoveKind::Play;
        if (m.move.kind == kvt::MoveKind::Play) m.move.slot = static_cast<std::int16_t>(i % 7);
        if (i % 50 == 49) m.scores = std::array<std::int16_t, 4>{12, 40, 7, 66};
        record.moves.push_back(std::move(m));
    }
    return record;
}

void PlainWrite(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) kvt::bench::Fail(kProgram, "cannot write " + path.string());
}

std::string PlainRead(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) kvt::bench::Fail(kProgram, "cannot read " + path.string());
    return bytes;
}

// The same record as the first major version sealed it.
std::string FirstVersion(std::string text) {
    text.replace(text.find(" 2."), 3, " 1.");
    const std::size_t end = text.rfind("end ");
    text.replace(text.size() - 17, 16, kvt::text_fields::Hex(kvt::Fnv1a64(std::string_view(text).substr(0, end))));
    return text;
}

void Report(const char* what, const std::vector<double>& ours, const std::vector<double>& plain, const char* goal) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size(); ++i) ratios.push_back(ours[i] / plain[i]);
    const auto o = kvt::bench::Summary(ours), p = kvt::bench::Summary(plain), r = kvt::bench::Summary(ratios);
    std::printf("%-42s %9.3f %9.3f   %5.2f (%.2f-%.2f)  %s\n", what, o.median, p.median, r.median, r.low, r.high, goal);
}

// One load: the file read and parsed, which must give the whole record.
void Load(const fs::path& file) {
    kvt::GameRecord loaded;
    if (!kvt::ReadGameRecord(PlainRead(file), loaded) || loaded.moves.size() != 10'000)
        kvt::bench::Fail(kProgram, "the record does not read back");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    char folder_template[] = "/tmp/kvt-record-bench-XXXXXX";
    if (!mkdtemp(folder_template)) kvt::bench::Fail(kProgram, "cannot make a scratch folder");
    const fs::path folder = folder_template;

    const kvt::SavedTable table = TableInPlay();
    const std::string table_text = kvt::WriteSavedTable(table);
    const fs::path kept = folder / "table-in-progress.txt", plain_kept = folder / "plain.txt";
    const std::string record_text = kvt::WriteGameRecord(TenThousandMoves());
    const fs::path record_file = folder / "game.kvtgame", first_file = folder / "first.kvtgame";
    PlainWrite(record_file, record_text);
    PlainWrite(first_file, FirstVersion(record_text));

    // Each sample is many saves (one save is a few microseconds) or one load.
    constexpr int kSaves = 200;
    std::vector<double> save, write, load, read, load_first, read_first;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point t = Clock::now();
        for (int i = 0; i < kSaves; ++i) PlainWrite(plain_kept, table_text);
        write.push_back(Ms(t));
        t = Clock::now();
        for (int i = 0; i < kSaves; ++i)
            if (!kvt::WriteFileAtomically(kept, kvt::WriteSavedTable(table))) kvt::bench::Fail(kProgram, "cannot keep the table");
        save.push_back(Ms(t));

        t = Clock::now();
        const std::string bytes = PlainRead(record_file);
        read.push_back(Ms(t));
        t = Clock::now();
        Load(record_file);
        load.push_back(Ms(t));
        if (bytes.size() != record_text.size()) kvt::bench::Fail(kProgram, "the record file changed");

        t = Clock::now();
        const std::string first_bytes = PlainRead(first_file);
        read_first.push_back(Ms(t));
        t = Clock::now();
        Load(first_file);
        load_first.push_back(Ms(t));
    }
    fs::remove_all(folder);

    std::printf("%d runs, medians in ms; ratio: median (min-max) of the runs' ratios\n", runs);
    std::printf("%-42s %9s %9s   %s\n", "measure", "ours", "plain", "ratio");
    Report(("keep the table after a move, x" + std::to_string(kSaves)).c_str(), save, write, "goal <= 2");
    Report("load a 10,000-move record", load, read, "goal <= 2");
    Report("the same in the first format (FNV-1a)", load_first, read_first, "(old records)");
    std::printf("(%zu bytes of table, %zu bytes of record)\n", table_text.size(), record_text.size());
    return 0;
}
