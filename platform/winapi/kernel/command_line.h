#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace winapi::kernel {

// The program's arguments: those given to SetProgramArguments, else /proc/self/cmdline.
const std::vector<std::string>& ProgramArguments();

// One command line from argv, the way a Windows parent writes it for CreateProcess, so that
// CommandLineToArgvW and the C run-time split it back into the same arguments. The program name
// follows the name rules (quotes only group, and it cannot hold a quote); the arguments follow
// the backslash-and-quote rules.
std::string FormCommandLine(const std::vector<std::string>& argv);
std::string QuoteProgramName(std::string_view name);
std::string QuoteArgument(std::string_view argument);

}  // namespace winapi::kernel
