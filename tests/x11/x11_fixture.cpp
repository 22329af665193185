#include "tests/x11/x11_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/display/x11/window_property.h"

namespace x11test {

using display::x11::MonotonicMs;

void X11Fixture::SetUp() {
    m_server = XServer::Start();
    if (!m_server) {
        GTEST_SKIP() << "no Xvfb to run on";
    }
    if (WantsWindowManager() && !m_server->StartWindowManager()) {
        GTEST_SKIP() << "no window manager (openbox) to run under";
    }
    m_observer = XOpenDisplay(m_server->Name().c_str());
    ASSERT_NE(m_observer, nullptr);
    std::string error;
    m_backend = display::X11Backend::Open(BackendOptions(), &error);
    ASSERT_TRUE(m_backend) << error;
    ASSERT_EQ(m_backend->WindowManagerRunning(), WantsWindowManager());
}

display::X11Options X11Fixture::BackendOptions() const {
    display::X11Options options;
    options.displayName = m_server->Name().c_str();
    return options;
}

void X11Fixture::TearDown() {
    m_backend.reset();
    if (m_observer != nullptr) {
        XCloseDisplay(m_observer);
        m_observer = nullptr;
    }
    m_server.reset();
}

void X11Fixture::LoseServer() {
    m_backend.reset();
    if (m_observer != nullptr) {
        XCloseDisplay(m_observer);
        m_observer = nullptr;
    }
    m_server->Kill();
}

void X11Fixture::Handle(bool blockUntilSomething, std::uint64_t deadlineMs) {
    const std::uint64_t now = MonotonicMs();
    // A reply read on either connection may have queued events already: poll only when both
    // queues are empty, or it waits for what has arrived.
    if (blockUntilSomething && now < deadlineMs && XPending(m_observer) == 0 &&
        XEventsQueued(m_backend->XDisplay(), QueuedAfterFlush) == 0) {
        XFlush(m_backend->XDisplay());
        std::array<pollfd, 2> fds{{{ConnectionNumber(m_backend->XDisplay()), POLLIN, 0},
                                   {ConnectionNumber(m_observer), POLLIN, 0}}};
        poll(fds.data(), fds.size(), int(deadlineMs - now));
    }
    m_backend->ProcessServerEvents(0);
    while (XPending(m_observer) > 0) {
        XEvent event;
        XNextEvent(m_observer, &event);
        m_observerEvents.push_back(event);
    }
}

bool X11Fixture::WaitUntil(const std::function<bool()>& cond, std::uint64_t timeoutMs) {
    const std::uint64_t deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        Handle(false, deadline);
        if (cond()) {
            return true;
        }
        if (MonotonicMs() >= deadline) {
            return false;
        }
        Handle(true, deadline);
    }
}

bool X11Fixture::PollUntil(const std::function<bool()>& cond, std::uint64_t timeoutMs) {
    const std::uint64_t deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        Handle(false, deadline);
        if (cond()) {
            return true;
        }
        const std::uint64_t now = MonotonicMs();
        if (now >= deadline) {
            return false;
        }
        Handle(true, std::min(deadline, now + kPollStepMs));
    }
}

std::optional<Event> X11Fixture::WaitForEvent(const std::function<bool(const Event&)>& match,
                                              std::uint64_t timeoutMs) {
    std::optional<Event> found;
    WaitUntil(
        [&] {
            while (auto event = m_backend->NextEvent()) {
                m_seen.push_back(*event);
                if (match(*event)) {
                    found = *event;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::optional<Event> X11Fixture::WaitForEvent(EventType type, std::uint64_t timeoutMs) {
    return WaitForEvent([type](const Event& e) { return e.type == type; }, timeoutMs);
}

bool X11Fixture::IsShownOnScreen(Window window) const {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(m_observer, window, &attributes) &&
           attributes.map_state == IsViewable;
}

void X11Fixture::PresentSolid(SurfaceId id, const Rect& bounds, std::uint32_t colour) {
    std::vector<std::uint32_t> pixels(std::size_t(bounds.Width()) * bounds.Height(), colour);
    const display::PixelView view{pixels.data(), bounds.Width(), bounds.Height(), bounds.Width()};
    const Rect all{0, 0, bounds.Width(), bounds.Height()};
    m_backend->Present(id, view, {&all, 1});
}

SurfaceId X11Fixture::ShowSolid(const Rect& bounds, std::uint32_t colour, display::SurfaceKind kind,
                                bool topmost) {
    const SurfaceId id = m_backend->CreateSurface({bounds, kind, 0, topmost, "solid"});
    PresentSolid(id, bounds, colour);
    m_backend->ShowSurface(id, true);
    const Window window = m_backend->XWindowOf(id);
    EXPECT_TRUE(WaitUntil([&] { return IsShownOnScreen(window); }));
    // Viewable is not yet painted: the Expose that follows mapping is answered from our copy.
    XSync(m_backend->XDisplay(), False);
    m_backend->ProcessServerEvents(0);
    XSync(m_backend->XDisplay(), False);
    return id;
}

Window X11Fixture::SolidFromOtherClient(const Rect& area, std::uint32_t colour) {
    XSetWindowAttributes attributes{};
    attributes.background_pixel = colour;
    attributes.override_redirect = True;
    const Window window =
        XCreateWindow(m_observer, DefaultRootWindow(m_observer), area.left, area.top,
                      unsigned(area.Width()), unsigned(area.Height()), 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XMapWindow(m_observer, window);
    XSync(m_observer, False);
    return window;
}

std::vector<std::uint32_t> X11Fixture::ReadScreen(const Rect& area) {
    const std::size_t count = std::size_t(area.Width()) * area.Height();
    std::vector<std::uint32_t> pixels(count, 0xFFFFFFFF);
    std::vector<std::uint8_t> delivered(count, 0);
    m_backend->ReadScreen(area, pixels, delivered);
    return pixels;
}

std::string X11Fixture::Run(const std::vector<std::string>& argv, const std::string& input) {
    int toChild[2];
    int fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);  // xclip's background half complains when the server goes
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) {
            close(fd);
        }
        setenv("DISPLAY", m_server->Name().c_str(), 1);
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    std::size_t written = 0;
    int inputFd = toChild[1];
    if (input.empty()) {
        close(inputFd);
        inputFd = -1;
    }
    std::string output;
    // xclip -i leaves a server behind that keeps our pipe open, so the end of the output is
    // not the end of the program: watch the process itself too.
    const int exited = int(syscall(SYS_pidfd_open, pid, 0));
    const std::uint64_t deadline = MonotonicMs() + 10'000;
    bool outputOpen = true;
    bool running = true;
    while ((outputOpen || running) && MonotonicMs() < deadline) {
        std::array<pollfd, 4> fds{{{ConnectionNumber(m_backend->XDisplay()), POLLIN, 0},
                                   {exited, POLLIN, 0},
                                   {outputOpen ? fromChild[0] : -1, POLLIN, 0},
                                   {inputFd, POLLOUT, 0}}};
        XFlush(m_backend->XDisplay());
        if (poll(fds.data(), fds.size(), int(deadline - MonotonicMs())) < 0 && errno != EINTR) {
            break;
        }
        m_backend->ProcessServerEvents(0);
        if (inputFd >= 0 && fds[3].revents != 0) {
            const ssize_t n = write(inputFd, input.data() + written, input.size() - written);
            written += n > 0 ? std::size_t(n) : 0;
            if (n < 0 || written == input.size()) {
                close(inputFd);
                inputFd = -1;
            }
        }
        if (fds[2].revents != 0) {
            char buffer[65536];
            const ssize_t n = read(fromChild[0], buffer, sizeof buffer);
            if (n > 0) {
                output.append(buffer, std::size_t(n));
            } else {
                outputOpen = false;
            }
        }
        if (fds[1].revents != 0 && running) {
            running = false;
            waitpid(pid, nullptr, 0);
            // What it wrote before it ended is in the pipe already.
            fcntl(fromChild[0], F_SETFL, fcntl(fromChild[0], F_GETFL) | O_NONBLOCK);
            char buffer[65536];
            ssize_t n = 0;
            while (outputOpen && (n = read(fromChild[0], buffer, sizeof buffer)) > 0) {
                output.append(buffer, std::size_t(n));
            }
            outputOpen = false;
        }
    }
    if (inputFd >= 0) {
        close(inputFd);
    }
    close(fromChild[0]);
    close(exited);
    if (running) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return output;
}

std::optional<display::x11::PropertyValue> PropertyOf(Display* display, Window window,
                                                      const char* name) {
    return display::x11::ReadProperty(display, window, AtomOf(display, name));
}

Atom AtomOf(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

}  // namespace x11test
