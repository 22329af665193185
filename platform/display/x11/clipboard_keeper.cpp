#include "platform/display/x11/clipboard_keeper.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include "platform/display/x11/xlib.h"

#include <array>
#include <cerrno>

#include "platform/display/x11/error_trap.h"
#include "platform/display/x11/window_property.h"

namespace display::x11 {

namespace {

// The descriptor the server signals readiness on, after every other one is closed.
constexpr int kReadyFd = 3;

// The server must hold nothing of the program: not its lock file (the next start would take
// itself for a second copy), not the pipes of whoever waits for the program's output to end.
void DetachDescriptors(int readyFd) {
    if (readyFd != kReadyFd) {
        dup2(readyFd, kReadyFd);
    }
    if (close_range(kReadyFd + 1, ~0U, 0) != 0) {
        const long last = sysconf(_SC_OPEN_MAX);
        for (long fd = kReadyFd + 1; fd < last; ++fd) {
            close(int(fd));
        }
    }
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        if (null > kReadyFd) {
            close(null);
        }
    }
}

}  // namespace

ClipboardKeeper::ClipboardKeeper(Connection& connection, ClipboardOwner& owner, Window window)
    : m_connection(connection), m_owner(owner), m_window(window) {}

ClipboardKept ClipboardKeeper::Keep(Time time) {
    Display* display = m_connection.Get();
    // Handle what is queued first: a SelectionClear there means the text is no longer ours.
    XEvent event;
    const auto ours = [this](const XEvent& e) { return m_owner.Wants(e); };
    while (m_connection.WaitForEvent(&event, ours, 0)) {
        m_owner.Handle(event);
    }
    if (!m_owner.Owns() ||
        XGetSelectionOwner(display, m_connection.GetAtoms().clipboard) != m_window) {
        return ClipboardKept::NotOwned;
    }
    if (HandToManager(time)) {
        return ClipboardKept::ByManager;
    }
    return StartServer() ? ClipboardKept::ByServer : ClipboardKept::Lost;
}

// The manager converts CLIPBOARD from us (so we keep answering while we wait), then confirms
// with a SelectionNotify naming our property; None or silence means it did not save.
bool ClipboardKeeper::HandToManager(Time time) {
    Display* display = m_connection.Get();
    const Atoms& atoms = m_connection.GetAtoms();
    if (XGetSelectionOwner(display, atoms.clipboardManager) == None) {
        return false;
    }
    const std::array<Atom, 2> toSave{atoms.utf8String, XA_STRING};
    WriteAtoms(display, m_window, atoms.transfer, toSave);
    XConvertSelection(display, atoms.clipboardManager, atoms.saveTargets, atoms.transfer, m_window,
                      time);
    const std::uint64_t deadline = MonotonicMs() + kManagerWaitMs;
    const Window window = m_window;
    const Atom manager = atoms.clipboardManager;
    const auto isAnswerOrRequest = [&](const XEvent& e) {
        if (e.type == SelectionNotify) {
            return e.xselection.requestor == window && e.xselection.selection == manager;
        }
        return m_owner.Wants(e);
    };
    XEvent event;
    while (m_connection.WaitForEvent(&event, isAnswerOrRequest, deadline)) {
        if (event.type == SelectionNotify) {
            return event.xselection.property != None;
        }
        m_owner.Handle(event);
    }
    return false;
}

bool ClipboardKeeper::StartServer() {
    int ready[2];
    if (pipe(ready) != 0) {
        return false;
    }
    const std::string displayName = DisplayString(m_connection.Get());
    const pid_t child = fork();
    if (child < 0) {
        close(ready[0]);
        close(ready[1]);
        return false;
    }
    if (child == 0) {
        // A second fork: the server is nobody's child, so it never waits as a zombie of the
        // program, and setsid keeps it out of the terminal's hang-up.
        setsid();
        const pid_t server = fork();
        if (server != 0) {
            _exit(server < 0 ? 1 : 0);
        }
        close(ready[0]);
        Serve(displayName, m_owner.Text(), ready[1]);
    }
    close(ready[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    pollfd fd{ready[0], POLLIN, 0};
    bool owned = false;
    const std::uint64_t deadline = MonotonicMs() + kServerStartMs;
    for (std::uint64_t now = MonotonicMs(); now < deadline; now = MonotonicMs()) {
        const int result = poll(&fd, 1, int(deadline - now));
        if (result < 0 && errno == EINTR) {
            continue;
        }
        char byte = 0;
        owned = result > 0 && read(ready[0], &byte, 1) == 1;
        break;
    }
    close(ready[0]);
    return owned;
}

void ClipboardKeeper::Serve(const std::string& displayName, const std::string& text, int readyFd) {
    DetachDescriptors(readyFd);
    InstallErrorHandlers(LostDisplayAction::ExitQuietly);
    auto connection = Connection::Open(displayName.c_str(), nullptr);
    if (!connection) {
        _exit(1);
    }
    Display* display = connection->Get();
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window window =
        XCreateWindow(display, connection->Root(), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                      CopyFromParent, CWEventMask, &attributes);
    ClipboardOwner owner(display, connection->GetAtoms(), window);
    if (!owner.Own(text, connection->ServerTime(window))) {
        _exit(1);
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(kReadyFd, &byte, 1);
    close(kReadyFd);

    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (owner.Wants(event)) {
                owner.Handle(event);
            }
        }
        owner.DropStalledTransfers(MonotonicMs());
        // Transfers under way are finished after the selection is lost; then nothing is left.
        if (!owner.Owns() && !owner.HasTransfers()) {
            _exit(0);
        }
        const std::uint64_t pollStep = 1000;
        connection->WaitForData(owner.HasTransfers()
                                    ? std::optional<std::uint64_t>(MonotonicMs() + pollStep)
                                    : std::nullopt);
    }
}

}  // namespace display::x11
