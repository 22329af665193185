// The picker program on a private X server, as the end-to-end tests start and watch it: the
// fixture that runs it with a lock directory of its own, finds its windows by title, reads
// what they show, and acts on them with XTest as a person would. Every test runs twice: on our
// own Win32 layer, and as the Windows build under Wine, with the same expectations.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// The fixture first: it brings gtest in before Xlib's macros.
#include "tests/x11/wine_session.h"
#include "tests/x11/x11_fixture.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace x11test {

constexpr char kTitle[] = "Tintaro LE";
constexpr unsigned kOuterWidth = 202;
constexpr unsigned kOuterHeight = 200;
// The client area's origin in the window: a 3 px dialog frame and a 19 px caption.
constexpr int kClientLeft = 3;
constexpr int kClientTop = 22;
constexpr std::uint64_t kExitTimeoutMs = 3000;
// Under Wine a test's first start also starts the prefix's wineserver and its services.
constexpr std::uint64_t kWineStartTimeoutMs = 30'000;
constexpr std::uint64_t kWineExitTimeoutMs = 15'000;

enum class Program { Native, Windows };

inline auto BothPrograms() {
    return ::testing::Values(Program::Native, Program::Windows);
}
inline std::string ProgramName(const ::testing::TestParamInfo<Program>& info) {
    return info.param == Program::Native ? "Native" : "Wine";
}
inline void PrintTo(Program program, std::ostream* out) {
    *out << (program == Program::Native ? "our Win32 layer" : "the Windows build under Wine");
}

// Dialog units to client pixels: the dialog font's base units are 6 x 12.
constexpr Rect DialogRect(int x, int y, int width, int height) {
    return {x * 6 / 4, y * 12 / 8, (x + width) * 6 / 4, (y + height) * 12 / 8};
}
constexpr Rect Inset(const Rect& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}
// Insides of the framed controls, clear of their black frames and of rounding.
constexpr Rect kLiveSwatch = Inset(DialogRect(4, 5, 122, 23), 3);
constexpr Rect kStrip = Inset(DialogRect(4, 45, 122, 10), 3);
constexpr Rect kCopyButton = DialogRect(95, 58, 31, 18);

// A directory of the test's own for the single-instance lock, so that runs in parallel and the
// user's own picker do not see each other.
class LockDirectory {
public:
    LockDirectory() {
        char pattern[] = "/tmp/tintaro-e2e-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            m_path = pattern;
        }
    }
    ~LockDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    LockDirectory(const LockDirectory&) = delete;
    LockDirectory& operator=(const LockDirectory&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

struct Finished {
    std::optional<int> status;
    std::string errorOutput;
};

// Runs the program to its end with DISPLAY set to display; what it wrote on standard error.
inline Finished RunToEnd(const std::string& display, const std::string& lockDirectory) {
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(errorPipe[1], 2);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", lockDirectory.c_str(), 1);
        execl(TINTARO_PROGRAM, TINTARO_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(errorPipe[1]);
    Finished finished;
    const std::uint64_t deadline = display::x11::MonotonicMs() + kExitTimeoutMs;
    for (std::uint64_t now = display::x11::MonotonicMs(); now < deadline;
         now = display::x11::MonotonicMs()) {
        pollfd fd{errorPipe[0], POLLIN, 0};
        if (poll(&fd, 1, int(deadline - now)) <= 0) {
            continue;
        }
        char buffer[1024];
        const ssize_t n = read(errorPipe[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        finished.errorOutput.append(buffer, std::size_t(n));
    }
    close(errorPipe[0]);
    finished.status = WaitForExit(pid, kExitTimeoutMs);
    return finished;
}

class PickerTest : public X11Fixture, public ::testing::WithParamInterface<Program> {
protected:
    void SetUp() override {
        m_current = GetParam();
        if (GetParam() == Program::Windows) {
            std::string whyNot;
            m_wine = WineSession::Open(whyNot);
            if (!m_wine) {
                GTEST_SKIP() << "not run under Wine: " << whyNot;
            }
        }
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(Observer(), &event, &error, &major, &minor)) {
            GTEST_SKIP() << "no XTest on the server";
        }
        ASSERT_FALSE(m_lock.Path().empty());
        XSelectInput(Observer(), DefaultRootWindow(Observer()), SubstructureNotifyMask);
        XSync(Observer(), False);
    }

    // Wine leaves the keyboard focus to a window manager: without one the X focus follows the
    // pointer, and keys reach whatever window lies under it rather than the active window as
    // on Windows. So the Windows build always runs under one (its frame is Wine's own all the
    // same: the prefix tells Wine not to have it decorated).
    bool WantsWindowManager() const override { return GetParam() == Program::Windows; }

    // Wine's processes end before their X server does.
    void TearDown() override {
        m_wine.reset();
        X11Fixture::TearDown();
    }

    // Which of the two programs Start runs: the parameter's, unless a test switches.
    void UseProgram(Program program) { m_current = program; }
    bool UnderWine() const { return m_current == Program::Windows && m_wine.has_value(); }

    // extra: more of the native program's environment (Wine's is the session's own).
    ChildProcess Start(const char* argument = nullptr, const Environment& extra = {}) {
        if (UnderWine()) {
            const std::vector<std::string> command = m_wine->Command(argument);
            std::vector<const char*> argv;
            for (const std::string& part : command) {
                argv.push_back(part.c_str());
            }
            argv.push_back(nullptr);
            return Spawn(DisplayName(), argv.data(), m_wine->ProcessEnvironment(), true);
        }
        const char* const argv[] = {TINTARO_PROGRAM, argument, nullptr};
        Environment environment{{"XDG_RUNTIME_DIR", m_lock.Path()}};
        environment.insert(environment.end(), extra.begin(), extra.end());
        return Spawn(DisplayName(), argv, environment, true);
    }

    // Where the native program keeps its single-instance lock in this test.
    const std::string& LockPath() const { return m_lock.Path(); }

    // The process's exit status; it is reaped here.
    std::optional<int> ExitOf(ChildProcess& process) {
        const auto status =
            WaitForExit(process.Pid(), UnderWine() ? kWineExitTimeoutMs : kExitTimeoutMs);
        process.Release();
        return status;
    }
    // How long the program may take to show a window it opens, or to answer for the clipboard
    // (under Wine another process, its clipboard manager, takes the selection and answers).
    std::uint64_t ShowTimeoutMs() const { return UnderWine() ? kWineStartTimeoutMs : kTimeoutMs; }

    // Every window on the server titled kTitle, at any depth (a manager reparents it).
    std::vector<Window> PickerWindows() { return WindowsTitled(kTitle); }
    // A window's title as the manager reads it: _NET_WM_NAME in UTF-8, else WM_NAME.
    std::string TitleOf(Window window) {
        const Atom utf8Name = XInternAtom(Observer(), "_NET_WM_NAME", False);
        const Atom utf8String = XInternAtom(Observer(), "UTF8_STRING", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(Observer(), window, utf8Name, 0, 1024, False, utf8String, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr && type == utf8String) {
            title.assign(reinterpret_cast<const char*>(data), count);
        } else {
            char* name = nullptr;
            if (XFetchName(Observer(), window, &name) && name != nullptr) {
                title = name;
                XFree(name);
            }
        }
        if (data != nullptr) {
            XFree(data);
        }
        return title;
    }
    // Every window with this title (UTF-8), at any depth.
    std::vector<Window> WindowsTitled(const std::string& title) {
        std::vector<Window> found;
        CollectWindowsTitled(DefaultRootWindow(Observer()), title, found);
        return found;
    }

    // The one picker window, once it is viewable and has painted its live swatch.
    Window WaitForPicker() { return WaitForWindowTitled(kTitle); }
    // The one window with this title, once it is viewable.
    Window WaitForWindowTitled(const std::string& title) {
        Window window = None;
        PollUntil(
            [&] {
                const auto windows = WindowsTitled(title);
                window = windows.size() == 1 && IsShownOnScreen(windows[0]) ? windows[0] : None;
                return window != None;
            },
            ShowTimeoutMs());
        return window;
    }

    // Where the client area's pixel (0, 0) is on the screen.
    std::pair<int, int> ClientOrigin(Window window) {
        int x = 0, y = 0;
        Window child = None;
        XTranslateCoordinates(Observer(), window, DefaultRootWindow(Observer()), 0, 0, &x, &y,
                              &child);
        return {x + kClientLeft, y + kClientTop};
    }

    Rect OnScreen(Window window, const Rect& client) {
        const auto [x, y] = ClientOrigin(window);
        return client.Offset(x, y);
    }

    bool AllOf(const Rect& area, std::uint32_t colour) {
        const auto pixels = ReadScreen(area);
        return std::all_of(pixels.begin(), pixels.end(),
                           [&](std::uint32_t p) { return p == colour; });
    }

    void MovePointer(int x, int y) {
        XTestFakeMotionEvent(Observer(), -1, x, y, CurrentTime);
        XSync(Observer(), False);
    }
    std::pair<int, int> Pointer() {
        Window root = None, child = None;
        int x = 0, y = 0, windowX = 0, windowY = 0;
        unsigned mask = 0;
        XQueryPointer(Observer(), DefaultRootWindow(Observer()), &root, &child, &x, &y, &windowX,
                      &windowY, &mask);
        return {x, y};
    }
    void Press(KeySym keysym) {
        const KeyCode code = XKeysymToKeycode(Observer(), keysym);
        XTestFakeKeyEvent(Observer(), code, True, CurrentTime);
        XTestFakeKeyEvent(Observer(), code, False, CurrentTime);
        XSync(Observer(), False);
    }
    void Click(int x, int y) {
        MovePointer(x, y);
        XTestFakeButtonEvent(Observer(), 1, True, CurrentTime);
        XTestFakeButtonEvent(Observer(), 1, False, CurrentTime);
        XSync(Observer(), False);
    }
    // Keys reach the focus window; the program takes the focus when it starts.
    bool WaitForFocus(Window window) {
        return PollUntil([&] {
            Window focus = None;
            int revert = 0;
            XGetInputFocus(Observer(), &focus, &revert);
            return focus == window;
        });
    }

    // Every observer event the server has sent so far, read: a mark for MapsSince.
    std::size_t EventsSoFar() {
        XSync(Observer(), False);
        WaitUntil([] { return true; });
        return ObserverEvents().size();
    }
    // The windows mapped on the root after a mark.
    std::vector<Window> MapsSince(std::size_t mark) {
        EventsSoFar();
        std::vector<Window> mapped;
        for (auto e = ObserverEvents().begin() + long(mark); e != ObserverEvents().end(); ++e) {
            if (e->type == MapNotify) {
                mapped.push_back(e->xmap.window);
            }
        }
        return mapped;
    }

    // What a failure needs to be understood: where the window is, where the pointer is, and
    // what the live swatch shows in its middle.
    std::string Describe(Window window) {
        const auto [left, top] = ClientOrigin(window);
        const auto [x, y] = Pointer();
        const Rect swatch = OnScreen(window, kLiveSwatch);
        char text[200];
        std::snprintf(text, sizeof text,
                      "client area at %d, %d; pointer at %d, %d over %06X; swatch %06X; window "
                      "face %06X",
                      left, top, x, y, PixelAt(x, y),
                      PixelAt((swatch.left + swatch.right) / 2, (swatch.top + swatch.bottom) / 2),
                      PixelAt(left + 192, top + 100));
        return text;
    }

    std::string Clipboard() { return Run({"xclip", "-selection", "clipboard", "-o"}); }

    // Points at a colour, waits for the swatch to follow, takes it with Space, copies it with
    // コピー, and reads the clipboard as another program.
    void PickAndCopy(std::uint32_t colour, const std::string& expected) {
        const Rect target{100, 100, 200, 200};
        SolidFromOtherClient(target, colour);
        MovePointer(150, 150);
        const auto program = Start();
        const Window window = WaitForPicker();
        ASSERT_NE(window, None) << "no window titled " << kTitle << " was shown";
        ASSERT_TRUE(PollUntil([&] { return AllOf(OnScreen(window, kLiveSwatch), colour); }))
            << "the swatch never showed the colour under the pointer: " << Describe(window);

        ASSERT_TRUE(WaitForFocus(window));
        Press(XK_space);
        ASSERT_TRUE(PollUntil([&] { return AllOf(OnScreen(window, kStrip), colour); }))
            << "Space did not take the colour";

        const Rect copy = OnScreen(window, kCopyButton);
        Click((copy.left + copy.right) / 2, (copy.top + copy.bottom) / 2);
        std::string text;
        EXPECT_TRUE(PollUntil([&] { return (text = Clipboard()) == expected; }, ShowTimeoutMs()))
            << "the clipboard holds \"" << text << "\"";
    }

private:
    void CollectWindowsTitled(Window parent, const std::string& title, std::vector<Window>& found) {
        Window root = None, grandparent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(Observer(), parent, &root, &grandparent, &children, &count)) {
            return;
        }
        for (unsigned i = 0; i < count; ++i) {
            if (TitleOf(children[i]) == title) {
                found.push_back(children[i]);
            }
            CollectWindowsTitled(children[i], title, found);
        }
        if (children != nullptr) {
            XFree(children);
        }
    }

    LockDirectory m_lock;
    std::optional<WineSession> m_wine;
    Program m_current = Program::Native;
};

class PickerUnderManagerTest : public PickerTest {
protected:
    bool WantsWindowManager() const override { return true; }
};

}  // namespace x11test
