#include "platform/winapi/kernel/kernel_handles.h"

#include <unistd.h>

#include <utility>

#include "platform/winapi/session_parts.h"

namespace winapi::kernel {
namespace {

// GetCurrentProcess's pseudo-handle, as in Win32.
const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

// Kernel state comes last: windows and objects may still close handles while they go.
const SessionEndHook kEndHook(SessionEndOrder::Kernel, [] {
    KernelHandles::Instance().CloseAll();
    SetLastError(ERROR_SUCCESS);
});

}  // namespace

KernelHandles& KernelHandles::Instance() {
    static KernelHandles handles;
    return handles;
}

HANDLE KernelHandles::Add(std::shared_ptr<KernelObject> object) {
    const std::uintptr_t value = m_next;
    m_next += 4;
    m_objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> KernelHandles::Find(HANDLE handle) const {
    const auto found = m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == m_objects.end() ? nullptr : found->second;
}

bool KernelHandles::Close(HANDLE handle) {
    return m_objects.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0;
}

void KernelHandles::CloseAll() {
    // Objects are destroyed outside the table, so a destructor that looks at it sees it whole.
    auto objects = std::exchange(m_objects, {});
    objects.clear();
}

}  // namespace winapi::kernel

BOOL WINAPI CloseHandle(HANDLE hObject) {
    using winapi::kernel::KernelHandles;
    if (hObject == winapi::kernel::kCurrentProcess) {
        return TRUE;  // closing the process's pseudo handle has no effect, as in Win32
    }
    if (!KernelHandles::Instance().Close(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HANDLE WINAPI GetCurrentProcess(void) {
    return winapi::kernel::kCurrentProcess;
}

DWORD WINAPI GetCurrentProcessId(void) {
    return static_cast<DWORD>(::getpid());
}
