#include "platform/winapi/kernel/mutex.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <string_view>

namespace winapi::kernel {
namespace {

// The named mutexes this process has open, by name. An entry whose mutex is gone is overwritten
// when the name is next created.
std::map<std::string, std::weak_ptr<Mutex>, std::less<>>& OpenMutexes() {
    static std::map<std::string, std::weak_ptr<Mutex>, std::less<>> mutexes;
    return mutexes;
}

HANDLE Register(const std::shared_ptr<Mutex>& mutex) {
    if (!mutex->Name().empty()) {
        OpenMutexes()[mutex->Name()] = mutex;
    }
    return KernelHandles::Instance().Add(mutex);
}

}  // namespace

bool Mutex::Release() {
    if (m_ownerCount == 0) {
        return false;
    }
    --m_ownerCount;
    return true;
}

}  // namespace winapi::kernel

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName) {
    using namespace winapi::kernel;
    // Win32 treats an empty name as none.
    const std::string_view name = lpName ? lpName : "";
    if (name.size() > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    if (name.empty()) {
        SetLastError(ERROR_SUCCESS);
        return Register(std::make_shared<Mutex>(std::string(), nullptr, bInitialOwner != FALSE));
    }
    // Opening an existing mutex yields a new handle to the same object and ignores
    // bInitialOwner, as in Win32.
    auto& open = OpenMutexes();
    if (const auto found = open.find(name); found != open.end()) {
        if (auto existing = found->second.lock()) {
            const HANDLE handle = KernelHandles::Instance().Add(existing);
            SetLastError(ERROR_ALREADY_EXISTS);
            return handle;
        }
    }
    auto attempt = NamedLock::TryAcquire(name);
    if (attempt.heldElsewhere) {
        const HANDLE handle = Register(std::make_shared<Mutex>(std::string(name), nullptr, false));
        SetLastError(ERROR_ALREADY_EXISTS);
        return handle;
    }
    if (!attempt.lock) {
        SetLastError(attempt.error);
        return nullptr;
    }
    const HANDLE handle = Register(std::make_shared<Mutex>(
        std::string(name), std::move(attempt.lock), bInitialOwner != FALSE));
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
    using namespace winapi::kernel;
    const auto mutex = KernelHandles::Instance().FindAs<Mutex>(hMutex);
    if (!mutex) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!mutex->Release()) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}
