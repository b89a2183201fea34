// A resize of the dealt table against a resize of a bare Qt window, in the
// same run: each window is resized between 1920 x 1080 and a little smaller,
// and timed from the resize to the end of its repaint (layout, the cards
// scaled for the new size, the whole window painted into its backing store
// and flushed). The two take turns, the order changing from pair to pair so
// that the machine's changing speed hits both sides alike. Then the table
// is left alone for two seconds and the processor time it used is counted.
//
//   kvt_bench_resize [PAIRS]    (default 31; bench/resize_bench.sh runs it under Xvfb)
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include "bench/bench_figures.h"
#include "shell/play_win.h"

namespace fs = std::filesystem;
using kvt::bench::Clock;
using kvt::bench::Figures;
using kvt::bench::Ms;
using kvt::bench::Summary;

namespace {

namespace bench = kvt::bench;

[[noreturn]] void Fail(const std::string& why) { bench::Fail("kvt_bench_resize", why); }


// Processor time of this thread: on a busy machine it says what the work
// costs, where the wall clock also counts the waits for a core.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// How long a resize took: until the window had its size and had laid
// itself out (the table places and scales everything then), and the paint
// of all of it that follows.
struct Resize {
    double laid_out = 0;
    double painted = 0;
    double cpu = 0;  // the window thread's processor time for both
    double Total() const { return laid_out + painted; }
};

// Resizes the window and waits until the window system has given it the
// size, then paints all of it at once.
Resize ResizeAndRepaint(QWidget& window, QSize size) {
    const double cpu_start = ThreadCpuMs();
    const auto start = Clock::now();
    window.resize(size);
    QElapsedTimer patience;
    patience.start();
    while (window.size() != size && patience.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (window.size() != size) Fail("the window did not take the new size");
    Resize took;
    took.laid_out = Ms(start);
    const auto paint = Clock::now();
    window.repaint();
    took.painted = Ms(paint);
    took.cpu = ThreadCpuMs() - cpu_start;
    return took;
}

double ProcessCpuMs() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

void Row(const char* what, const std::vector<double>& values, const char* goal = "") {
    const Figures f = Summary(values);
    std::printf("%-40s median %8.2f   min %8.2f   max %8.2f   %s\n", what, f.median, f.low, f.high, goal);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int pairs = args.size() > 1 ? std::max(1, args[1].toInt()) : 31;

    kvt::PlayWin::Options options;
    const fs::path scratch = fs::temp_directory_path() / ("kvt-resize-bench-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    options.folders.SettingsFile = scratch / "kvt.ini";
    options.folders.AppDir = scratch / "work";
    options.player_name = "Robin";
    options.choose_players = false;
    options.seed = 20240607;

    kvt::PlayWin table(options);
    if (!table.Start()) Fail("the table did not start");
    table.GameState().OpeningMusic = false;
    table.NewGameCommand();
    table.move(0, 0);
    table.show();

    QMainWindow bare;
    bare.setWindowTitle("Bare window");
    bare.setCentralWidget(new QLabel("A bare Qt Widgets window", &bare));
    bare.move(0, 0);
    bare.show();
    QApplication::processEvents();

    const QSize big(1920, 1080);
    const QSize smaller(1880, 1040);
    std::vector<double> table_ms, bare_ms, ratios, table_layout_ms, table_paint_ms, table_cpu, bare_cpu, cpu_ratios;
    // The first pair warms the caches and is not counted.
    for (int pair = 0; pair <= pairs; ++pair) {
        const QSize size = pair % 2 ? smaller : big;
        Resize t, b;
        if (pair % 2) {
            b = ResizeAndRepaint(bare, size);
            t = ResizeAndRepaint(table, size);
        } else {
            t = ResizeAndRepaint(table, size);
            b = ResizeAndRepaint(bare, size);
        }
        if (pair == 0) continue;
        table_ms.push_back(t.Total());
        table_layout_ms.push_back(t.laid_out);
        table_paint_ms.push_back(t.painted);
        bare_ms.push_back(b.Total());
        ratios.push_back(t.Total() / b.Total());
        table_cpu.push_back(t.cpu);
        bare_cpu.push_back(b.cpu);
        cpu_ratios.push_back(t.cpu / b.cpu);
    }
    table.resize(big);
    bare.close();
    // At rest: the event loop waits, and nothing of the table may run.
    const auto idle = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    idle(1000);
    const double cpu_before = ProcessCpuMs();
    idle(2000);
    const double rest_cpu = ProcessCpuMs() - cpu_before;

    std::printf("%d resizes each, between %dx%d and %dx%d, %s platform (ms)\n", pairs, big.width(), big.height(),
                smaller.width(), smaller.height(), qPrintable(QGuiApplication::platformName()));
    Row("bare window: resize to repainted", bare_ms);
    Row("dealt table: resize to repainted", table_ms, "(goal: under 16.7, one frame at 60 Hz)");
    Row("  of which laid out and scaled", table_layout_ms);
    Row("  of which painted and flushed", table_paint_ms);
    const Figures r = Summary(ratios);
    std::printf("%-40s median %8.2f   min %8.2f   max %8.2f\n", "ratio table / bare, pair by pair", r.median, r.low,
                r.high);
    Row("bare window: processor time", bare_cpu);
    Row("dealt table: processor time", table_cpu, "(goal: under 16.7)");
    const Figures c = Summary(cpu_ratios);
    std::printf("%-40s median %8.2f   min %8.2f   max %8.2f\n", "ratio of processor time, pair by pair", c.median,
                c.low, c.high);
    std::printf("%-40s %8.2f ms of processor time in 2 s\n", "dealt table at rest after the resizes", rest_cpu);
    table.close();
    fs::remove_all(scratch);
    return 0;
}
