#include "tests/x11/x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/display/x11/window_property.h"
#include "platform/display/x11/x11_connection.h"
#include "platform/display/x11/xlib.h"

namespace x11test {

namespace {

constexpr std::uint64_t kStartTimeoutMs = 10'000;
constexpr std::uint64_t kGroupEndTimeoutMs = 5000;
constexpr int kGroupPollMs = 10;

// Reads the display number Xvfb writes when it is ready to take connections.
std::optional<std::string> ReadDisplayNumber(int fd) {
    std::string number;
    const std::uint64_t deadline = display::x11::MonotonicMs() + kStartTimeoutMs;
    for (;;) {
        const std::uint64_t now = display::x11::MonotonicMs();
        if (now >= deadline) {
            return std::nullopt;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, int(deadline - now));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return std::nullopt;
        }
        char c = 0;
        if (read(fd, &c, 1) != 1) {
            return std::nullopt;
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
}

}  // namespace

bool HasProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Stop();
        m_pid = other.m_pid;
        m_group = other.m_group;
        other.m_pid = -1;
    }
    return *this;
}

void ChildProcess::Stop() {
    if (m_pid <= 0) {
        return;
    }
    kill(m_group ? -m_pid : m_pid, SIGTERM);
    while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The rest of the group is not ours to reap: wait until it has gone (it may still be
    // writing files its owner is about to remove).
    const std::uint64_t deadline = display::x11::MonotonicMs() + kGroupEndTimeoutMs;
    while (m_group && kill(-m_pid, 0) == 0 && display::x11::MonotonicMs() < deadline) {
        poll(nullptr, 0, kGroupPollMs);
    }
    m_pid = -1;
}

ChildProcess Spawn(const std::string& display, const char* const* argv,
                   const Environment& environment, bool group) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (group) {
            setpgid(0, 0);
        }
        setenv("DISPLAY", display.c_str(), 1);
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    if (group && pid > 0) {
        setpgid(pid, pid);  // also here: Stop may come before the child has run
    }
    return ChildProcess(pid, group);
}

std::optional<int> WaitForExit(pid_t pid, std::uint64_t timeoutMs) {
    const int exited = int(syscall(SYS_pidfd_open, pid, 0));
    pollfd fd{exited, POLLIN, 0};
    const std::uint64_t deadline = display::x11::MonotonicMs() + timeoutMs;
    bool ended = false;
    for (std::uint64_t now = display::x11::MonotonicMs(); !ended && now < deadline;
         now = display::x11::MonotonicMs()) {
        const int ready = poll(&fd, 1, int(deadline - now));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        ended = ready == 1;
        break;
    }
    close(exited);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<XServer> XServer::Start() {
    if (!HasProgram("Xvfb")) {
        return std::nullopt;
    }
    int ready[2];
    if (pipe(ready) != 0) {
        return std::nullopt;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    ChildProcess process(pid);
    const auto number = ReadDisplayNumber(ready[0]);
    close(ready[0]);
    if (!number) {
        return std::nullopt;
    }
    return XServer(std::move(process), ":" + *number);
}

bool XServer::StartWindowManager() {
    if (!HasProgram("openbox")) {
        return false;
    }
    Display* display = XOpenDisplay(m_name.c_str());
    if (display == nullptr) {
        return false;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, PropertyChangeMask);
    XSync(display, False);
    static const char* const kArgs[] = {"openbox", "--sm-disable", nullptr};
    m_windowManager = Spawn(m_name, kArgs);
    // openbox announces itself before it is ready, and a window mapped in between is never
    // managed: the manager is running once it has taken on a probe window of ours. The probe
    // is mapped again after each half-second without an answer.
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window probe = XCreateWindow(display, root, 0, 0, 10, 10, 0, CopyFromParent, InputOutput,
                                       CopyFromParent, CWEventMask, &attributes);
    const std::uint64_t deadline = display::x11::MonotonicMs() + kStartTimeoutMs;
    bool running = false;
    while (!running && display::x11::MonotonicMs() < deadline) {
        XUnmapWindow(display, probe);
        XMapWindow(display, probe);
        XFlush(display);
        const std::uint64_t retry = std::min(deadline, display::x11::MonotonicMs() + 500);
        while (!running) {
            running = display::x11::ReadProperty(display, probe, wmState).has_value();
            const std::uint64_t now = display::x11::MonotonicMs();
            if (running || now >= retry) {
                break;
            }
            pollfd p{ConnectionNumber(display), POLLIN, 0};
            poll(&p, 1, int(retry - now));
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
            }
        }
    }
    XDestroyWindow(display, probe);
    XSelectInput(display, root, NoEventMask);
    XSync(display, False);
    m_probeConnection =
        std::shared_ptr<void>(display, [](void* d) { XCloseDisplay(static_cast<Display*>(d)); });
    return running;
}

}  // namespace x11test
