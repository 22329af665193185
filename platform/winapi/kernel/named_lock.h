#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/winapi/kernel/unique_fd.h"

namespace winapi::kernel {

// A lock named by the program and private to the user: an exclusive flock on a file in a
// directory only the user can write. The kernel drops it however the process ends, so a crashed
// holder never leaves it stale.
class NamedLock {
public:
    struct Attempt {
        // Set when this process now holds the lock.
        std::unique_ptr<NamedLock> lock;
        // Another process holds it.
        bool heldElsewhere = false;
        // Neither: the Win32 error to report.
        DWORD error = ERROR_SUCCESS;
    };

    static Attempt TryAcquire(std::string_view name);

    // $XDG_RUNTIME_DIR when it is a private directory of the user's, else /tmp/tintaro-<uid>.
    static std::string DirectoryPath();
    // The lock file's name inside that directory: letters, digits, '_' and '-' as they are,
    // every other byte as %XX, so no name can reach outside the directory; long names are cut
    // and end in a hash of the whole name.
    static std::string FileName(std::string_view name);
    // Opens the directory, creating it 0700 when missing. Refused (invalid, errno set) when it is
    // a symlink, not a directory, or not the user's; group and other permissions are removed.
    static UniqueFd OpenPrivateDirectory(const std::string& path);

private:
    explicit NamedLock(UniqueFd file) : m_file(std::move(file)) {}

    UniqueFd m_file;
};

}  // namespace winapi::kernel
