#pragma once

#include <memory>
#include <string>

#include "platform/winapi/kernel/kernel_handles.h"
#include "platform/winapi/kernel/named_lock.h"

namespace winapi::kernel {

// A mutex object. A named one holds the user's named lock when this process created it; every
// handle the process opens to the same name shares the one object, so the lock goes with the
// last of them.
class Mutex : public KernelObject {
public:
    Mutex(std::string name, std::unique_ptr<NamedLock> lock, bool owned)
        : m_name(std::move(name)), m_lock(std::move(lock)), m_ownerCount(owned ? 1 : 0) {}

    const std::string& Name() const { return m_name; }
    // False when the caller does not own it (ERROR_NOT_OWNER).
    bool Release();

private:
    std::string m_name;
    std::unique_ptr<NamedLock> m_lock;
    int m_ownerCount;
};

}  // namespace winapi::kernel
