// The Windows build of the picker under Wine, a second Win32 that the end-to-end tests hold the
// program and our own layer against. The build's prefix is made once (wine/make_prefix.sh);
// each test runs in a copy of its own, so the tests' wineservers, and with them the program's
// single-instance mutexes, never meet.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/x11/x_server.h"

namespace x11test {

class WineSession {
public:
    // The session, or why Wine cannot run the program here (for the test's skip message).
    static std::optional<WineSession> Open(std::string& whyNot);
    WineSession(WineSession&& other) noexcept
        : m_directory(std::exchange(other.m_directory, {})), m_program(other.m_program) {}
    WineSession& operator=(WineSession&& other) noexcept {
        std::swap(m_directory, other.m_directory);
        m_program = other.m_program;
        return *this;
    }
    // Ends every process of the copy's wineserver and removes the copy.
    ~WineSession();

    const std::string& Program() const { return m_program; }
    // The environment a Wine process of this session runs with.
    Environment ProcessEnvironment() const;
    // The command that runs the Windows program with argument (if any) in this session.
    std::vector<std::string> Command(const char* argument) const;

private:
    WineSession(std::string directory, std::string program)
        : m_directory(std::move(directory)), m_program(std::move(program)) {}
    std::string Prefix() const { return m_directory + "/prefix"; }

    std::string m_directory;
    std::string m_program;
};

}  // namespace x11test
