// A private X server for one test: Xvfb on a free display number (-displayfd), optionally with
// a window manager, stopped with the test. Each test runs in its own process under CTest, so
// nothing a test leaves on the server (a selection owner, a background clipboard server)
// reaches another.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace x11test {

// Whether a program is on PATH.
bool HasProgram(const std::string& name);

class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}
    ~ChildProcess() { Stop(); }
    ChildProcess(ChildProcess&& other) noexcept : m_pid(other.m_pid) { other.m_pid = -1; }
    ChildProcess& operator=(ChildProcess&& other) noexcept;

    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    // SIGTERM, then reaps it.
    void Stop();

private:
    pid_t m_pid = -1;
};

// Starts argv[0] (searched on PATH) with DISPLAY set, output to /dev/null.
ChildProcess Spawn(const std::string& display, const char* const* argv);

class XServer {
public:
    // Null when Xvfb is missing or does not start within a few seconds.
    static std::optional<XServer> Start();
    XServer(XServer&&) = default;
    XServer& operator=(XServer&&) = default;

    const std::string& Name() const { return m_name; }
    void Kill() { m_process.Stop(); }
    // Starts openbox and waits until it announces itself on the root; false when it cannot.
    bool StartWindowManager();

private:
    XServer(ChildProcess process, std::string name)
        : m_process(std::move(process)), m_name(std::move(name)) {}

    ChildProcess m_process;
    std::string m_name;
    ChildProcess m_windowManager;
};

}  // namespace x11test
