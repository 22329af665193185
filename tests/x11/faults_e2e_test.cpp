// Faults from outside, met by the real program on a private X server: twenty copies started at
// one instant, a copy killed outright, the server dying under it, the window manager replaced,
// clipboard requestors that misbehave, and a paste far beyond what the output field takes.
// Native program only: these are faults of our own layer and backend.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "tests/x11/picker_e2e_fixture.h"

namespace x11test {
namespace {

using display::x11::MonotonicMs;
using display::x11::ReadProperty;

constexpr Rect kOutputField = DialogRect(4, 60, 86, 12);
constexpr Rect kZoomButton = DialogRect(70, 80, 56, 15);
constexpr Rect kSlidersButton = DialogRect(5, 100, 56, 15);
constexpr Rect kPaletteButton = DialogRect(6, 80, 56, 15);
constexpr const char* kToolTitles[] = {"ズーム", "カラーダイアログ", "パレット"};
// Two colours of other clients' windows that the pointer goes between to see the tick run.
constexpr Rect kFirstColourArea{100, 100, 200, 200};
constexpr Rect kSecondColourArea{300, 100, 400, 200};
constexpr std::uint32_t kFirstColour = 0x3366CC;
constexpr std::uint32_t kSecondColour = 0xC08040;
// What Win32's edit control takes from the user before EM_LIMITTEXT: 32,767 TCHARs, bytes in
// the A world. A paste beyond it is cut there.
constexpr std::size_t kFieldLimit = 32767;
// How long the copies that find the program running, or a program that lost its server, take
// to end, and a paste may hold up the next tick. Built with the sanitizers, the program starts
// and ends several times slower: that pass checks what happens, the plain one how soon.
#ifdef TINTARO_SANITIZED
constexpr std::uint64_t kPromptEndMs = 10'000;
#else
constexpr std::uint64_t kPromptEndMs = 1000;
#endif

// A text of size bytes without line breaks (the field shows one line), whose every piece is
// told apart from the others: a piece lost or repeated shows.
std::string NumberedText(std::size_t size) {
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) {
        text += std::to_string(i) + ' ';
    }
    text.resize(size);
    return text;
}

// The raw wait status of a child once it ends; null (the child killed) after timeoutMs.
std::optional<int> WaitStatus(pid_t pid, std::uint64_t timeoutMs) {
    const int exited = int(syscall(SYS_pidfd_open, pid, 0));
    pollfd fd{exited, POLLIN, 0};
    const std::uint64_t deadline = MonotonicMs() + timeoutMs;
    int ready = 0;
    for (std::uint64_t now = MonotonicMs(); ready <= 0 && now < deadline; now = MonotonicMs()) {
        ready = poll(&fd, 1, int(deadline - now));
    }
    close(exited);
    int status = 0;
    if (ready <= 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Whether a running process ignores a signal, as /proc tells.
bool IgnoresSignal(pid_t pid, int signal) {
    std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (status == nullptr) {
        return false;
    }
    char line[256];
    unsigned long long ignored = 0;
    while (std::fgets(line, sizeof line, status) != nullptr) {
        std::sscanf(line, "SigIgn: %llx", &ignored);
    }
    std::fclose(status);
    return (ignored >> (signal - 1) & 1) != 0;
}

// Another client asking for the clipboard, on a connection of its own so that it can vanish.
class Requestor {
public:
    explicit Requestor(const std::string& display) : m_x(XOpenDisplay(display.c_str())) {
        if (m_x == nullptr) {
            return;
        }
        m_window = XCreateSimpleWindow(m_x, DefaultRootWindow(m_x), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(m_x, m_window, PropertyChangeMask);
        XSync(m_x, False);
    }
    ~Requestor() { Vanish(); }
    Requestor(const Requestor&) = delete;
    Requestor& operator=(const Requestor&) = delete;

    Display* X() const { return m_x; }
    Window W() const { return m_window; }
    Atom AtomNamed(const char* name) const { return XInternAtom(m_x, name, False); }

    void Ask(const char* target, const char* property) {
        XConvertSelection(m_x, AtomNamed("CLIPBOARD"), AtomNamed(target), AtomNamed(property),
                          m_window, CurrentTime);
        XFlush(m_x);
    }
    // Asks, and destroys its window in the same breath: the server has done both before the
    // owner hears of the request.
    void AskAndDestroyWindow(const char* target, const char* property) {
        XConvertSelection(m_x, AtomNamed("CLIPBOARD"), AtomNamed(target), AtomNamed(property),
                          m_window, CurrentTime);
        XDestroyWindow(m_x, m_window);
        XSync(m_x, False);
    }
    // The owner's SelectionNotify, once it has come.
    std::optional<XSelectionEvent> Answer() {
        XEvent event;
        if (XCheckTypedWindowEvent(m_x, m_window, SelectionNotify, &event)) {
            return event.xselection;
        }
        return std::nullopt;
    }
    // Whether the owner has written property since last asked.
    bool Written(const char* property) {
        const Atom atom = AtomNamed(property);
        XEvent event;
        bool written = false;
        while (XCheckTypedWindowEvent(m_x, m_window, PropertyNotify, &event)) {
            written = written ||
                      (event.xproperty.atom == atom && event.xproperty.state == PropertyNewValue);
        }
        return written;
    }
    // Its connection closes, and its window with it.
    void Vanish() {
        if (m_x != nullptr) {
            XCloseDisplay(m_x);
            m_x = nullptr;
        }
    }

private:
    Display* m_x;
    Window m_window = None;
};

class FaultTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        SolidFromOtherClient(kFirstColourArea, kFirstColour);
        SolidFromOtherClient(kSecondColourArea, kSecondColour);
    }

    void ClickOn(Window window, const Rect& client) {
        const Rect r = OnScreen(window, client);
        Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void PressWithControl(KeySym keysym) {
        const KeyCode control = XKeysymToKeycode(Observer(), XK_Control_L);
        const KeyCode code = XKeysymToKeycode(Observer(), keysym);
        XTestFakeKeyEvent(Observer(), control, True, CurrentTime);
        XTestFakeKeyEvent(Observer(), code, True, CurrentTime);
        XTestFakeKeyEvent(Observer(), code, False, CurrentTime);
        XTestFakeKeyEvent(Observer(), control, False, CurrentTime);
        XSync(Observer(), False);
    }

    // The sampling tick runs: the pointer goes to the other colour, and the live swatch shows
    // it. How long that took, or null when it never did.
    std::optional<std::uint64_t> TickFollowsPointer(Window picker) {
        m_onFirst = !m_onFirst;
        const Rect& area = m_onFirst ? kFirstColourArea : kSecondColourArea;
        const std::uint32_t colour = m_onFirst ? kFirstColour : kSecondColour;
        const std::uint64_t start = MonotonicMs();
        MovePointer((area.left + area.right) / 2, (area.top + area.bottom) / 2);
        if (!PollUntil([&] { return AllOf(OnScreen(picker, kLiveSwatch), colour); })) {
            return std::nullopt;
        }
        return MonotonicMs() - start;
    }

    // The user puts text on the clipboard (this test's backend owns it) and, in the program's
    // output field, pastes it, selects all and copies: the program then owns what the field
    // took. The field's text lasts until the next tick rewrites it, so the keys go in one go;
    // the program reads them all before its next timer. False when the program never took the
    // clipboard.
    bool PasteSelectAndCopy(Window picker, const std::string& text) {
        Backend().SetClipboardText(text);
        const Atom clipboard = AtomOf(Observer(), "CLIPBOARD");
        const Window ours = XGetSelectionOwner(Observer(), clipboard);
        if (!WaitForFocus(picker)) {
            return false;
        }
        ClickOn(picker, kOutputField);
        PressWithControl(XK_v);
        PressWithControl(XK_a);
        PressWithControl(XK_c);
        return PollUntil([&] {
            const Window owner = XGetSelectionOwner(Observer(), clipboard);
            return owner != None && owner != ours;
        });
    }
    // The clipboard as this test's backend reads it, from the program (or itself).
    std::string ClipboardNow() { return Backend().ClipboardText().value_or(""); }

    // Where window's top-level ancestor (its manager's frame, if any) is in the stacking order:
    // higher is nearer the top.
    int StackPosition(Window window) {
        Display* x = Observer();
        const Window root = DefaultRootWindow(x);
        Window top = window;
        for (;;) {
            Window rootReturn = None, parent = None;
            Window* children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(x, top, &rootReturn, &parent, &children, &count)) {
                return -1;
            }
            if (children != nullptr) {
                XFree(children);
            }
            if (parent == root || parent == None) {
                break;
            }
            top = parent;
        }
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(x, root, &rootReturn, &parent, &children, &count);
        int position = -1;
        for (unsigned i = 0; i < count; ++i) {
            if (children[i] == top) {
                position = int(i);
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return position;
    }

    pid_t PidOf(Window window) {
        const auto pid = PropertyOf(Observer(), window, "_NET_WM_PID");
        return pid && !pid->items.empty() ? pid_t(pid->items.front()) : -1;
    }

private:
    bool m_onFirst = false;
};

class FaultUnderManagerTest : public FaultTest {
protected:
    bool WantsWindowManager() const override { return true; }
};

// Twenty copies started at one instant: the single-instance lock lets exactly one through, and
// every other ends promptly without mapping a window. A copy killed outright leaves no lock
// behind: the kernel drops it with the process, and the next start shows its window.
TEST_P(FaultTest, CopiesStartedTogetherShowOneWindowAndAKilledOneLeavesNoLock) {
    constexpr int kCopies = 20;
    const std::size_t mark = EventsSoFar();
    int gate[2];
    ASSERT_EQ(pipe2(gate, O_CLOEXEC), 0);
    std::vector<ChildProcess> copies;
    for (int i = 0; i < kCopies; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char byte = 0;
            while (read(gate[0], &byte, 1) < 0 && errno == EINTR) {
            }
            setpgid(0, 0);
            setenv("DISPLAY", DisplayName().c_str(), 1);
            setenv("XDG_RUNTIME_DIR", LockPath().c_str(), 1);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
            execl(TINTARO_PROGRAM, TINTARO_PROGRAM, static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        setpgid(pid, pid);
        copies.emplace_back(pid, true);
    }
    close(gate[0]);
    close(gate[1]);  // the gate opens: every copy reads its end at once
    const std::uint64_t opened = MonotonicMs();

    std::vector<int> statuses;
    std::uint64_t lastEnded = 0;
    PollUntil(
        [&] {
            for (ChildProcess& copy : copies) {
                int status = 0;
                if (copy.Running() && waitpid(copy.Pid(), &status, WNOHANG) == copy.Pid()) {
                    copy.Release();
                    statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
                    lastEnded = MonotonicMs() - opened;
                }
            }
            return statuses.size() >= kCopies - 1;
        },
        std::max<std::uint64_t>(10'000, 3 * kPromptEndMs));
    ASSERT_EQ(statuses.size(), std::size_t(kCopies - 1)) << "copies still running";
    EXPECT_LE(lastEnded, kPromptEndMs) << "the last copy that found the lock held ended late";
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 0), kCopies - 1);

    const auto running = std::find_if(copies.begin(), copies.end(),
                                      [](const ChildProcess& c) { return c.Running(); });
    ASSERT_NE(running, copies.end());
    const Window window = WaitForPicker();
    ASSERT_NE(window, None);
    EXPECT_EQ(PidOf(window), running->Pid());
    EXPECT_EQ(MapsSince(mark), std::vector<Window>{window})
        << "a window of another copy was mapped";

    kill(running->Pid(), SIGKILL);
    EXPECT_EQ(ExitOf(*running), -1);
    ASSERT_TRUE(PollUntil([&] { return PickerWindows().empty(); }));
    auto next = Start();
    const Window nextWindow = WaitForPicker();
    ASSERT_NE(nextWindow, None) << "the killed copy's lock stopped the next start";
    EXPECT_EQ(PidOf(nextWindow), next.Pid());
    std::printf(
        "[ figures  ] %d copies at once: the last that found the lock held ended %llu ms "
        "after the start\n",
        kCopies, static_cast<unsigned long long>(lastEnded));
}

// The server dies under the running program: it ends at once with one line on its standard
// error and a failure status, by exit rather than by a signal (so no core).
TEST_P(FaultTest, LostServerEndsTheProgramWithOneLine) {
    int errors[2];
    ASSERT_EQ(pipe2(errors, O_CLOEXEC), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        setenv("DISPLAY", DisplayName().c_str(), 1);
        setenv("XDG_RUNTIME_DIR", LockPath().c_str(), 1);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(errors[1], 2);
        execl(TINTARO_PROGRAM, TINTARO_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    ChildProcess program(pid, true);
    close(errors[1]);
    ASSERT_NE(WaitForPicker(), None);
    // A server that dies between the program's last read and its next write must not end it
    // with SIGPIPE, silently: that signal is ignored, and Xlib sees the write fail.
    EXPECT_TRUE(IgnoresSignal(pid, SIGPIPE));

    LoseServer();
    const std::uint64_t lost = MonotonicMs();
    const auto status = WaitStatus(pid, kPromptEndMs);
    const std::uint64_t ended = MonotonicMs() - lost;
    program.Release();
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(errors[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, std::size_t(n));
    }
    close(errors[0]);
    ASSERT_TRUE(status.has_value()) << "still running " << kPromptEndMs << " ms after";
    ASSERT_TRUE(WIFEXITED(*status))
        << "ended by signal " << WTERMSIG(*status) << (WCOREDUMP(*status) ? ", core dumped" : "");
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_EQ(text, "tintaro: lost the X display\n");
    std::printf("[ figures  ] ended %llu ms after the server\n",
                static_cast<unsigned long long>(ended));
}

// Another manager replaces the running one: the program's windows stay mapped, the main window
// stays above an ordinary window of another client, and the tool windows above the main window.
TEST_P(FaultUnderManagerTest, ReplacedWindowManagerKeepsTheWindowsAndTheirOrder) {
    Display* x = Observer();
    const Window other =
        XCreateSimpleWindow(x, DefaultRootWindow(x), 400, 300, 600, 500, 0, 0, 0x808080);
    XStoreName(x, other, "other");
    XMapRaised(x, other);
    XSync(x, False);
    ASSERT_TRUE(PollUntil([&] { return IsShownOnScreen(other); }));

    const auto program = Start();
    const Window picker = WaitForPicker();
    ASSERT_NE(picker, None);
    std::vector<Window> tools;
    for (const auto& [button, title] :
         {std::pair{kZoomButton, kToolTitles[0]}, std::pair{kSlidersButton, kToolTitles[1]},
          std::pair{kPaletteButton, kToolTitles[2]}}) {
        ClickOn(picker, button);
        tools.push_back(WaitForWindowTitled(title));
        ASSERT_NE(tools.back(), None) << title << " did not open";
    }
    // The windows as they must be, before and after.
    const auto inOrder = [&] {
        if (!IsShownOnScreen(picker) || StackPosition(picker) <= StackPosition(other)) {
            return false;
        }
        return std::all_of(tools.begin(), tools.end(), [&](Window tool) {
            return IsShownOnScreen(tool) && StackPosition(tool) > StackPosition(picker);
        });
    };
    ASSERT_TRUE(PollUntil(inOrder)) << "not so before the manager was replaced";
    // Where each window is: a window is placed once and never moved after.
    const auto places = [&] {
        std::vector<std::pair<int, int>> at{ClientOrigin(picker)};
        for (const Window tool : tools) {
            at.push_back(ClientOrigin(tool));
        }
        return at;
    };
    const auto placed = places();

    const auto checkWindow = [&] {
        const auto check = PropertyOf(x, DefaultRootWindow(x), "_NET_SUPPORTING_WM_CHECK");
        return check && !check->items.empty() ? Window(check->items.front()) : None;
    };
    const Window oldCheck = checkWindow();
    const auto parentOf = [&](Window window) {
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(x, window, &root, &parent, &children, &count);
        if (children != nullptr) {
            XFree(children);
        }
        return parent;
    };
    std::vector<std::pair<Window, Window>> oldFrames{{picker, parentOf(picker)}};
    for (const Window tool : tools) {
        oldFrames.emplace_back(tool, parentOf(tool));
    }
    static const char* const kReplace[] = {"openbox", "--replace", "--sm-disable", nullptr};
    const auto replacement = Spawn(DisplayName(), kReplace, {}, true);
    ASSERT_TRUE(
        PollUntil([&] { return checkWindow() != None && checkWindow() != oldCheck; }, 10'000))
        << "the new manager never announced itself";
    ASSERT_TRUE(PollUntil(
        [&] {
            return std::all_of(oldFrames.begin(), oldFrames.end(), [&](const auto& old) {
                const Window parent = parentOf(old.first);
                return parent != old.second && parent != DefaultRootWindow(x);
            });
        },
        10'000))
        << "the new manager never framed every window";
    EXPECT_TRUE(PollUntil(inOrder, 10'000)) << "not so after the manager was replaced";
    // Whatever the program made of the change has been done once a tick has seen the pointer
    // move: it reads its events before each tick.
    ASSERT_TRUE(TickFollowsPointer(picker).has_value());
    ASSERT_TRUE(TickFollowsPointer(picker).has_value());
    XSync(x, False);
    EXPECT_TRUE(PollUntil(inOrder)) << "not so once the program had taken in the change";
    EXPECT_EQ(places(), placed) << "a window moved";
}

// Requestors that misbehave, one after another: each is met with a clear answer or none, and
// afterwards the program still gives the next requestor the whole text and keeps sampling. The
// text is one the program sends incrementally (the server here takes small requests).
TEST_P(FaultTest, MisbehavingClipboardRequestorsLeaveTheProgramServing) {
    const auto program = Start(nullptr, {{"LD_PRELOAD", TINTARO_SMALL_REQUESTS_PRELOAD}});
    const Window picker = WaitForPicker();
    ASSERT_NE(picker, None);
    const std::string text = NumberedText(20'000);
    ASSERT_TRUE(PasteSelectAndCopy(picker, text)) << "the program never copied";
    ASSERT_EQ(ClipboardNow(), text);

    const auto answered = [&](Requestor& r) {
        std::optional<XSelectionEvent> answer;
        EXPECT_TRUE(PollUntil([&] { return (answer = r.Answer()).has_value(); })) << "no answer";
        return answer;
    };
    // The program begins an incremental answer into P; the requestor has read nothing yet.
    const auto incrementalStart = [&](Requestor& r) {
        r.Ask("UTF8_STRING", "P");
        const auto answer = answered(r);
        ASSERT_TRUE(answer && answer->property == r.AtomNamed("P"));
        const auto value = ReadProperty(r.X(), r.W(), r.AtomNamed("P"));
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, r.AtomNamed("INCR"));
    };
    const struct {
        const char* what;
        std::function<void(Requestor&)> misbehave;
    } kRequestors[] = {
        {"asks for a target we do not offer",
         [&](Requestor& r) {
             r.Ask("image/png", "P");
             const auto answer = answered(r);
             EXPECT_TRUE(answer && answer->property == None) << "not refused";
         }},
        {"asks for the list of targets into a window it destroys at once",
         [&](Requestor& r) { r.AskAndDestroyWindow("TARGETS", "P"); }},
        {"asks for the text into a window it destroys at once",
         [&](Requestor& r) { r.AskAndDestroyWindow("UTF8_STRING", "P"); }},
        {"vanishes after the first piece of an incremental answer",
         [&](Requestor& r) {
             incrementalStart(r);
             r.Written("P");
             ReadProperty(r.X(), r.W(), r.AtomNamed("P"), true);  // asks for the first piece
             EXPECT_TRUE(PollUntil([&] { return r.Written("P"); })) << "no first piece";
             r.Vanish();
         }},
        {"never reads an incremental answer, and stays", incrementalStart},
        {"lists an odd number of atoms for MULTIPLE",
         [&](Requestor& r) {
             const unsigned long atoms[] = {r.AtomNamed("UTF8_STRING"), r.AtomNamed("P1"),
                                            r.AtomNamed("TARGETS")};
             XChangeProperty(r.X(), r.W(), r.AtomNamed("LIST"), r.AtomNamed("ATOM_PAIR"), 32,
                             PropModeReplace, reinterpret_cast<const unsigned char*>(atoms), 3);
             r.Ask("MULTIPLE", "LIST");
             const auto answer = answered(r);
             EXPECT_TRUE(answer && answer->property == None) << "not refused";
             EXPECT_FALSE(ReadProperty(r.X(), r.W(), r.AtomNamed("P1"))) << "a pair converted";
         }},
    };
    for (const auto& requestor : kRequestors) {
        SCOPED_TRACE(requestor.what);
        Requestor r(DisplayName());
        ASSERT_NE(r.X(), nullptr);
        requestor.misbehave(r);
        // Meanwhile (the requestor may still be there) the next one is served, whole.
        EXPECT_EQ(Clipboard(), text);
        EXPECT_TRUE(TickFollowsPointer(picker).has_value()) << "the program stopped sampling";
    }
}

// A paste of a megabyte into the output field: the field takes what Win32's edit control takes
// from the user, the first 32,767 bytes, and the program samples on as before.
TEST_P(FaultTest, MegabytePasteIsCutToTheFieldsLimitWithoutStallingTheProgram) {
    const auto program = Start();
    const Window picker = WaitForPicker();
    ASSERT_NE(picker, None);
    ASSERT_TRUE(TickFollowsPointer(picker).has_value());
    const std::string text = NumberedText(1 << 20);
    const std::uint64_t pasted = MonotonicMs();
    ASSERT_TRUE(PasteSelectAndCopy(picker, text)) << "the program never copied";
    const auto tick = TickFollowsPointer(picker);
    const std::uint64_t sampled = MonotonicMs() - pasted;
    EXPECT_TRUE(tick.has_value()) << "the program stopped sampling";
    EXPECT_LT(sampled, kPromptEndMs) << "the paste held up the next tick";
    const std::string copied = ClipboardNow();
    EXPECT_EQ(copied.size(), kFieldLimit);
    EXPECT_EQ(copied, text.substr(0, kFieldLimit));
    EXPECT_TRUE(TickFollowsPointer(picker).has_value());
    std::printf(
        "[ figures  ] a megabyte pasted: the swatch followed the pointer %llu ms after "
        "the paste began\n",
        static_cast<unsigned long long>(sampled));
}

INSTANTIATE_TEST_SUITE_P(, FaultTest, ::testing::Values(Program::Native), ProgramName);
INSTANTIATE_TEST_SUITE_P(, FaultUnderManagerTest, ::testing::Values(Program::Native), ProgramName);

}  // namespace
}  // namespace x11test
