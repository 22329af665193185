// Start-up, memory and idle CPU of a program on X, measured from outside as a user would see
// them, each beside the same figure of a bare Xlib window that ticks at 10 Hz (the floor):
// the time from exec to the window's MapNotify and to its first frame on screen, the peak
// resident memory 3 s after exec, and the CPU spent in spans of sitting idle.
//
// The first frame is seen on the screen itself: the bench keeps a copy of the screen from
// before the start and reads the window's rectangle from the root window until a pixel
// differs. Expose only says when the server asks for pixels, not when they arrive, and our
// windows have no background for the server to paint, so before the program draws its
// rectangle still shows what was there.
//
// Starts of the program and of the bare window alternate. In an idle run both idle side by
// side over the same span, so that the load of a shared machine falls on both alike and
// their ratio holds where the absolute figures do not. With --tools (the picker program
// itself) each idle run then opens the zoom, slider and palette windows through the main
// window's buttons with XTest and measures a second span: the program's CPU with every window
// open, per tick, and the X server's. --zoom opens the zoom window alone.
//
// The program is the picker of this build unless --program names another.
// Usage: x11_startup_bench [--program PATH] [--runs N] [--idle-runs N] [--idle-seconds S]
//                          [--xvfb] [--zoom | --tools] [-- ARGUMENTS FOR THE PROGRAM]
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
constexpr std::int64_t kSettleUs = 1'000'000;
constexpr std::int64_t kMemoryAtUs = 3'000'000;
constexpr int kFramePollMs = 2;
constexpr int kDefaultRuns = 10;
constexpr int kDefaultIdleRuns = 3;
constexpr int kDefaultIdleSeconds = 10;
constexpr int kTickMs = 100;
// Where the pointer rests while the programs idle: on the desktop, away from every window.
constexpr int kRestX = 100;
constexpr int kRestY = 100;

// The picker's tool buttons in its window: a 3 px frame and a 19 px caption, then the
// button's dialog-unit rectangle at 6 x 12 base units; its middle.
constexpr int ButtonX(int left, int width) {
    return 3 + (left + width / 2) * 6 / 4;
}
constexpr int ButtonY(int top, int height) {
    return 22 + (top + height / 2) * 12 / 8;
}
struct ToolButton {
    const char* name;
    int x;
    int y;
};
constexpr ToolButton kZoomButton{"zoom", ButtonX(70, 56), ButtonY(80, 15)};
constexpr ToolButton kSlidersButton{"slider", ButtonX(5, 56), ButtonY(100, 15)};
constexpr ToolButton kPaletteButton{"palette", ButtonX(6, 56), ButtonY(80, 15)};

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

// --- Measured spans ---

CpuTime Difference(const CpuTime& end, const CpuTime& start) {
    return {end.statMs - start.statMs, end.schedMs - start.schedMs};
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
Window WaitForMap(Display* x, const MeasuredChild& child, std::int64_t* mappedUs,
                  std::int64_t timeoutUs = kStartTimeoutUs, const std::vector<Window>& known = {}) {
    const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", False);
    const std::int64_t deadline = NowUs() + timeoutUs;
    for (;;) {
        while (XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type != MapNotify || event.xmap.override_redirect ||
                std::find(known.begin(), known.end(), event.xmap.window) != known.end()) {
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

// Clicks a button of window with XTest at (x, y) of the window and waits for the MapNotify of
// a window of the program's that was not open yet; the pointer then rests on the desktop, as
// when the user aims at something. The pointer reaches the button before the press, as a
// user's does, and a click that opens nothing within kClickWaitUs is made again (said on
// stderr), so that a slow start on a loaded machine cannot leave a row without its window.
constexpr std::int64_t kClickWaitUs = 2'000'000;
constexpr int kClickAttempts = 3;

bool OpenToolWindow(Display* x, Window window, const MeasuredChild& child, int buttonX, int buttonY,
                    std::vector<Window>& open) {
    int left = 0, top = 0;
    Window ignored = None;
    XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &ignored);
    Window opened = None;
    for (int attempt = 1; attempt <= kClickAttempts && opened == None; ++attempt) {
        if (attempt > 1) {
            std::fprintf(stderr, "click at (%d, %d) opened nothing; again\n", buttonX, buttonY);
        }
        XTestFakeMotionEvent(x, -1, left + buttonX, top + buttonY, CurrentTime);
        XSync(x, False);
        XTestFakeButtonEvent(x, 1, True, CurrentTime);
        XTestFakeButtonEvent(x, 1, False, CurrentTime);
        XSync(x, False);
        std::int64_t mappedUs = 0;
        opened = WaitForMap(x, child, &mappedUs, kClickWaitUs, open);
    }
    XTestFakeMotionEvent(x, -1, kRestX, kRestY, CurrentTime);
    XSync(x, False);
    if (opened == None) {
        return false;
    }
    open.push_back(opened);
    return true;
}

// One start: exec to MapNotify and to the first frame, then the memory once it has run for
// kMemoryAtUs.
struct StartFigures {
    double mapMs = -1;
    double frameMs = -1;
    long peakRssKb = -1;
    long rssKb = -1;
    std::string failure;
};

StartFigures MeasureStart(const std::string& display, const std::vector<std::string>& argv) {
    StartFigures figures;
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
    std::int64_t mappedUs = 0;
    const Window window = child.ExecError().empty() ? WaitForMap(x, child, &mappedUs) : None;
    if (!child.ExecError().empty()) {
        figures.failure = argv[0] + ": " + child.ExecError();
    } else if (window == None) {
        figures.failure = child.HasExited() ? "the program ended before mapping a window"
                                            : "no window mapped within 10 s";
    } else {
        figures.mapMs = double(mappedUs - child.ExecUs()) / 1000.0;
        if (const auto frameUs = WaitForFirstFrame(x, screen, window, before)) {
            figures.frameMs = double(*frameUs - child.ExecUs()) / 1000.0;
        } else {
            figures.failure = "the window showed nothing within 10 s";
        }
        if (!WaitReadable(child.ExitedFd(), child.ExecUs() + kMemoryAtUs)) {
            // VmHWM belongs to the address space exec made. ru_maxrss does not serve: it
            // also counts the bench's own pages the fork held before exec.
            figures.peakRssKb = ReadStatusKb(child.Pid(), "VmHWM");
            figures.rssKb = ReadStatusKb(child.Pid(), "VmRSS");
        } else {
            figures.failure = "the program ended";
        }
    }
    child.End();
    XCloseDisplay(x);
    return figures;
}

// One idle run: the program and the bare window idle side by side over the same spans, so the
// load of the machine falls on both alike; first the main window alone, then (tools) with the
// tool windows opened through their buttons. CPU is scheduler time; the X server's counts
// both clients.
struct IdleFigures {
    double programMs = -1;
    double bareMs = -1;
    double serverMs = -1;
    double programToolsMs = -1;
    double bareToolsMs = -1;
    double serverToolsMs = -1;
    std::string failure;
};

struct Span {
    double programMs = -1;
    double bareMs = -1;
    double serverMs = -1;
};

Span MeasureSpan(const MeasuredChild& program, const MeasuredChild& bare, pid_t serverPid,
                 int idleSeconds) {
    Span span;
    const CpuTime programStart = ReadCpuTime(program.Pid());
    const CpuTime bareStart = ReadCpuTime(bare.Pid());
    const CpuTime serverStart = serverPid > 0 ? ReadCpuTime(serverPid) : CpuTime{};
    if (WaitReadable(program.ExitedFd(), NowUs() + idleSeconds * 1'000'000LL) || bare.HasExited()) {
        return span;
    }
    span.programMs = Difference(ReadCpuTime(program.Pid()), programStart).schedMs;
    span.bareMs = Difference(ReadCpuTime(bare.Pid()), bareStart).schedMs;
    if (serverPid > 0) {
        span.serverMs = Difference(ReadCpuTime(serverPid), serverStart).schedMs;
    }
    return span;
}

IdleFigures MeasureIdleRun(const std::string& display, const std::vector<std::string>& argv,
                           const std::vector<std::string>& bareArgv,
                           const std::vector<ToolButton>& tools, int idleSeconds, pid_t serverPid) {
    IdleFigures figures;
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) {
        figures.failure = "cannot open display " + display;
        return figures;
    }
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
    XTestFakeMotionEvent(x, -1, kRestX, kRestY, CurrentTime);
    XSync(x, False);
    MeasuredChild program(display, argv);
    std::int64_t mappedUs = 0;
    const Window window = program.ExecError().empty() ? WaitForMap(x, program, &mappedUs) : None;
    MeasuredChild bare(display, bareArgv);
    const Window bareWindow = WaitForMap(x, bare, &mappedUs);
    const auto finish = [&](const std::string& failure) {
        figures.failure = failure;
        program.End();
        bare.End();
        XCloseDisplay(x);
        return figures;
    };
    if (window == None || bareWindow == None) {
        return finish("a window did not map");
    }
    // What follows the first frame (the first ticks, fonts loaded late) is start-up, not idling.
    WaitReadable(program.ExitedFd(), NowUs() + kSettleUs);
    const Span alone = MeasureSpan(program, bare, serverPid, idleSeconds);
    if (alone.programMs < 0) {
        return finish("a program ended while idle");
    }
    figures.programMs = alone.programMs;
    figures.bareMs = alone.bareMs;
    figures.serverMs = alone.serverMs;
    if (tools.empty()) {
        return finish("");
    }
    std::vector<Window> shown{window};
    for (const ToolButton& tool : tools) {
        if (!OpenToolWindow(x, window, program, tool.x, tool.y, shown)) {
            return finish(std::string("the ") + tool.name + " window did not open");
        }
    }
    WaitReadable(program.ExitedFd(), NowUs() + kSettleUs);
    const Span open = MeasureSpan(program, bare, serverPid, idleSeconds);
    if (open.programMs < 0) {
        return finish("a program ended with the tool windows open");
    }
    figures.programToolsMs = open.programMs;
    figures.bareToolsMs = open.bareMs;
    figures.serverToolsMs = open.serverMs;
    return finish("");
}

// --- The table ---

// Median, least and greatest of the values that could be taken (not negative).
struct Spread {
    double median = -1;
    double least = -1;
    double most = -1;
    std::size_t count = 0;
};

Spread SpreadOf(std::vector<double> values) {
    std::erase_if(values, [](double v) { return v < 0; });
    Spread spread;
    if (values.empty()) {
        return spread;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    spread.median = values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
    spread.least = values.front();
    spread.most = values.back();
    spread.count = values.size();
    return spread;
}

// Ratios of paired values, program over bare window, where both were taken.
std::vector<double> Ratios(const std::vector<double>& program, const std::vector<double>& bare) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < program.size() && i < bare.size(); ++i) {
        if (program[i] >= 0 && bare[i] > 0) {
            ratios.push_back(program[i] / bare[i]);
        }
    }
    return ratios;
}

std::string Cell(const Spread& s, int decimals) {
    if (s.count == 0) {
        return "-";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f (%.*f-%.*f)", decimals, s.median, decimals, s.least,
                  decimals, s.most);
    return text;
}

struct TableRow {
    std::string figure;
    Spread program;
    Spread bare;
    Spread ratio;
    std::string target;
    double limit = 0;  // the ratio (or, without a bare figure, the value) the target allows
    bool inclusive = true;
    int decimals = 1;
};

void PrintRow(const TableRow& row) {
    const double measured = row.ratio.count > 0 ? row.ratio.median : row.program.median;
    const bool known = row.ratio.count > 0 || row.program.count > 0;
    const bool met = known && (row.inclusive ? measured <= row.limit : measured < row.limit);
    std::printf("%-44s %-24s %-24s %-20s %-9s %s\n", row.figure.c_str(),
                Cell(row.program, row.decimals).c_str(), Cell(row.bare, row.decimals).c_str(),
                Cell(row.ratio, 2).c_str(), row.target.c_str(),
                !known ? "-"
                : met  ? "met"
                       : "NOT MET");
}

std::vector<double> Pick(const std::vector<StartFigures>& runs, double StartFigures::*field) {
    std::vector<double> values;
    for (const StartFigures& run : runs) {
        values.push_back(run.*field);
    }
    return values;
}

std::vector<double> PickKb(const std::vector<StartFigures>& runs, long StartFigures::*field) {
    std::vector<double> values;
    for (const StartFigures& run : runs) {
        values.push_back(run.*field < 0 ? -1 : double(run.*field) / 1024.0);
    }
    return values;
}

std::vector<double> Pick(const std::vector<IdleFigures>& runs, double IdleFigures::*field) {
    std::vector<double> values;
    for (const IdleFigures& run : runs) {
        values.push_back(run.*field);
    }
    return values;
}

TableRow Compare(std::string figure, const std::vector<double>& program,
                 const std::vector<double>& bare, std::string target, double limit) {
    return {std::move(figure), SpreadOf(program),
            SpreadOf(bare),    SpreadOf(Ratios(program, bare)),
            std::move(target), limit};
}

void PrintTable(const std::vector<StartFigures>& programStarts,
                const std::vector<StartFigures>& bareStarts, const std::vector<IdleFigures>& idle,
                bool tools, int idleSeconds) {
    const std::string per = "/" + std::to_string(idleSeconds) + " s";
    std::printf("\n%-44s %-24s %-24s %-20s %-9s\n", "figure: median (least-most)", "program",
                "bare window", "ratio", "target");
    PrintRow(Compare("launch to first frame, ms", Pick(programStarts, &StartFigures::frameMs),
                     Pick(bareStarts, &StartFigures::frameMs), "<= 1.5x", 1.5));
    PrintRow(Compare("launch to MapNotify, ms", Pick(programStarts, &StartFigures::mapMs),
                     Pick(bareStarts, &StartFigures::mapMs), "", 1e9));
    PrintRow(Compare("peak RSS (VmHWM at 3 s), MB, main window",
                     PickKb(programStarts, &StartFigures::peakRssKb),
                     PickKb(bareStarts, &StartFigures::peakRssKb), "<= 1.8x", 1.8));
    PrintRow(Compare("RSS at 3 s, MB", PickKb(programStarts, &StartFigures::rssKb),
                     PickKb(bareStarts, &StartFigures::rssKb), "", 1e9));
    PrintRow(Compare("idle CPU ms" + per + ", main window alone",
                     Pick(idle, &IdleFigures::programMs), Pick(idle, &IdleFigures::bareMs),
                     "<= 1.5x", 1.5));
    if (tools) {
        PrintRow(Compare("idle CPU ms" + per + ", tool windows open",
                         Pick(idle, &IdleFigures::programToolsMs),
                         Pick(idle, &IdleFigures::bareToolsMs), "<= 3x", 3.0));
        const double ticks = double(idleSeconds) * 1000.0 / kTickMs;
        std::vector<double> tick, serverTick, serverAlone, serverTools;
        for (const IdleFigures& run : idle) {
            tick.push_back(run.programToolsMs < 0 ? -1 : run.programToolsMs / ticks);
            serverAlone.push_back(run.serverMs);
            serverTools.push_back(run.serverToolsMs);
            serverTick.push_back(run.serverMs < 0 || run.serverToolsMs < 0
                                     ? -1
                                     : (run.serverToolsMs - run.serverMs) / ticks);
        }
        TableRow row{"CPU of one tick, all windows open, ms",
                     SpreadOf(tick),
                     {},
                     {},
                     "< 0.5 ms",
                     0.5,
                     false,
                     3};
        PrintRow(row);
        std::printf(
            "\nX server, CPU ms%s (both clients): main window alone %s; tool windows "
            "open %s;\n  the tool windows' extra per tick in the server %s ms\n",
            per.c_str(), Cell(SpreadOf(serverAlone), 1).c_str(),
            Cell(SpreadOf(serverTools), 1).c_str(), Cell(SpreadOf(serverTick), 3).c_str());
    } else {
        std::vector<double> server;
        for (const IdleFigures& run : idle) {
            server.push_back(run.serverMs);
        }
        std::printf("\nX server, CPU ms%s (both clients): %s\n", per.c_str(),
                    Cell(SpreadOf(server), 1).c_str());
    }
    std::printf(
        "\nratio: of each run's program figure to the bare window's of the same run (starts "
        "alternate,\nidle spans run side by side), median (least-most) over %zu starts and %zu "
        "idle runs.\nCPU: scheduler time of all threads over the span; a tick is the program's "
        "CPU over the span\nby the %d ticks in it.\n",
        programStarts.size(), idle.size(), idleSeconds * 1000 / kTickMs);
}

void Usage() {
    std::fputs(
        "usage: x11_startup_bench [--program PATH] [--runs N] [--idle-runs N]\n"
        "                         [--idle-seconds S] [--xvfb] [--zoom | --tools]\n"
        "                         [-- ARGUMENTS FOR THE PROGRAM]\n"
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
#ifdef TINTARO_PICKER
    std::string program = TINTARO_PICKER;
#else
    std::string program;
#endif
    int runs = kDefaultRuns;
    int idleRuns = kDefaultIdleRuns;
    int idleSeconds = kDefaultIdleSeconds;
    bool ownServer = std::getenv("DISPLAY") == nullptr;
    std::vector<ToolButton> tools;
    std::vector<std::string> programArgs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--program" && i + 1 < argc) {
            program = argv[++i];
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--idle-runs" && i + 1 < argc) {
            idleRuns = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--idle-seconds" && i + 1 < argc) {
            idleSeconds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--xvfb") {
            ownServer = true;
        } else if (arg == "--zoom") {
            tools = {kZoomButton};
        } else if (arg == "--tools") {
            tools = {kZoomButton, kSlidersButton, kPaletteButton};
        } else if (arg == "--") {
            programArgs.assign(argv + i + 1, argv + argc);
            break;
        } else {
            Usage();
            return 2;
        }
    }
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (program.empty() || length <= 0) {
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
    std::printf("display %s%s, %d starts, %d idle runs of 2 x %d s%s\n", display.c_str(),
                ownServer ? " (own Xvfb)" : "", runs, idleRuns, idleSeconds,
                tools.empty()       ? ""
                : tools.size() == 1 ? ", zoom window"
                                    : ", tool windows");
    std::fflush(stdout);

    std::vector<std::string> measured{program};
    measured.insert(measured.end(), programArgs.begin(), programArgs.end());
    const std::vector<std::string> bare{std::string(self, std::size_t(length)), "--bare-window"};

    std::vector<StartFigures> programStarts, bareStarts;
    for (int i = 0; i < runs; ++i) {
        programStarts.push_back(MeasureStart(display, measured));
        bareStarts.push_back(MeasureStart(display, bare));
        for (const auto* f : {&programStarts.back(), &bareStarts.back()}) {
            std::fprintf(stderr, "%s start %d: map %.1f ms, frame %.1f ms, peak %.1f MB%s%s\n",
                         f == &programStarts.back() ? "program" : "bare", i + 1, f->mapMs,
                         f->frameMs, double(f->peakRssKb) / 1024.0, f->failure.empty() ? "" : ": ",
                         f->failure.c_str());
        }
    }
    std::vector<IdleFigures> idle;
    for (int i = 0; i < idleRuns; ++i) {
        idle.push_back(MeasureIdleRun(display, measured, bare, tools, idleSeconds,
                                      server ? server->Pid() : 0));
        const IdleFigures& f = idle.back();
        std::fprintf(stderr,
                     "idle run %d: program %.1f ms, bare %.1f ms; tools open: program %.1f ms, "
                     "bare %.1f ms%s%s\n",
                     i + 1, f.programMs, f.bareMs, f.programToolsMs, f.bareToolsMs,
                     f.failure.empty() ? "" : ": ", f.failure.c_str());
    }
    PrintTable(programStarts, bareStarts, idle, !tools.empty(), idleSeconds);
    return 0;
}
