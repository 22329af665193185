#include "tests/x11/reporting_process.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/display/x11/x11_connection.h"

namespace x11test {

using display::x11::MonotonicMs;

ReportingProcess::ReportingProcess(const std::string& display,
                                   const std::vector<std::string>& argv) {
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        return;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(output[1], 1);
        setenv("DISPLAY", display.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(output[1]);
    m_output = output[0];
    m_process = ChildProcess(pid);
}

ReportingProcess::~ReportingProcess() {
    m_process.Stop();
    if (m_output >= 0) {
        close(m_output);
    }
}

bool ReportingProcess::ReadMore(std::uint64_t deadlineMs) {
    for (;;) {
        const std::uint64_t now = MonotonicMs();
        if (m_output < 0 || now >= deadlineMs) {
            return m_output >= 0;
        }
        pollfd fd{m_output, POLLIN, 0};
        const int ready = poll(&fd, 1, int(deadlineMs - now));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t n = read(m_output, buffer, sizeof buffer);
        if (n <= 0) {
            close(m_output);
            m_output = -1;
            return false;
        }
        m_pending.append(buffer, std::size_t(n));
        for (std::size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
            m_lines.push_back(m_pending.substr(0, end));
            m_pending.erase(0, end + 1);
        }
        return true;
    }
}

std::optional<std::string> ReportingProcess::WaitForLine(const std::string& prefix,
                                                         std::uint64_t timeoutMs) {
    const std::uint64_t deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        while (m_taken < m_lines.size()) {
            const std::string& line = m_lines[m_taken++];
            if (line.rfind(prefix, 0) == 0) {
                return line;
            }
        }
        if (MonotonicMs() >= deadline || !ReadMore(deadline)) {
            return std::nullopt;
        }
    }
}

std::optional<int> ReportingProcess::WaitForExit(std::uint64_t timeoutMs) {
    if (!m_process.Running()) {
        return std::nullopt;
    }
    const auto status = x11test::WaitForExit(m_process.Pid(), timeoutMs);
    m_process.Release();
    return status;
}

}  // namespace x11test
