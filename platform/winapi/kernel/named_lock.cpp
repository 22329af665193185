#include "platform/winapi/kernel/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace winapi::kernel {
namespace {

constexpr std::size_t kMaxEscapedName = 200;
constexpr std::size_t kKeptOfLongName = 160;

bool IsPrivateDirectory(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

bool IsPlainChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    return hash;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return ERROR_PATH_NOT_FOUND;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

}  // namespace

std::string NamedLock::DirectoryPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime && runtime[0] == '/' && ::lstat(runtime, &info) == 0 && IsPrivateDirectory(info)) {
        return runtime;
    }
    return "/tmp/tintaro-" + std::to_string(::geteuid());
}

std::string NamedLock::FileName(std::string_view name) {
    std::string escaped;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsPlainChar(byte)) {
            escaped += c;
            continue;
        }
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", byte);
        escaped += hex;
    }
    if (escaped.size() > kMaxEscapedName) {
        char hash[20];
        std::snprintf(hash, sizeof hash, "~%016llX", static_cast<unsigned long long>(Fnv1a(name)));
        escaped = escaped.substr(0, kKeptOfLongName) + hash;
    }
    return "tintaro-mutex-" + escaped + ".lock";
}

UniqueFd NamedLock::OpenPrivateDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    UniqueFd directory(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!directory.IsValid()) {
        return {};
    }
    struct stat info {};
    if (::fstat(directory.Get(), &info) != 0) {
        return {};
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        errno = EACCES;
        return {};
    }
    if ((info.st_mode & 077) != 0 && ::fchmod(directory.Get(), 0700) != 0) {
        return {};
    }
    return directory;
}

NamedLock::Attempt NamedLock::TryAcquire(std::string_view name) {
    const UniqueFd directory = OpenPrivateDirectory(DirectoryPath());
    if (!directory.IsValid()) {
        return {nullptr, false, ErrorFromErrno(errno)};
    }
    // Relative to the verified directory and never through a symlink, so nothing planted at the
    // path can redirect the open.
    UniqueFd file(::openat(directory.Get(), FileName(name).c_str(),
                           O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                           0600));
    if (!file.IsValid()) {
        return {nullptr, false, ErrorFromErrno(errno)};
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        return {nullptr, false, DWORD{ERROR_ACCESS_DENIED}};
    }
    int result;
    do {
        result = ::flock(file.Get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        return {std::unique_ptr<NamedLock>(new NamedLock(std::move(file))), false,
                DWORD{ERROR_SUCCESS}};
    }
    if (errno == EWOULDBLOCK) {
        return {nullptr, true, DWORD{ERROR_SUCCESS}};
    }
    return {nullptr, false, ErrorFromErrno(errno)};
}

}  // namespace winapi::kernel
