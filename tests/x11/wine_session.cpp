#include "tests/x11/wine_session.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace x11test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kWineServerEndMs = 10'000;

std::string WindowsProgram() {
    const char* path = getenv("TINTARO_WINDOWS_PROGRAM");
    return path != nullptr && *path != '\0' ? path : TINTARO_WINDOWS_PROGRAM_DEFAULT;
}

// Runs a command to its end; its standard output and error, and whether it exited with 0.
bool RunQuietly(const std::string& command, std::string& output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return false;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    return pclose(pipe) == 0;
}

// A copy that shares the build prefix's drive and devices and has registry files of its own
// (the copy's wineserver writes them back as it ends). The prefix directory itself is new, so
// it has a wineserver of its own.
bool CopyPrefix(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_directory(to, error);
    for (const fs::directory_entry& entry : fs::directory_iterator(from, error)) {
        const fs::path target = to / entry.path().filename();
        if (entry.is_directory()) {
            fs::create_directory_symlink(entry.path(), target, error);
        } else if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), target, error);
        }
        if (error) {
            return false;
        }
    }
    return !error;
}

}  // namespace

std::optional<WineSession> WineSession::Open(std::string& whyNot) {
    const std::string program = WindowsProgram();
    if (!fs::exists(program)) {
        whyNot = "no Windows build at " + program +
                 " (scripts/test makes it; TINTARO_WINDOWS_PROGRAM names another)";
        return std::nullopt;
    }
    if (!HasProgram("wine") || !HasProgram("wineserver")) {
        whyNot = "Wine is not installed (scripts/test installs it)";
        return std::nullopt;
    }
    // Made once per build directory; quick when it is there already.
    std::string output;
    const bool made =
        RunQuietly("'" TINTARO_WINE_MAKE_PREFIX "' '" TINTARO_WINE_PREFIX "'", output);
    if (!made || !fs::exists(TINTARO_WINE_PREFIX "/.tintaro-ready")) {
        whyNot = "no Wine prefix at " TINTARO_WINE_PREFIX ": " + output;
        return std::nullopt;
    }
    char pattern[] = "/tmp/tintaro-wine-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        whyNot = "no temporary directory for the prefix's copy";
        return std::nullopt;
    }
    WineSession session(pattern, program);
    if (!CopyPrefix(TINTARO_WINE_PREFIX, session.Prefix())) {
        whyNot = "the prefix could not be copied to " + session.Prefix();
        return std::nullopt;
    }
    return session;
}

WineSession::~WineSession() {
    if (m_directory.empty()) {
        return;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        for (const auto& [name, value] : ProcessEnvironment()) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        execlp("wineserver", "wineserver", "-k", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid > 0) {
        WaitForExit(pid, kWineServerEndMs);
    }
    std::error_code ignored;
    fs::remove_all(m_directory, ignored);
}

Environment WineSession::ProcessEnvironment() const {
    Environment environment{{"WINEPREFIX", Prefix()},
                            {"WINEDEBUG", "-all"},
                            {"WINEDLLOVERRIDES", "winemenubuilder.exe=d;mscoree=d;mshtml=d"}};
    // Wine wants a home; CI may run without one.
    const char* home = getenv("HOME");
    if (home == nullptr || *home == '\0') {
        environment.emplace_back("HOME", m_directory);
    }
    return environment;
}

std::vector<std::string> WineSession::Command(const char* argument) const {
    std::vector<std::string> command{"wine", m_program};
    if (argument != nullptr) {
        command.emplace_back(argument);
    }
    return command;
}

}  // namespace x11test
