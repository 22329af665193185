#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace winapi::kernel {

// The program's module, as GetModuleHandleA(NULL) returns it. Where Win32 takes a module, NULL
// means this one as well.
HMODULE ProgramModule();
bool IsProgramModule(HMODULE module);

// The executable's full path: /proc/self/exe, else the first program argument made absolute.
std::optional<std::string> ExecutablePath();

}  // namespace winapi::kernel
