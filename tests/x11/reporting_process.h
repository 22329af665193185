// A program of ours run as a process of its own on a test's display (the stand-in picker),
// whose report lines on standard output are read as they come.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/x11/x_server.h"

namespace x11test {

class ReportingProcess {
public:
    // Starts argv[0] (a path) on display; its standard error stays the test's.
    ReportingProcess(const std::string& display, const std::vector<std::string>& argv);
    ~ReportingProcess();
    ReportingProcess(const ReportingProcess&) = delete;
    ReportingProcess& operator=(const ReportingProcess&) = delete;

    bool Running() const { return m_process.Running(); }
    pid_t Pid() const { return m_process.Pid(); }

    // The next line that begins with prefix, the lines before it skipped (kept in Lines());
    // null when none came within timeoutMs or the output ended.
    std::optional<std::string> WaitForLine(const std::string& prefix, std::uint64_t timeoutMs);
    const std::vector<std::string>& Lines() const { return m_lines; }
    // Where WaitForLine has read to, and a return there: for lines that may come in either
    // order.
    std::size_t Taken() const { return m_taken; }
    void RewindTo(std::size_t taken) { m_taken = taken; }
    // Its exit status as x11test::WaitForExit gives it.
    std::optional<int> WaitForExit(std::uint64_t timeoutMs);

private:
    // Reads what has arrived; false once the output has ended.
    bool ReadMore(std::uint64_t deadlineMs);

    ChildProcess m_process;
    int m_output = -1;
    std::string m_pending;
    std::vector<std::string> m_lines;
    std::size_t m_taken = 0;  // lines already given out or skipped
};

}  // namespace x11test
