// Start-up without a display, and a display lost while running: a clear one-line outcome,
// never a crash or a hang.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/display/x11/open_x11_display.h"
#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

using display::x11::MonotonicMs;

// No display: the factory says why in one line.
TEST(X11Startup, NoDisplayGivesAOneLineReason) {
    const char* saved = std::getenv("DISPLAY");
    const std::string previous = saved != nullptr ? saved : "";
    unsetenv("DISPLAY");
    std::string error;
    EXPECT_EQ(display::OpenX11Display(&error), nullptr);
    EXPECT_EQ(error, "no X display: DISPLAY is not set");
    if (saved != nullptr) {
        setenv("DISPLAY", previous.c_str(), 1);
    }

    display::X11Options options;
    options.displayName = ":4093";  // no server there
    EXPECT_EQ(display::X11Backend::Open(options, &error), nullptr);
    EXPECT_EQ(error, "cannot open the X display :4093");
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

// The server goes away under a waiting program: it says so in one line on stderr and ends
// with a failure status at once.
TEST(X11Startup, LostDisplayEndsWithOneLine) {
    auto server = XServer::Start();
    if (!server) {
        GTEST_SKIP() << "no Xvfb to run on";
    }
    int errors[2];
    int ready[2];
    ASSERT_EQ(pipe(errors), 0);
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(errors[1], 2);
        close(errors[0]);
        close(ready[0]);
        display::X11Options options;
        options.displayName = server->Name().c_str();
        auto backend = display::X11Backend::Open(options, nullptr);
        if (!backend) {
            _exit(50);
        }
        backend->ShowSurface(
            backend->CreateSurface({{0, 0, 50, 50}, display::SurfaceKind::Normal, 0, false, "x"}),
            true);
        [[maybe_unused]] const ssize_t written = write(ready[1], "1", 1);
        for (;;) {
            backend->Wait(std::nullopt);
            while (backend->NextEvent()) {
            }
        }
    }
    close(errors[1]);
    close(ready[1]);
    char byte = 0;
    pollfd readyFd{ready[0], POLLIN, 0};
    ASSERT_EQ(poll(&readyFd, 1, int(kTimeoutMs)), 1);
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);

    const std::uint64_t killed = MonotonicMs();
    server->Kill();
    std::string stderrText;
    for (;;) {
        pollfd fd{errors[0], POLLIN, 0};
        ASSERT_EQ(poll(&fd, 1, int(kTimeoutMs)), 1) << "the program did not end";
        char buffer[256];
        const ssize_t n = read(errors[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        stderrText.append(buffer, std::size_t(n));
    }
    close(errors[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_LT(MonotonicMs() - killed, 2000u);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(WEXITSTATUS(status), 50);
    EXPECT_EQ(stderrText, "tintaro: lost the X display\n");
}

// Protocol errors from windows that vanished are survived: another client's window destroyed
// under a request, a read of a destroyed surface's window.
TEST(X11Startup, ProtocolErrorsAreSurvived) {
    auto server = XServer::Start();
    if (!server) {
        GTEST_SKIP() << "no Xvfb to run on";
    }
    display::X11Options options;
    options.displayName = server->Name().c_str();
    auto backend = display::X11Backend::Open(options, nullptr);
    ASSERT_TRUE(backend);
    Display* other = XOpenDisplay(server->Name().c_str());
    const Window gone = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 5, 5, 0, 0, 0);
    XStoreName(other, gone, "gone");
    XSync(other, False);
    const auto found = backend->FindForeignWindow("gone");
    ASSERT_TRUE(found);
    XDestroyWindow(other, gone);
    XSync(other, False);
    EXPECT_FALSE(backend->ActivateForeignWindow(*found));
    EXPECT_FALSE(backend->RestoreForeignWindow(*found));
    // BadWindow from a request about a vanished window, handled, not fatal.
    XRaiseWindow(backend->XDisplay(), gone);
    XSync(backend->XDisplay(), False);
    backend->DestroySurface(12345);
    backend->Present(12345, {}, {});
    EXPECT_EQ(backend->ClipboardText(), std::nullopt);
    XCloseDisplay(other);
}

}  // namespace
}  // namespace x11test
