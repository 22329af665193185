// A private X server for one test: Xvfb on a free display number (-displayfd), optionally with
// a window manager, stopped with the test. Each test runs in its own process under CTest, so
// nothing a test leaves on the server (a selection owner, a background clipboard server)
// reaches another.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace x11test {

// Whether a program is on PATH.
bool HasProgram(const std::string& name);

class ChildProcess {
public:
    ChildProcess() = default;
    // group: the child leads a process group of its own, and stopping it ends the whole group
    // (the programs it started too).
    explicit ChildProcess(pid_t pid, bool group = false) : m_pid(pid), m_group(group) {}
    ~ChildProcess() { Stop(); }
    ChildProcess(ChildProcess&& other) noexcept : m_pid(other.m_pid), m_group(other.m_group) {
        other.m_pid = -1;
    }
    ChildProcess& operator=(ChildProcess&& other) noexcept;

    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    // SIGTERM, then reaps it.
    void Stop();
    // Forgets a child that was reaped elsewhere.
    void Release() { m_pid = -1; }

private:
    pid_t m_pid = -1;
    bool m_group = false;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Starts argv[0] (searched on PATH) with DISPLAY and environment set, output to /dev/null;
// group as for ChildProcess.
ChildProcess Spawn(const std::string& display, const char* const* argv,
                   const Environment& environment = {}, bool group = false);

// The exit status of a child, or -1 when a signal ended it; null (and the child killed) when
// it did not end within timeoutMs.
std::optional<int> WaitForExit(pid_t pid, std::uint64_t timeoutMs);

class XServer {
public:
    // Null when Xvfb is missing or does not start within a few seconds.
    static std::optional<XServer> Start();
    XServer(XServer&&) = default;
    XServer& operator=(XServer&&) = default;

    const std::string& Name() const { return m_name; }
    pid_t Pid() const { return m_process.Pid(); }
    void Kill() {
        m_probeConnection.reset();
        m_process.Stop();
    }
    // Starts openbox and waits until it announces itself on the root; false when it cannot.
    bool StartWindowManager();

private:
    XServer(ChildProcess process, std::string name)
        : m_process(std::move(process)), m_name(std::move(name)) {}

    ChildProcess m_process;
    std::string m_name;
    ChildProcess m_windowManager;
    // The connection that made the manager's probe window stays open while the server runs
    // (and closes first): closed, its window ids would go to the next client, and a manager
    // still catching up on the destroyed probe would move and unmap that client's window.
    std::shared_ptr<void> m_probeConnection;
};

}  // namespace x11test
