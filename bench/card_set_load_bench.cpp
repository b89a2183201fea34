// Loading a big card set in the table, against `cp` of the same file, in the
// same run. The card set is the shipped one with its bitmap grown to about
// 35 MB (the shipped pictures stay in its top-left corner, so the table shows
// the usual cards). Each pair runs the two in turn, the order changing from
// pair to pair so that the machine's changing speed hits both sides alike.
//
//   kvt_bench_load [PAIRS [MEGABYTES]]    (defaults: 9, 35)
//
// The load is the table's own Load Card Set command, with the file named
// instead of chosen, and the redrawn table painted. Runs with any Qt
// platform; the bench verb uses the offscreen one.
#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "engine/card_set_codec.h"
#include "engine/working_files.h"
#include "platform/paths.h"
#include "bench/bench_figures.h"
#include "shell/play_win.h"

namespace fs = std::filesystem;
using kvt::bench::Clock;
using kvt::bench::Figures;
using kvt::bench::Ms;
using kvt::bench::Summary;

namespace {

namespace bench = kvt::bench;

[[noreturn]] void Fail(const std::string& why) { bench::Fail("kvt_bench_load", why); }

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Fail("cannot write " + path.string());
}

// The shipped card set with a 24-bit bitmap of about `megabytes` MB.
std::string BigCardSet(const fs::path& shipped, int megabytes) {
    kvt::CardSetFile file;
    if (!kvt::DecodeCardSetFile(ReadAll(shipped), file)) Fail("cannot decode " + shipped.string());
    QImage cards;
    if (!cards.loadFromData(reinterpret_cast<const uchar*>(file.Bitmap.data()), static_cast<int>(file.Bitmap.size()),
                            "BMP"))
        Fail("the shipped card bitmap cannot be read");
    const int width = 4000;
    const int height = static_cast<int>(static_cast<long long>(megabytes) * 1000 * 1000 / (3 * width));
    QImage big(width, height, QImage::Format_RGB888);
    big.fill(QColor(0, 96, 0));
    QPainter painter(&big);
    painter.drawImage(0, 0, cards);
    // Some detail in the rest, so the picture is no flat colour.
    for (int y = cards.height() + 20; y + 95 < height; y += 110)
        for (int x = 5; x + 70 < width; x += 75) painter.fillRect(x, y, 70, 95, QColor(x % 256, y % 256, 160));
    painter.end();
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!big.save(&buffer, "BMP")) Fail("cannot write the big bitmap");
    file.Bitmap.assign(bmp.constData(), static_cast<std::size_t>(bmp.size()));
    return kvt::EncodeCardSetFile(file);
}


double CopyWithCp(const fs::path& from, const fs::path& to) {
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("cp", "cp", from.c_str(), to.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("cp failed");
    return Ms(start);
}

double LoadInTable(kvt::PlayWin& table, const fs::path& card_set) {
    const auto start = Clock::now();
    table.LoadCardSetCommand(card_set);
    table.repaint();
    const double ms = Ms(start);
    if (table.GameState().CardBitmapPath.empty() || !fs::exists(table.GameState().AppDir / kvt::files::kCardBitmap))
        Fail("the card set was not loaded");
    return ms;
}

void Row(const char* what, const std::vector<double>& values) {
    const Figures f = Summary(values);
    std::printf("%-34s median %9.2f   min %9.2f   max %9.2f\n", what, f.median, f.low, f.high);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int pairs = args.size() > 1 ? std::max(1, args[1].toInt()) : 9;
    const int megabytes = args.size() > 2 ? std::max(1, args[2].toInt()) : 35;

    kvt::PlayWin::Options options;
    const fs::path shipped = options.folders.SharedData / kvt::files::kDefaultCardSet;
    const fs::path scratch = fs::temp_directory_path() / ("kvt-load-bench-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    options.folders.SettingsFile = scratch / "kvt.ini";
    options.folders.AppDir = scratch / "work";
    options.player_name = "Robin";
    options.choose_players = false;
    options.seed = 20240607;
    const fs::path card_set = scratch / "big.cds";
    WriteAll(card_set, BigCardSet(shipped, megabytes));

    kvt::PlayWin table(options);
    if (!table.Start()) Fail("the table did not start");
    table.show();
    QApplication::processEvents();

    std::vector<double> cp_ms, load_ms, ratios;
    // One pair to warm the caches, not counted.
    for (int pair = 0; pair <= pairs; ++pair) {
        double cp = 0, load = 0;
        if (pair % 2) {
            cp = CopyWithCp(card_set, scratch / "copy.cds");
            load = LoadInTable(table, card_set);
        } else {
            load = LoadInTable(table, card_set);
            cp = CopyWithCp(card_set, scratch / "copy.cds");
        }
        if (pair == 0) continue;
        cp_ms.push_back(cp);
        load_ms.push_back(load);
        ratios.push_back(load / cp);
    }
    std::printf("card set of %.1f MB, %d pairs (ms)\n", static_cast<double>(fs::file_size(card_set)) / 1e6, pairs);
    Row("cp of the file", cp_ms);
    Row("Load Card Set in the table", load_ms);
    const Figures r = Summary(ratios);
    std::printf("ratio load / cp, pair by pair      median %9.2f   min %9.2f   max %9.2f   (goal: at most 2)\n",
                r.median, r.low, r.high);
    table.close();
    fs::remove_all(scratch);
    return 0;
}
