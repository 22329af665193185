// The CLIPBOARD selection with real clients: xclip reads what we copy and copies what we read,
// texts larger than one request go incrementally, MULTIPLE and TIMESTAMP are answered, a
// silent owner costs one second at most, and copied text outlives the process that copied it
// (through a clipboard manager, or a background server that ends when someone else copies).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

using display::x11::ClipboardKept;
using display::x11::MonotonicMs;

class ClipboardTest : public X11Fixture {
protected:
    void SetUp() override {
        X11Fixture::SetUp();
        if (!IsSkipped() && !HasFailure() && !HasProgram("xclip")) {
            GTEST_SKIP() << "no xclip";
        }
    }
    std::string XclipOut(const char* target = "UTF8_STRING") {
        return Run({"xclip", "-selection", "clipboard", "-o", "-t", target});
    }
    // xclip's request for the selection leaves only when its background half first talks to
    // the server, after the process we ran has ended: wait for the new owner.
    void XclipIn(const std::string& text) {
        const Window before = ClipboardOwner();
        Run({"xclip", "-selection", "clipboard", "-i"}, text);
        EXPECT_TRUE(
            WaitUntil([&] { return ClipboardOwner() != before && ClipboardOwner() != None; }));
    }
    Window ClipboardOwner() {
        return XGetSelectionOwner(Observer(), AtomOf(Observer(), "CLIPBOARD"));
    }
};

// A text of size bytes, not all ASCII, that shows a lost or repeated piece.
std::string LargeText(std::size_t size) {
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) {
        text += std::to_string(i) + (i % 10 == 0 ? " \xC3\xA9\n" : " ");
    }
    return text;
}

// What we copy, xclip reads: as UTF-8, as Latin-1 STRING, and the targets we offer.
TEST_F(ClipboardTest, OurTextReachesOtherClients) {
    Backend().SetClipboardText("RGB(12, 34, 56) caf\xC3\xA9");
    EXPECT_EQ(XclipOut(), "RGB(12, 34, 56) caf\xC3\xA9");
    EXPECT_EQ(XclipOut("STRING"), "RGB(12, 34, 56) caf\xE9");
    const std::string targets = XclipOut("TARGETS");
    for (const char* target :
         {"TARGETS", "UTF8_STRING", "STRING", "TEXT", "TIMESTAMP", "MULTIPLE"}) {
        EXPECT_NE(targets.find(target), std::string::npos) << target;
    }
    // Beyond Latin-1, STRING carries the UTF-8 bytes rather than lose characters.
    Backend().SetClipboardText("#FF8000 \xE8\x89\xB2");
    EXPECT_EQ(XclipOut("STRING"), "#FF8000 \xE8\x89\xB2");
    // While we own it we answer ourselves, without a round trip through the server.
    EXPECT_EQ(Backend().ClipboardText(), "#FF8000 \xE8\x89\xB2");
}

// What another client copies, we read, whoever copied last.
TEST_F(ClipboardTest, OtherClientsTextReachesUs) {
    Backend().SetClipboardText("ours");
    XclipIn("&H00FF8000& \xC3\xA9");
    EXPECT_EQ(Backend().ClipboardText(), "&H00FF8000& \xC3\xA9");
    Backend().SetClipboardText("ours again");
    EXPECT_EQ(XclipOut(), "ours again");
}

// Texts larger than one request travel incrementally, both ways, whole.
TEST_F(ClipboardTest, LargeTextsTravelIncrementally) {
    const std::string text = LargeText(1 << 20);
    Backend().SetClipboardText(text);
    const std::string read = XclipOut();
    EXPECT_EQ(read.size(), text.size());
    EXPECT_TRUE(read == text);

    // xclip sends incrementally above a quarter of the extended request size (about 1 MiB).
    const std::string other = LargeText(3 << 19) + "end";
    XclipIn(other);
    const auto ours = Backend().ClipboardText();
    ASSERT_TRUE(ours);
    EXPECT_EQ(ours->size(), other.size());
    EXPECT_TRUE(*ours == other);
}

// No owner: nothing. An owner that never answers: nothing, after the time-out and no later.
TEST_F(ClipboardTest, NoOwnerOrASilentOneGivesNothing) {
    EXPECT_EQ(ClipboardOwner(), None);
    EXPECT_EQ(Backend().ClipboardText(), std::nullopt);

    const Window silent =
        XCreateSimpleWindow(Observer(), DefaultRootWindow(Observer()), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(Observer(), AtomOf(Observer(), "CLIPBOARD"), silent, CurrentTime);
    XSync(Observer(), False);
    const std::uint64_t start = MonotonicMs();
    EXPECT_EQ(Backend().ClipboardText(), std::nullopt);
    const std::uint64_t elapsed = MonotonicMs() - start;
    EXPECT_GE(elapsed, display::X11Backend::kClipboardTimeoutMs);
    EXPECT_LT(elapsed, display::X11Backend::kClipboardTimeoutMs + 900);  // not a second wait
}

// MULTIPLE converts each listed target into its own property and marks refused ones None;
// TIMESTAMP is the time we took the selection.
TEST_F(ClipboardTest, MultipleAndTimestampAreAnswered) {
    Backend().SetClipboardText("#102030");
    Display* x = Observer();
    const Window requestor = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
    const Atom p1 = AtomOf(x, "P1"), p2 = AtomOf(x, "P2"), p3 = AtomOf(x, "P3");
    const unsigned long pairs[] = {AtomOf(x, "UTF8_STRING"), p1, AtomOf(x, "TIMESTAMP"), p2,
                                   AtomOf(x, "image/png"),   p3};
    const Atom list = AtomOf(x, "LIST");
    XChangeProperty(x, requestor, list, AtomOf(x, "ATOM_PAIR"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs), 6);
    XConvertSelection(x, AtomOf(x, "CLIPBOARD"), AtomOf(x, "MULTIPLE"), list, requestor,
                      CurrentTime);
    XFlush(x);
    const auto answered = [&] {
        for (const XEvent& e : ObserverEvents()) {
            if (e.type == SelectionNotify && e.xselection.requestor == requestor) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(WaitUntil(answered));
    const XEvent notify = *std::find_if(ObserverEvents().begin(), ObserverEvents().end(),
                                        [](const XEvent& e) { return e.type == SelectionNotify; });
    EXPECT_EQ(notify.xselection.property, list);
    const auto written = display::x11::ReadProperty(x, requestor, list);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->type, AtomOf(x, "ATOM_PAIR"));
    EXPECT_EQ(written->items,
              (std::vector<unsigned long>{pairs[0], p1, pairs[2], p2, pairs[4], None}));
    EXPECT_EQ(display::x11::ReadProperty(x, requestor, p1)->Text(), "#102030");
    const auto stamp = display::x11::ReadProperty(x, requestor, p2);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->type, XA_INTEGER);
    ASSERT_EQ(stamp->items.size(), 1u);
    EXPECT_NE(stamp->items[0], 0u);
    EXPECT_FALSE(display::x11::ReadProperty(x, requestor, p3));
}

// A process that copies and exits. It holds a lock file, as the program's single-instance
// lock does; its exit status is how the backend kept the text.
pid_t CopyAndExit(const std::string& display, const std::string& text,
                  const std::string& lockPath) {
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    const int lock = open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
    if (lock < 0 || flock(lock, LOCK_EX | LOCK_NB) != 0) {
        _exit(100);
    }
    display::X11Options options;
    options.displayName = display.c_str();
    auto backend = display::X11Backend::Open(options, nullptr);
    if (!backend) {
        _exit(101);
    }
    backend->SetClipboardText(text);
    _exit(int(backend->Shutdown()));
}

std::string LockPath() {
    return "/tmp/tintaro-x11-test-" + std::to_string(getpid()) + ".lock";
}

// Without a clipboard manager the text stays with a background server: xclip still reads it
// after the copying process ended, the server holds none of its descriptors, and it ends as
// soon as another client copies.
TEST_F(ClipboardTest, CopiedTextOutlivesTheProcess) {
    const std::string lockPath = LockPath();
    const std::uint64_t start = MonotonicMs();
    const auto status =
        WaitForExit(CopyAndExit(DisplayName(), "RGB(1, 2, 3)", lockPath), kTimeoutMs);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, int(ClipboardKept::ByServer));
    EXPECT_LT(MonotonicMs() - start, 2000u);

    EXPECT_EQ(XclipOut(), "RGB(1, 2, 3)");
    const int lock = open(lockPath.c_str(), O_RDWR);
    EXPECT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0) << "the background server kept the lock";
    close(lock);
    unlink(lockPath.c_str());

    const Window server = ClipboardOwner();
    ASSERT_NE(server, None);
    XSelectInput(Observer(), server, StructureNotifyMask);
    XSync(Observer(), False);
    XclipIn("someone else");
    EXPECT_TRUE(WaitUntil([&] {
        return std::any_of(ObserverEvents().begin(), ObserverEvents().end(), [&](const XEvent& e) {
            return e.type == DestroyNotify && e.xdestroywindow.window == server;
        });
    })) << "the background server did not end";
    EXPECT_EQ(XclipOut(), "someone else");
}

// A stand-in clipboard manager in its own process: owns CLIPBOARD_MANAGER and, unless silent,
// saves the clipboard on SAVE_TARGETS and serves it afterwards.
pid_t StartManager(const std::string& display, bool silent) {
    int ready[2];
    if (pipe(ready) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid != 0) {
        close(ready[1]);
        char byte = 0;
        pollfd fd{ready[0], POLLIN, 0};
        const bool started = poll(&fd, 1, int(kTimeoutMs)) == 1 && read(ready[0], &byte, 1) == 1;
        close(ready[0]);
        return started ? pid : -1;
    }
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) {
        _exit(1);
    }
    const Window window = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(x, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(x, "UTF8_STRING", False);
    const Atom saved = XInternAtom(x, "SAVED", False);
    XSetSelectionOwner(x, XInternAtom(x, "CLIPBOARD_MANAGER", False), window, CurrentTime);
    XSync(x, False);
    [[maybe_unused]] const ssize_t written = write(ready[1], "1", 1);
    std::string text;
    for (;;) {
        XEvent event;
        XNextEvent(x, &event);
        if (event.type != SelectionRequest || silent) {
            continue;
        }
        const XSelectionRequestEvent request = event.xselectionrequest;
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        if (request.selection == clipboard && request.target == utf8) {
            XChangeProperty(x, request.requestor, request.property, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
            reply.xselection.property = request.property;
        } else if (request.selection != clipboard) {
            // SAVE_TARGETS: take the text now, confirm, then own the clipboard.
            XConvertSelection(x, clipboard, utf8, saved, window, CurrentTime);
            XEvent notify;
            XIfEvent(
                x, &notify,
                [](Display*, XEvent* e, XPointer) -> Bool { return e->type == SelectionNotify; },
                nullptr);
            if (auto value = display::x11::ReadProperty(x, window, saved, true)) {
                text = value->Text();
                reply.xselection.property = request.property;
            }
        }
        XSendEvent(x, request.requestor, False, NoEventMask, &reply);
        if (request.selection != clipboard && !text.empty()) {
            XSetSelectionOwner(x, clipboard, window, CurrentTime);
        }
        XFlush(x);
    }
}

// A clipboard manager that answers takes the text; no background server is left.
TEST_F(ClipboardTest, ClipboardManagerTakesTheText) {
    ChildProcess manager(StartManager(DisplayName(), false));
    ASSERT_TRUE(manager.Running());
    const auto status = WaitForExit(CopyAndExit(DisplayName(), "#ABCDEF", LockPath()), kTimeoutMs);
    unlink(LockPath().c_str());
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, int(ClipboardKept::ByManager));
    EXPECT_EQ(XclipOut(), "#ABCDEF");
}

// A manager that never answers costs the short wait, then the background server keeps it.
TEST_F(ClipboardTest, SilentManagerFallsBackToTheServer) {
    ChildProcess manager(StartManager(DisplayName(), true));
    ASSERT_TRUE(manager.Running());
    const std::uint64_t start = MonotonicMs();
    const auto status =
        WaitForExit(CopyAndExit(DisplayName(), "Color(1, 2, 3)", LockPath()), kTimeoutMs);
    const std::uint64_t elapsed = MonotonicMs() - start;
    unlink(LockPath().c_str());
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, int(ClipboardKept::ByServer));
    EXPECT_GE(elapsed, display::x11::ClipboardKeeper::kManagerWaitMs);
    EXPECT_LT(elapsed, display::x11::ClipboardKeeper::kManagerWaitMs + 1500);
    EXPECT_EQ(XclipOut(), "Color(1, 2, 3)");
}

// xfsettingsd, the clipboard manager of a real desktop, on the test's display: in a D-Bus
// session of its own (its settings store is reached through one) and with a home of its own,
// so that nothing of the machine's settings is read or written.
class SettingsDaemon {
public:
    explicit SettingsDaemon(const std::string& display) {
        char home[] = "/tmp/tintaro-xfsettingsd-XXXXXX";
        if (mkdtemp(home) == nullptr) {
            return;
        }
        m_home = home;
        static const char* const kArgs[] = {"dbus-run-session", "--", "xfsettingsd",
                                            "--disable-wm-check", nullptr};
        // NO_AT_BRIDGE: no accessibility bus to start and leave behind.
        m_process = Spawn(display, kArgs,
                          {{"HOME", m_home},
                           {"XDG_CONFIG_HOME", m_home + "/config"},
                           {"XDG_CACHE_HOME", m_home + "/cache"},
                           {"XDG_DATA_HOME", m_home + "/data"},
                           {"NO_AT_BRIDGE", "1"}},
                          true);
    }
    ~SettingsDaemon() {
        m_process.Stop();
        if (!m_home.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_home, ignored);
        }
    }

private:
    std::string m_home;
    ChildProcess m_process;
};

// A real clipboard manager saves the text: it asks for it with MULTIPLE and takes our answer,
// owns the clipboard afterwards, and no background server of ours was needed.
TEST_F(ClipboardTest, DesktopClipboardManagerTakesTheText) {
    if (!HasProgram("xfsettingsd") || !HasProgram("dbus-run-session")) {
        GTEST_SKIP() << "no xfsettingsd or dbus-run-session";
    }
    Display* x = Observer();
    const Atom managerSelection = AtomOf(x, "CLIPBOARD_MANAGER");
    // The manager announces itself with a MANAGER message to the root's structure listeners.
    XSelectInput(x, DefaultRootWindow(x), StructureNotifyMask);
    XSync(x, False);
    SettingsDaemon daemon(DisplayName());
    ASSERT_TRUE(WaitUntil([&] { return XGetSelectionOwner(x, managerSelection) != None; }, 20'000))
        << "xfsettingsd did not take CLIPBOARD_MANAGER";
    const Window manager = XGetSelectionOwner(x, managerSelection);

    const std::string text = "RGB(12, 34, 56) caf\xC3\xA9";
    const auto status = WaitForExit(CopyAndExit(DisplayName(), text, LockPath()), kTimeoutMs);
    unlink(LockPath().c_str());
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, int(ClipboardKept::ByManager));
    EXPECT_EQ(ClipboardOwner(), manager) << "the manager does not serve the clipboard";
    EXPECT_EQ(XclipOut(), text);
    EXPECT_EQ(XclipOut("STRING"), "RGB(12, 34, 56) caf\xE9");
}

// Nothing of ours on the clipboard: nothing to keep, nothing left behind.
TEST_F(ClipboardTest, NothingToKeepWhenAnotherClientCopiedLast) {
    Backend().SetClipboardText("ours");
    XclipIn("theirs");
    EXPECT_EQ(Backend().Shutdown(), ClipboardKept::NotOwned);
    EXPECT_EQ(XclipOut(), "theirs");
}

}  // namespace
}  // namespace x11test
