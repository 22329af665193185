#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>

namespace winapi::kernel {

// Anything a kernel HANDLE can refer to. The object lives while a handle to it is open.
class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// The process's handle table. Values are multiples of 4 as in Win32 and are not reused, so a
// closed handle stays invalid.
class KernelHandles {
public:
    static KernelHandles& Instance();

    HANDLE Add(std::shared_ptr<KernelObject> object);
    std::shared_ptr<KernelObject> Find(HANDLE handle) const;
    template <typename T>
    std::shared_ptr<T> FindAs(HANDLE handle) const {
        return std::dynamic_pointer_cast<T>(Find(handle));
    }
    bool Close(HANDLE handle);
    void CloseAll();

private:
    std::map<std::uintptr_t, std::shared_ptr<KernelObject>> m_objects;
    std::uintptr_t m_next = 0x100;
};

}  // namespace winapi::kernel
