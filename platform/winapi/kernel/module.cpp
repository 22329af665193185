#include "platform/winapi/kernel/module.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/winapi/kernel/command_line.h"

namespace winapi::kernel {
namespace {

// Its address is the module handle: unique, stable and never dereferenced.
const char kModuleTag = 0;

std::optional<std::string> ReadExeLink() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) {
        return std::nullopt;
    }
    return std::string(path, static_cast<std::size_t>(length));
}

std::optional<std::string> ResolveFirstArgument() {
    const auto& argv = ProgramArguments();
    if (argv.empty() || argv[0].empty()) {
        return std::nullopt;
    }
    char* resolved = ::realpath(argv[0].c_str(), nullptr);
    if (!resolved) {
        return std::nullopt;
    }
    std::string path(resolved);
    std::free(resolved);
    return path;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

HMODULE ProgramModule() {
    return reinterpret_cast<HMODULE>(const_cast<char*>(&kModuleTag));
}

bool IsProgramModule(HMODULE module) {
    return module == nullptr || module == ProgramModule();
}

std::optional<std::string> ExecutablePath() {
    if (auto path = ReadExeLink()) {
        return path;
    }
    return ResolveFirstArgument();
}

}  // namespace winapi::kernel

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    using namespace winapi::kernel;
    if (!lpModuleName) {
        return ProgramModule();
    }
    // Only the program's own module is loaded; it answers to its file name.
    const auto path = ExecutablePath();
    if (path) {
        const std::string_view fileName = std::string_view(*path).substr(path->rfind('/') + 1);
        if (SameNameIgnoringCase(fileName, lpModuleName)) {
            return ProgramModule();
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    using namespace winapi::kernel;
    if (!IsProgramModule(hModule)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (!lpFilename && nSize > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto path = ExecutablePath();
    if (!path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    // Win32 (since Vista): a path that does not fit is cut to nSize - 1 characters and a
    // terminator, the result is nSize and the error ERROR_INSUFFICIENT_BUFFER.
    if (path->size() >= nSize) {
        if (nSize > 0) {
            std::memcpy(lpFilename, path->data(), nSize - 1);
            lpFilename[nSize - 1] = '\0';
        }
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path->c_str(), path->size() + 1);
    return static_cast<DWORD>(path->size());
}
