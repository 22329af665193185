// Start-up, memory and idle CPU of a program on X, measured from outside as a user would see
// them: the time from exec to its window's MapNotify and to its first frame on screen, its
// peak resident memory, and the CPU it spends in 10 s of sitting idle. The same figures for a
// bare Xlib window that ticks at 10 Hz give the floor to compare with.
//
// The first frame is seen on the screen itself: the bench keeps a copy of the screen from
// before the start and reads the window's rectangle from the root window until a pixel
// differs. Expose only says when the server asks for pixels, not when they arrive, and our
// windows have no background for the server to paint, so before the program draws its
// rectangle still shows what was there.
//
// With --zoom (the picker program itself), the last run then opens the zoom window through
// its button with XTest and measures the idle span again: the CPU of the program and of the X
// server with the zoom window open beside the main window alone, and from their difference
// the cost of one zoom tick (capture, stretch, overlay, the image put to the screen).
//
// Usage: x11_startup_bench [--program PATH] [--runs N] [--idle-seconds S] [--xvfb] [--zoom]
//                          [-- ARGUMENTS FOR THE PROGRAM]
// Without --xvfb it runs on $DISPLAY when that is set, else on an Xvfb of its own.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/x11/x_server.h"

namespace {

constexpr std::int64_t kStartTimeoutUs = 10'000'000;
constexpr int kFramePollMs = 2;
constexpr int kDefaultRuns = 5;
constexpr int kDefaultIdleSeconds = 10;
constexpr int kTickMs = 100;
// The picker's Zoom button in its window: a 3 px frame and a 19 px caption, then the button's
// dialog-unit rectangle (70, 80, 56, 15) at 6 x 12 base units; its middle.
constexpr int kZoomButtonX = 3 + (70 + 56 / 2) * 6 / 4;
constexpr int kZoomButtonY = 22 + (80 + 15 / 2) * 12 / 8;

std::int64_t NowUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

// Waits for input on fd until deadlineUs; false on time-out.
bool WaitReadable(int fd, std::int64_t deadlineUs) {
    for (;;) {
        const std::int64_t left = deadlineUs - NowUs();
        if (left <= 0) {
            return false;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, int((left + 999) / 1000));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

// --- The floor: a bare Xlib window ticking at 10 Hz ---

// 202 x 200 like the picker, filled on Expose; each tick reads the screen pixel at (0, 0) and
// fills a 10 x 10 swatch with it.
int RunBareWindow() {
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        return 1;
    }
    const int screen = DefaultScreen(x);
    const Window root = RootWindow(x, screen);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.event_mask = ExposureMask;
    const Window window = XCreateWindow(x, root, 400, 300, 202, 200, 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    XStoreName(x, window, "bare window");
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(x, window, XInternAtom(x, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    GC gc = XCreateGC(x, window, 0, nullptr);
    XMapWindow(x, window);
    XFlush(x);
    std::int64_t nextTick = NowUs() + 100'000;
    unsigned long swatch = 0;
    for (;;) {
        while (XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == Expose && event.xexpose.count == 0) {
                XSetForeground(x, gc, 0x2080C0);
                XFillRectangle(x, window, gc, 0, 0, 202, 200);
                XSetForeground(x, gc, swatch);
                XFillRectangle(x, window, gc, 8, 8, 10, 10);
            }
        }
        if (NowUs() >= nextTick) {
            nextTick += 100'000;
            if (XImage* pixel = XGetImage(x, root, 0, 0, 1, 1, AllPlanes, ZPixmap)) {
                swatch = XGetPixel(pixel, 0, 0);
                XDestroyImage(pixel);
            }
            XSetForeground(x, gc, swatch);
            XFillRectangle(x, window, gc, 8, 8, 10, 10);
        }
        XFlush(x);
        WaitReadable(ConnectionNumber(x), nextTick);
    }
}

// --- Reading a process from /proc ---

// CPU time so far, all threads: utime + stime from stat (clock ticks) and the scheduler's
// nanosecond count, which is exact where ticks are 10 ms.
struct CpuTime {
    double statMs = 0;
    double schedMs = 0;
};

CpuTime ReadCpuTime(pid_t pid) {
    CpuTime time;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The command name is in parentheses and may hold spaces: the fields start after it.
    const std::size_t end = line.rfind(')');
    if (end != std::string::npos) {
        std::istringstream fields(line.substr(end + 2));
        std::vector<std::string> values;
        for (std::string value; fields >> value;) {
            values.push_back(value);
        }
        // state is field 3, utime 14 and stime 15 of the full line.
        if (values.size() > 12) {
            const double ticks = std::stod(values[11]) + std::stod(values[12]);
            time.statMs = ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
        }
    }
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') {
                continue;
            }
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (schedstat >> ns) {
                time.schedMs += double(ns) / 1e6;
            }
        }
        closedir(dir);
    }
    return time;
}

// A "Name:   value kB" line of /proc/<pid>/status, in kB; 0 when missing.
long ReadStatusKb(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(name + ":", 0) == 0) {
            return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
        }
    }
    return 0;
}

// --- One measured start ---

struct Figures {
    double mapMs = -1;
    double frameMs = -1;
    long peakRssKb = 0;  // VmHWM just before it is ended; 0 when it ended by itself
    std::optional<CpuTime> idleCpu;
    long idleRssKb = 0;
    // With the zoom window open, over an idle span as long; the X server's over both spans
    // when the bench knows it.
    std::optional<CpuTime> zoomCpu;
    std::optional<CpuTime> serverIdleCpu;
    std::optional<CpuTime> serverZoomCpu;
    std::string failure;
};

CpuTime Difference(const CpuTime& end, const CpuTime& start) {
    return {end.statMs - start.statMs, end.schedMs - start.schedMs};
}

// The CPU a process and, when serverPid is known, the X server spend while the bench waits
// idleSeconds; nullopt for the program when it ended meanwhile.
struct IdleSpan {
    std::optional<CpuTime> program;
    std::optional<CpuTime> server;
};
IdleSpan MeasureIdle(pid_t pid, int exitedFd, pid_t serverPid, int idleSeconds) {
    IdleSpan span;
    const CpuTime start = ReadCpuTime(pid);
    const CpuTime serverStart = serverPid > 0 ? ReadCpuTime(serverPid) : CpuTime{};
    if (WaitReadable(exitedFd, NowUs() + idleSeconds * 1'000'000LL)) {
        return span;
    }
    span.program = Difference(ReadCpuTime(pid), start);
    if (serverPid > 0) {
        span.server = Difference(ReadCpuTime(serverPid), serverStart);
    }
    return span;
}

class Screen {
public:
    explicit Screen(Display* x) : m_x(x), m_root(DefaultRootWindow(x)) {
        m_width = DisplayWidth(x, DefaultScreen(x));
        m_height = DisplayHeight(x, DefaultScreen(x));
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The pixels of a rectangle of the root window, row by row; empty when it cannot be read.
    std::vector<unsigned long> Read(int left, int top, int width, int height) const {
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(m_x, m_root, left, top, unsigned(width), unsigned(height),
                                  AllPlanes, ZPixmap);
        if (image == nullptr) {
            return pixels;
        }
        pixels.reserve(std::size_t(width) * std::size_t(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(XGetPixel(image, x, y));
            }
        }
        XDestroyImage(image);
        return pixels;
    }

private:
    Display* m_x;
    Window m_root;
    int m_width = 0;
    int m_height = 0;
};

class MeasuredChild {
public:
    MeasuredChild(const std::string& display, const std::vector<std::string>& argv) {
        // Closed on exec: its end tells the moment the program replaced the fork.
        int exec[2];
        if (pipe2(exec, O_CLOEXEC) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(exec[0]);
            setenv("DISPLAY", display.c_str(), 1);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            std::vector<char*> args;
            for (const std::string& arg : argv) {
                args.push_back(const_cast<char*>(arg.c_str()));
            }
            args.push_back(nullptr);
            execv(args[0], args.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t written = write(exec[1], &error, sizeof error);
            _exit(127);
        }
        close(exec[1]);
        int error = 0;
        const ssize_t n = read(exec[0], &error, sizeof error);
        m_execUs = NowUs();
        close(exec[0]);
        if (n > 0) {
            m_execError = std::strerror(error);
        }
        m_exited = int(syscall(SYS_pidfd_open, m_pid, 0));
    }
    ~MeasuredChild() {
        End();
        if (m_exited >= 0) {
            close(m_exited);
        }
    }
    MeasuredChild(const MeasuredChild&) = delete;
    MeasuredChild& operator=(const MeasuredChild&) = delete;

    pid_t Pid() const { return m_pid; }
    std::int64_t ExecUs() const { return m_execUs; }
    const std::string& ExecError() const { return m_execError; }
    int ExitedFd() const { return m_exited; }
    bool HasExited() const {
        pollfd p{m_exited, POLLIN, 0};
        return poll(&p, 1, 0) == 1;
    }

    // Ends it (if it still runs) and reaps it.
    void End() {
        if (m_pid <= 0) {
            return;
        }
        kill(m_pid, SIGTERM);
        while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_exited = -1;
    std::int64_t m_execUs = 0;
    std::string m_execError;
};

// The child's top-level window from its MapNotify on the root: the one whose _NET_WM_PID is
// the child's; None when none came in time.
Window WaitForMap(Display* x, const MeasuredChild& child, std::int64_t* mappedUs) {
    const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", False);
    const std::int64_t deadline = NowUs() + kStartTimeoutUs;
    for (;;) {
        while (XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type != MapNotify || event.xmap.override_redirect) {
                continue;
            }
            const std::int64_t at = NowUs();
            Atom type = None;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            const bool hasPid =
                XGetWindowProperty(x, event.xmap.window, pidAtom, 0, 1, False, XA_CARDINAL, &type,
                                   &format, &count, &after, &data) == Success &&
                data != nullptr && count == 1;
            const unsigned long pid = hasPid ? *reinterpret_cast<unsigned long*>(data) : 0;
            if (data != nullptr) {
                XFree(data);
            }
            if (pid == static_cast<unsigned long>(child.Pid())) {
                *mappedUs = at;
                return event.xmap.window;
            }
        }
        if (child.HasExited() || NowUs() >= deadline) {
            return None;
        }
        pollfd fds[2] = {{ConnectionNumber(x), POLLIN, 0}, {child.ExitedFd(), POLLIN, 0}};
        poll(fds, 2, int((deadline - NowUs()) / 1000 + 1));
    }
}

// The moment a pixel of window's rectangle first differs from the screen before the start.
std::optional<std::int64_t> WaitForFirstFrame(Display* x, const Screen& screen, Window window,
                                              const std::vector<unsigned long>& before) {
    Window child = None;
    int left = 0, top = 0;
    XWindowAttributes attributes{};
    XGetWindowAttributes(x, window, &attributes);
    XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
    const int right = std::min(left + attributes.width, screen.Width());
    const int bottom = std::min(top + attributes.height, screen.Height());
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    const std::int64_t deadline = NowUs() + kStartTimeoutUs;
    while (NowUs() < deadline) {
        const std::int64_t readAt = NowUs();
        const auto now = screen.Read(left, top, right - left, bottom - top);
        for (int y = 0; y < bottom - top && !now.empty(); ++y) {
            for (int x0 = 0; x0 < right - left; ++x0) {
                const unsigned long was =
                    before[std::size_t(top + y) * std::size_t(screen.Width()) +
                           std::size_t(left + x0)];
                if (now[std::size_t(y) * std::size_t(right - left) + std::size_t(x0)] != was) {
                    return readAt;
                }
            }
        }
        pollfd p{-1, 0, 0};
        poll(&p, 0, kFramePollMs);
    }
    return std::nullopt;
}

// Clicks the Zoom button of window with XTest and waits for the zoom window's MapNotify.
bool OpenZoomWindow(Display* x, Window window, const MeasuredChild& child) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(x, &eventBase, &errorBase, &major, &minor)) {
        return false;
    }
    int left = 0, top = 0;
    Window ignored = None;
    XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &ignored);
    XTestFakeMotionEvent(x, -1, left + kZoomButtonX, top + kZoomButtonY, CurrentTime);
    XTestFakeButtonEvent(x, 1, True, CurrentTime);
    XTestFakeButtonEvent(x, 1, False, CurrentTime);
    XSync(x, False);
    std::int64_t mappedUs = 0;
    const bool opened = WaitForMap(x, child, &mappedUs) != None;
    // The pointer rests on the desktop, as when the user aims at something.
    XTestFakeMotionEvent(x, -1, 100, 100, CurrentTime);
    XSync(x, False);
    return opened;
}

Figures MeasureOnce(const std::string& display, const std::vector<std::string>& argv,
                    int idleSeconds, bool zoom, pid_t serverPid) {
    Figures figures;
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) {
        figures.failure = "cannot open display " + display;
        return figures;
    }
    const Screen screen(x);
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
    XSync(x, False);
    const auto before = screen.Read(0, 0, screen.Width(), screen.Height());

    MeasuredChild child(display, argv);
    if (!child.ExecError().empty()) {
        figures.failure = argv[0] + ": " + child.ExecError();
        XCloseDisplay(x);
        return figures;
    }
    std::int64_t mappedUs = 0;
    const Window window = WaitForMap(x, child, &mappedUs);
    if (window == None) {
        figures.failure = child.HasExited() ? "the program ended before mapping a window"
                                            : "no window mapped within 10 s";
        child.End();
        XCloseDisplay(x);
        return figures;
    }
    figures.mapMs = double(mappedUs - child.ExecUs()) / 1000.0;
    if (const auto frameUs = WaitForFirstFrame(x, screen, window, before)) {
        figures.frameMs = double(*frameUs - child.ExecUs()) / 1000.0;
    } else {
        figures.failure = "the window showed nothing within 10 s";
    }

    if (idleSeconds > 0 && !child.HasExited()) {
        // Settle first: what follows the first frame (the first ticks, fonts loaded late) is
        // start-up, not idling.
        WaitReadable(child.ExitedFd(), NowUs() + 1'000'000);
        const IdleSpan idle = MeasureIdle(child.Pid(), child.ExitedFd(), serverPid, idleSeconds);
        if (!idle.program) {
            figures.failure = "the program ended while idle";
        } else {
            figures.idleCpu = idle.program;
            figures.serverIdleCpu = idle.server;
            figures.idleRssKb = ReadStatusKb(child.Pid(), "VmRSS");
        }
    }
    if (zoom && figures.idleCpu) {
        if (!OpenZoomWindow(x, window, child)) {
            figures.failure = "the zoom window did not open";
        } else {
            WaitReadable(child.ExitedFd(), NowUs() + 1'000'000);
            const IdleSpan open =
                MeasureIdle(child.Pid(), child.ExitedFd(), serverPid, idleSeconds);
            figures.zoomCpu = open.program;
            figures.serverZoomCpu = open.server;
            if (!open.program) {
                figures.failure = "the program ended with the zoom window open";
            }
        }
    }
    // VmHWM belongs to the address space exec made. ru_maxrss does not serve: it also counts
    // the bench's own pages the fork held before exec.
    figures.peakRssKb = child.HasExited() ? 0 : ReadStatusKb(child.Pid(), "VmHWM");
    child.End();
    XCloseDisplay(x);
    return figures;
}

// --- The table ---

double Median(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }),
                 values.end());
    if (values.empty()) {
        return -1;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A figure with one decimal, or "-" for one that could not be taken (negative).
std::string Figure(double value) {
    if (value < 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

struct Row {
    std::string name;
    std::vector<Figures> runs;
};

void PrintTable(const std::vector<Row>& rows, int idleSeconds) {
    std::printf("\n%-28s %10s %10s %10s %10s %12s %12s %10s\n", "program", "map ms", "(min)",
                "frame ms", "(min)", "peak RSS MB", "idle RSS MB", "CPU ms");
    std::printf("%-28s %10s %10s %10s %10s %12s %12s %10s\n", "", "median", "", "median", "", "",
                "", idleSeconds > 0 ? ("/" + std::to_string(idleSeconds) + " s").c_str() : "");
    for (const Row& row : rows) {
        std::vector<double> maps, frames;
        long peak = 0;
        const Figures* idle = nullptr;
        for (const Figures& f : row.runs) {
            maps.push_back(f.mapMs);
            frames.push_back(f.frameMs);
            peak = std::max(peak, f.peakRssKb);
            if (f.idleCpu) {
                idle = &f;
            }
        }
        const auto minimum = [](const std::vector<double>& v) {
            double m = -1;
            for (double x : v) {
                if (x >= 0 && (m < 0 || x < m)) {
                    m = x;
                }
            }
            return m;
        };
        std::printf("%-28s %10s %10s %10s %10s %12s", row.name.c_str(),
                    Figure(Median(maps)).c_str(), Figure(minimum(maps)).c_str(),
                    Figure(Median(frames)).c_str(), Figure(minimum(frames)).c_str(),
                    Figure(peak > 0 ? double(peak) / 1024.0 : -1).c_str());
        if (idle != nullptr) {
            std::printf(" %12.1f %10.1f\n", double(idle->idleRssKb) / 1024.0,
                        idle->idleCpu->schedMs);
        } else {
            std::printf(" %12s %10s\n", "-", "-");
        }
    }
    std::printf(
        "\nmap, frame: from exec to the window's MapNotify and to its first pixels on "
        "screen.\npeak RSS: VmHWM just before the program is ended; idle RSS: VmRSS "
        "after the idle span.\n"
        "CPU: scheduler time of all threads over the idle span; utime+stime, in whole "
        "clock ticks:");
    for (const Row& row : rows) {
        for (const Figures& f : row.runs) {
            if (f.idleCpu) {
                std::printf(" %s %.0f ms;", row.name.c_str(), f.idleCpu->statMs);
            }
        }
    }
    std::printf("\n");
}

Row Measure(const std::string& name, const std::string& display,
            const std::vector<std::string>& argv, int runs, int idleSeconds, bool zoom = false,
            pid_t serverPid = 0) {
    Row row{name, {}};
    for (int i = 0; i < runs; ++i) {
        const bool last = i + 1 == runs;
        Figures figures =
            MeasureOnce(display, argv, last ? idleSeconds : 0, last && zoom, serverPid);
        std::fprintf(stderr, "%s run %d: map %.1f ms, frame %.1f ms, peak %.1f MB%s%s\n",
                     name.c_str(), i + 1, figures.mapMs, figures.frameMs,
                     double(figures.peakRssKb) / 1024.0, figures.failure.empty() ? "" : ": ",
                     figures.failure.c_str());
        row.runs.push_back(std::move(figures));
    }
    return row;
}

// The zoom window's figures: the idle CPU with it open beside the main window alone, and the
// extra CPU per tick, the program's and the X server's.
void PrintZoom(const Row& row, int idleSeconds) {
    const Figures* f = nullptr;
    for (const Figures& run : row.runs) {
        if (run.zoomCpu) {
            f = &run;
        }
    }
    if (f == nullptr) {
        std::printf("\nzoom window: no figures (%s)\n",
                    row.runs.empty() ? "no run" : row.runs.back().failure.c_str());
        return;
    }
    const double ticks = double(idleSeconds) * 1000.0 / kTickMs;
    const double alone = f->idleCpu->schedMs;
    const double open = f->zoomCpu->schedMs;
    const bool server = f->serverIdleCpu && f->serverZoomCpu;
    std::printf("\nzoom window, %s, CPU over %d s idle (scheduler time):\n", row.name.c_str(),
                idleSeconds);
    std::printf("  %-22s %10s %14s\n", "", "program ms", "X server ms");
    std::printf("  %-22s %10.1f %14s\n", "main window alone", alone,
                server ? Figure(f->serverIdleCpu->schedMs).c_str() : "-");
    std::printf("  %-22s %10.1f %14s   program %.2f x the main window alone\n", "zoom window open",
                open, server ? Figure(f->serverZoomCpu->schedMs).c_str() : "-",
                alone > 0 ? open / alone : 0.0);
    const double programTick = (open - alone) / ticks;
    if (server) {
        const double serverTick = (f->serverZoomCpu->schedMs - f->serverIdleCpu->schedMs) / ticks;
        std::printf(
            "  one zoom tick: %.3f ms in the program + %.3f ms in the X server = %.3f ms "
            "(extra CPU per tick over %.0f ticks)\n",
            programTick, serverTick, programTick + serverTick, ticks);
    } else {
        std::printf(
            "  one zoom tick: %.3f ms in the program (extra CPU per tick over %.0f "
            "ticks; the X server's is not known on a server the bench did not start)\n",
            programTick, ticks);
    }
}

void Usage() {
    std::fputs(
        "usage: x11_startup_bench [--program PATH] [--runs N] [--idle-seconds S] [--xvfb]\n"
        "                         [--zoom] [-- ARGUMENTS FOR THE PROGRAM]\n"
        "Runs on $DISPLAY when set (unless --xvfb), else on an Xvfb of its own.\n",
        stderr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--bare-window") == 0) {
        return RunBareWindow();
    }
    // The program keeps one copy per user through a lock in the runtime directory: a private
    // one, so that a picker the user runs does not turn the measured runs into second copies.
    char runtimeDir[] = "/tmp/tintaro-bench-XXXXXX";
    struct RemovedAtExit {
        std::string path;
        ~RemovedAtExit() {
            std::error_code ignored;
            if (!path.empty())
                std::filesystem::remove_all(path, ignored);
        }
    } runtime;
    if (mkdtemp(runtimeDir) != nullptr) {
        runtime.path = runtimeDir;
        setenv("XDG_RUNTIME_DIR", runtimeDir, 1);
    }
#ifdef TINTARO_STAND_IN_PICKER
    std::string program = TINTARO_STAND_IN_PICKER;
#else
    std::string program;
#endif
    int runs = kDefaultRuns;
    int idleSeconds = kDefaultIdleSeconds;
    bool ownServer = std::getenv("DISPLAY") == nullptr;
    bool zoom = false;
    std::vector<std::string> programArgs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--program" && i + 1 < argc) {
            program = argv[++i];
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--idle-seconds" && i + 1 < argc) {
            idleSeconds = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--xvfb") {
            ownServer = true;
        } else if (arg == "--zoom") {
            zoom = true;
        } else if (arg == "--") {
            programArgs.assign(argv + i + 1, argv + argc);
            break;
        } else {
            Usage();
            return 2;
        }
    }
    if (program.empty()) {
        Usage();
        return 2;
    }

    std::optional<x11test::XServer> server;
    std::string display;
    if (ownServer) {
        server = x11test::XServer::Start();
        if (!server) {
            std::fputs("x11_startup_bench: cannot start Xvfb\n", stderr);
            return 1;
        }
        display = server->Name();
    } else {
        display = std::getenv("DISPLAY");
    }
    std::printf("display %s%s, %d runs, %d s idle\n", display.c_str(),
                ownServer ? " (own Xvfb)" : "", runs, idleSeconds);
    std::fflush(stdout);

    std::vector<std::string> measured{program};
    measured.insert(measured.end(), programArgs.begin(), programArgs.end());
    std::vector<Row> rows;
    const std::string name = program.substr(program.rfind('/') + 1);
    rows.push_back(
        Measure(name, display, measured, runs, idleSeconds, zoom, server ? server->Pid() : 0));
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        rows.push_back(Measure("bare Xlib window (floor)", display,
                               {std::string(self, std::size_t(length)), "--bare-window"}, runs,
                               idleSeconds));
    }
    PrintTable(rows, idleSeconds);
    if (zoom) {
        PrintZoom(rows.front(), idleSeconds);
    }
    return 0;
}
