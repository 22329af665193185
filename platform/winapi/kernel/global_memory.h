// Global memory blocks, the currency of the clipboard. Every handle is checked against the
// table, so a freed or made-up handle fails with ERROR_INVALID_HANDLE instead of reaching memory.
// A block handed to the clipboard belongs to the system from then on: the program may still
// lock and read it, but not free it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>

namespace winapi::kernel {

class GlobalMemory {
public:
    static GlobalMemory& Instance();

    // The program's side, as the Global* functions see it. Failures set the last error.
    HGLOBAL Allocate(UINT flags, SIZE_T size);
    LPVOID Lock(HGLOBAL handle);
    BOOL Unlock(HGLOBAL handle);
    HGLOBAL Free(HGLOBAL handle);
    SIZE_T Size(HGLOBAL handle);

    // The system's side. The contents of a block the program still owns, nothing otherwise.
    std::optional<std::span<const std::byte>> ProgramBytes(HGLOBAL handle) const;
    // Takes a program's block over; false (ERROR_INVALID_HANDLE) when it is not one.
    bool TakeOver(HGLOBAL handle);
    // A moveable block the system owns, holding bytes.
    HGLOBAL AllocateForSystem(std::span<const std::byte> bytes);
    // Frees a block the system owns; blocks of the program are left alone.
    void FreeSystemBlock(HGLOBAL handle);
    void Clear();

private:
    struct Block {
        std::unique_ptr<std::byte[]> data;
        SIZE_T size = 0;
        bool moveable = false;
        int locks = 0;
        bool systemOwned = false;
    };
    Block* Find(HGLOBAL handle);
    const Block* Find(HGLOBAL handle) const;
    Block* FindOrFail(HGLOBAL handle);

    std::map<std::uintptr_t, Block> m_blocks;
    std::uintptr_t m_nextMoveable = 0;
};

}  // namespace winapi::kernel
