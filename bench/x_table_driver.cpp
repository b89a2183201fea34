// Times a program's windows from the X server's own events (MapNotify and
// DAMAGE), and plays the table through XTest, so that no figure depends on
// polling. Figures are printed as key=value pairs on one line.
//
//   kvt_bench_xdrive start PROGRAM [ARGS]  first window mapped (and the CPU used until
//       then) and painted, the last drawing before 500 ms without any, then its RSS
//   kvt_bench_xdrive table PROGRAM [ARGS]  the table from the name window on: OK to
//       the dealt table painted, idle CPU, RSS, one human move and the CPU used
//       while the computers' card flights pause
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The measured program, ended with the driver when a measurement fails.
pid_t g_child = 0;

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "kvt_bench_xdrive: %s\n", why.c_str());
    if (g_child > 0) kill(g_child, SIGKILL);
    std::exit(1);
}

// What the process has used: clock ticks as /proc/PID/stat counts them, and
// the nanoseconds its threads ran (schedstat), which resolve short windows.
struct CpuUse {
    long ticks = 0;
    double ns = 0;
};

CpuUse ReadCpu(pid_t pid) {
    CpuUse use;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    // Fields after the command name, which is in parentheses and may hold blanks.
    const auto close = text.rfind(')');
    if (close != std::string::npos) {
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        for (int i = 3; fields >> field; ++i) {
            if (i == 14 || i == 15) use.ticks += std::stol(field);
            if (i == 15) break;
        }
    }
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream sched(task.path() / "schedstat");
        double ran = 0;
        if (sched >> ran) use.ns += ran;
    }
    return use;
}

long RssKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

class XSession {
public:
    XSession() {
        display_ = XOpenDisplay(nullptr);
        if (!display_) Fail("cannot open the display");
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        int error_base = 0;
        if (!XDamageQueryExtension(display_, &damage_event_, &error_base)) Fail("no DAMAGE extension");
        int major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &error_base, &error_base, &major, &minor)) Fail("no XTEST extension");
        root_ = DefaultRootWindow(display_);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~XSession() {
        for (Damage d : damages_) XDamageDestroy(display_, d);
        XCloseDisplay(display_);
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    pid_t Spawn(char** argv) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(ConnectionNumber(display_));
            execvp(argv[0], argv);
            _exit(127);
        }
        if (pid < 0) Fail("fork failed");
        pid_ = g_child = pid;
        return pid;
    }

    // Waits for the next event until the deadline; false when it passed.
    bool Next(double deadline, XEvent& event) {
        while (!XPending(display_)) {
            const double left = deadline - NowMs();
            if (left <= 0) return false;
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(display_), &fds);
            timeval tv{static_cast<long>(left / 1000), static_cast<long>(std::fmod(left, 1000.0) * 1000)};
            select(ConnectionNumber(display_) + 1, &fds, nullptr, nullptr, &tv);
        }
        XNextEvent(display_, &event);
        if (event.type == damage_event_ + XDamageNotify) {
            XDamageSubtract(display_, reinterpret_cast<XDamageNotifyEvent&>(event).damage, None, None);
            last_damage_ = NowMs();
        }
        return true;
    }

    bool IsDamage(const XEvent& event) const { return event.type == damage_event_ + XDamageNotify; }

    // A top-level window of the child's has been mapped.
    bool IsNewWindow(const XEvent& event) {
        return event.type == MapNotify && !event.xmap.override_redirect && event.xmap.event == root_ &&
               OwnerPid(event.xmap.window) == pid_;
    }

    // The next top-level window of the child to be mapped, watched for drawing from then on.
    Window WaitForMap(double deadline) {
        XEvent event;
        while (Next(deadline, event)) {
            if (!IsNewWindow(event)) continue;
            damages_.push_back(XDamageCreate(display_, event.xmap.window, XDamageReportNonEmpty));
            return event.xmap.window;
        }
        Fail("no window was mapped in time");
    }

    // Waits until the window shows more than a plain background; returns when
    // the drawing that did it was reported.
    double WaitForPaint(Window window, double deadline) {
        if (Painted(window)) return NowMs();
        XEvent event;
        while (Next(deadline, event))
            if (IsDamage(event) && Painted(window)) return last_damage_;
        Fail("the window was not painted in time");
    }

    // Waits until nothing is drawn for quiet_ms; returns the time of the last drawing.
    double WaitForQuiet(double quiet_ms, double cap_ms) {
        const double start = NowMs();
        XEvent event;
        while (Next(std::min(std::max(last_damage_, start) + quiet_ms, start + cap_ms), event)) {
        }
        return last_damage_;
    }

    XImage* Grab(Window window, int x, int y, int w, int h) {
        return XGetImage(display_, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                         ZPixmap);
    }

    void Key(KeySym symbol) {
        const KeyCode code = XKeysymToKeycode(display_, symbol);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XFlush(display_);
    }

    void Click(Window window, int x, int y) {
        int rx = 0, ry = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window, root_, x, y, &rx, &ry, &child);
        XTestFakeMotionEvent(display_, -1, rx, ry, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
    }

    void Focus(Window window) {
        XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
        XFlush(display_);
    }

    double LastDamage() const { return last_damage_; }
    Display* display() const { return display_; }

    bool Painted(Window window) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, window, &attributes)) return false;
        XImage* image = Grab(window, 0, 0, attributes.width, attributes.height);
        if (!image) return false;
        const unsigned long first = XGetPixel(image, 0, 0);
        bool differs = false;
        for (int y = 0; y < attributes.height && !differs; y += 4)
            for (int x = 0; x < attributes.width && !differs; x += 4) differs = XGetPixel(image, x, y) != first;
        XDestroyImage(image);
        return differs;
    }

private:
    long OwnerPid(Window window) {
        const Atom atom = XInternAtom(display_, "_NET_WM_PID", False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, left = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display_, window, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &left,
                               &data) == Success &&
            data && count == 1)
            pid = *reinterpret_cast<long*>(data);
        if (data) XFree(data);
        return pid;
    }

    Display* display_ = nullptr;
    Window root_ = 0;
    int damage_event_ = 0;
    pid_t pid_ = 0;
    double last_damage_ = 0;
    std::vector<Damage> damages_;
};

// Places on the table, in its own pixels (the design's twips / 15).
constexpr int kTableHeight = 456;
constexpr int kHandLeft = 146, kHandTop = 303, kStrip = 30;
constexpr int kPickedX = 179, kPickedY = 254;
constexpr int kDeckX = 256, kDeckY = 160;
constexpr int kButtonX = 216, kButtonY = 248, kButtonW = 57, kButtonH = 25;

void Print(const char* key, double value) { std::printf(" %s=%.2f", key, value); }

int TableTop(XSession& x, Window window) {
    XWindowAttributes attributes;
    XGetWindowAttributes(x.display(), window, &attributes);
    // The menu bar is light and the table dark: the first dark row at the
    // right edge, where the menu bar has no titles, is the table's top.
    XImage* column = x.Grab(window, attributes.width - 8, 0, 1, attributes.height);
    if (!column) Fail("cannot read the table's pixels");
    int top = -1;
    for (int y = 0; y < attributes.height && top < 0; ++y) {
        const unsigned long p = XGetPixel(column, 0, y);
        if (((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff) < 3 * 128) top = y;
    }
    XDestroyImage(column);
    if (top < 0 || top + kTableHeight > attributes.height) Fail("cannot find the table below the menu bar");
    return top;
}

std::vector<unsigned long> Pixels(XSession& x, Window window, int left, int top, int w, int h) {
    std::vector<unsigned long> pixels;
    if (XImage* image = x.Grab(window, left, top, w, h)) {
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w; ++i) pixels.push_back(XGetPixel(image, i, y));
        XDestroyImage(image);
    }
    return pixels;
}

// The human plays a card: the hand's cards are tried from the right (the
// sorted hand puts wild cards, which ask a question, on the left), then
// cards are drawn, until the Discard button shows; then it is pressed.
// Returns the moment of that press and what the table had used by then.
struct Press {
    double at;
    CpuUse used;
};

Press PlayOneCard(XSession& x, pid_t pid, Window table, int top, int hand_size) {
    const auto button = [&] { return Pixels(x, table, kButtonX, top + kButtonY, kButtonW, kButtonH); };
    const auto settle = [&] { x.WaitForQuiet(150, 3000); };
    const std::vector<unsigned long> hidden = button();
    for (int attempt = 0; attempt < hand_size + 10; ++attempt) {
        if (attempt < hand_size) {
            const int column = hand_size - 1 - attempt;
            x.Click(table, kHandLeft + kStrip * column + kStrip / 2, top + kHandTop + 40);
        } else {
            x.Click(table, kDeckX, top + kDeckY);
        }
        settle();
        if (button() != hidden) {
            const Press press{NowMs(), ReadCpu(pid)};
            x.Click(table, kButtonX + kButtonW / 2, top + kButtonY + kButtonH / 2);
            return press;
        }
        // Not playable as it is: the picked card goes back to the hand.
        if (attempt < hand_size) {
            x.Click(table, kPickedX, top + kPickedY);
            settle();
        }
    }
    Fail("found no card to play");
}

// CPU used from the human's move until the computers are done: in all, and
// inside the flights' pauses (stretches of at least 200 ms without drawing).
void MeasureFlights(XSession& x, pid_t pid, const Press& press) {
    const double pressed = press.at;
    constexpr double kSample = 20, kPause = 200, kDone = 2500;
    double pause_ns = 0, pause_ms = 0;
    int pauses = 0;
    // Samples since the last drawing; a pause runs from the first to the last.
    std::vector<std::pair<double, CpuUse>> quiet;
    XEvent event;
    while (NowMs() - std::max(x.LastDamage(), pressed) < kDone) {
        const bool got = x.Next(NowMs() + kSample, event);
        // A question of the rules (a wild card's colour) takes its default answer.
        if (got && x.IsNewWindow(event)) {
            x.Focus(event.xmap.window);
            x.Key(XK_Return);
        }
        const bool drawn = got && x.IsDamage(event);
        if (!drawn) {
            quiet.emplace_back(NowMs(), ReadCpu(pid));
            continue;
        }
        if (quiet.size() >= 2 && quiet.back().first - quiet.front().first >= kPause) {
            pause_ms += quiet.back().first - quiet.front().first;
            pause_ns += quiet.back().second.ns - quiet.front().second.ns;
            ++pauses;
        }
        quiet.clear();
    }
    const CpuUse after = ReadCpu(pid);
    const double busy_ms = x.LastDamage() - pressed;
    Print("turns_ms", busy_ms);
    Print("turns_cpu_pct", busy_ms > 0 ? (after.ns - press.used.ns) / 1e4 / busy_ms : -1);
    Print("pauses", pauses);
    Print("pause_ms", pause_ms);
    Print("pause_cpu_pct", pause_ms > 0 ? pause_ns / 1e4 / pause_ms : -1);
}

pid_t SpawnAndShow(XSession& x, char** argv, Window& window, double& t0) {
    t0 = NowMs();
    const pid_t pid = x.Spawn(argv);
    window = x.WaitForMap(t0 + 30000);
    Print("map_ms", NowMs() - t0);
    // Processor time to the same moment: unlike the wall-clock figure, it
    // hardly changes when other work shares the machine.
    Print("map_cpu_ms", ReadCpu(pid).ns / 1e6);
    Print("paint_ms", x.WaitForPaint(window, t0 + 30000) - t0);
    return pid;
}

void Stop(pid_t pid) {
    std::printf("\n");
    std::fflush(stdout);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// A window's start-up, and its memory once drawing has stopped.
void Start(char** argv) {
    XSession x;
    Window window = 0;
    double t0 = 0;
    const pid_t pid = SpawnAndShow(x, argv, window, t0);
    Print("settle_ms", x.WaitForQuiet(500, 10000) - t0);
    Print("rss_kb", RssKb(pid));
    Stop(pid);
}

// The table from its name window: OK pressed with the Return key, the dealt
// table drawn, five idle seconds, one move of the human's.
void Table(char** argv) {
    XSession x;
    Window name_window = 0;
    double t0 = 0;
    const pid_t pid = SpawnAndShow(x, argv, name_window, t0);
    x.WaitForQuiet(300, 10000);
    x.Focus(name_window);
    for (const KeySym key : {XK_R, XK_o, XK_b, XK_i, XK_n}) x.Key(key);
    x.WaitForQuiet(300, 10000);

    const double ok = NowMs();
    x.Key(XK_Return);
    const Window table = x.WaitForMap(ok + 30000);
    Print("ok_map_ms", NowMs() - ok);
    const double painted = x.WaitForPaint(table, ok + 30000);
    Print("ok_paint_ms", painted - ok);
    Print("ok_settle_ms", std::max(painted, x.WaitForQuiet(500, 15000)) - ok);

    const CpuUse idle_from = ReadCpu(pid);
    const double idle_start = NowMs();
    int idle_drawings = 0;
    XEvent event;
    while (x.Next(idle_start + 5000, event)) idle_drawings += x.IsDamage(event);
    const CpuUse idle_to = ReadCpu(pid);
    Print("idle_ticks", static_cast<double>(idle_to.ticks - idle_from.ticks));
    Print("idle_cpu_ms", (idle_to.ns - idle_from.ns) / 1e6);
    Print("idle_drawings", idle_drawings);
    Print("rss_dealt_kb", RssKb(pid));

    const int top = TableTop(x, table);
    MeasureFlights(x, pid, PlayOneCard(x, pid, table, top, 7));
    Print("rss_played_kb", RssKb(pid));
    Stop(pid);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[1], "start") != 0 && std::strcmp(argv[1], "table") != 0)) {
        std::fprintf(stderr, "usage: kvt_bench_xdrive start|table PROGRAM [ARGS]\n");
        return 2;
    }
    std::printf("%s", argv[1]);
    if (std::strcmp(argv[1], "start") == 0)
        Start(argv + 2);
    else
        Table(argv + 2);
    return 0;
}
