#include "platform/winapi/kernel/command_line.h"

#include <windows.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "platform/winapi/host.h"

namespace winapi::kernel {
namespace {

struct CommandLineState {
    std::optional<std::vector<std::string>> arguments;
    // Built once per set of arguments: GetCommandLineA hands out a pointer into it.
    std::optional<std::string> commandLine;
};

CommandLineState& State() {
    static CommandLineState state;
    return state;
}

std::vector<std::string> ReadProcCmdline() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> argv;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        argv.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return argv;
}

bool NeedsQuotes(std::string_view argument) {
    return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string_view::npos;
}

}  // namespace

const std::vector<std::string>& ProgramArguments() {
    auto& state = State();
    if (!state.arguments) {
        state.arguments = ReadProcCmdline();
    }
    return *state.arguments;
}

std::string QuoteProgramName(std::string_view name) {
    // The name ends at the first blank outside quotes and every quote in it is dropped, so a
    // quote cannot be written at all; blanks are protected by quoting the whole name.
    std::string bare;
    for (const char c : name) {
        if (c != '"') {
            bare += c;
        }
    }
    if (!bare.empty() && bare.find_first_of(" \t") == std::string::npos) {
        return bare;
    }
    return '"' + bare + '"';
}

std::string QuoteArgument(std::string_view argument) {
    if (!NeedsQuotes(argument)) {
        return std::string(argument);
    }
    // Backslashes are literal except in a run that ends at a quote: there each one is doubled,
    // and one more escapes the quote. The closing quote counts as such a quote.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string FormCommandLine(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return {};
    }
    std::string line = QuoteProgramName(argv[0]);
    for (std::size_t i = 1; i < argv.size(); ++i) {
        line += ' ';
        line += QuoteArgument(argv[i]);
    }
    return line;
}

}  // namespace winapi::kernel

namespace winapi {

void SetProgramArguments(std::vector<std::string> argv) {
    auto& state = kernel::State();
    state.arguments = std::move(argv);
    state.commandLine.reset();
}

}  // namespace winapi

LPSTR WINAPI GetCommandLineA(void) {
    auto& state = winapi::kernel::State();
    if (!state.commandLine) {
        state.commandLine = winapi::kernel::FormCommandLine(winapi::kernel::ProgramArguments());
    }
    return state.commandLine->data();
}
