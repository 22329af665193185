#include "platform/winapi/kernel/global_memory.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/winapi/session_parts.h"

namespace winapi::kernel {
namespace {

// A fixed block's handle is its address, which operator new[] aligns to 16. Moveable handles
// are 8 past a multiple of 16, so the two kinds can never be mistaken for each other.
constexpr std::uintptr_t kMoveableBase = 0x10008;
constexpr std::uintptr_t kMoveableStep = 16;
constexpr SIZE_T kLargestBlock = 0x7FFFFFFF;

const SessionEndHook kEndHook(SessionEndOrder::Kernel, [] { GlobalMemory::Instance().Clear(); });

std::uintptr_t Key(HGLOBAL handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace

GlobalMemory& GlobalMemory::Instance() {
    static GlobalMemory memory;
    return memory;
}

GlobalMemory::Block* GlobalMemory::Find(HGLOBAL handle) {
    const auto found = m_blocks.find(Key(handle));
    return found == m_blocks.end() ? nullptr : &found->second;
}

const GlobalMemory::Block* GlobalMemory::Find(HGLOBAL handle) const {
    const auto found = m_blocks.find(Key(handle));
    return found == m_blocks.end() ? nullptr : &found->second;
}

GlobalMemory::Block* GlobalMemory::FindOrFail(HGLOBAL handle) {
    Block* block = Find(handle);
    if (block == nullptr)
        SetLastError(ERROR_INVALID_HANDLE);
    return block;
}

HGLOBAL GlobalMemory::Allocate(UINT flags, SIZE_T size) {
    if (size > kLargestBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Block block;
    block.size = size;
    block.moveable = (flags & GMEM_MOVEABLE) != 0;
    // A fixed block needs an address of its own even when empty.
    const SIZE_T bytes = std::max<SIZE_T>(size, block.moveable ? 0 : 1);
    if (bytes > 0) {
        block.data.reset(new (std::nothrow) std::byte[bytes]);
        if (!block.data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (flags & GMEM_ZEROINIT)
            std::memset(block.data.get(), 0, bytes);
    }
    std::uintptr_t key = 0;
    if (block.moveable) {
        key = kMoveableBase + m_nextMoveable++ * kMoveableStep;
    } else {
        key = reinterpret_cast<std::uintptr_t>(block.data.get());
    }
    m_blocks.emplace(key, std::move(block));
    return reinterpret_cast<HGLOBAL>(key);
}

LPVOID GlobalMemory::Lock(HGLOBAL handle) {
    Block* block = FindOrFail(handle);
    if (block == nullptr)
        return nullptr;
    if (!block->moveable)
        return block->data.get();
    // An empty moveable block has no memory to lock, as a discarded one in Win32.
    if (block->size == 0)
        return nullptr;
    ++block->locks;
    return block->data.get();
}

BOOL GlobalMemory::Unlock(HGLOBAL handle) {
    Block* block = FindOrFail(handle);
    if (block == nullptr)
        return FALSE;
    if (!block->moveable)
        return TRUE;
    if (block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->locks > 0)
        return TRUE;
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

HGLOBAL GlobalMemory::Free(HGLOBAL handle) {
    if (handle == nullptr)
        return nullptr;
    const Block* block = Find(handle);
    if (block == nullptr || block->systemOwned) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    m_blocks.erase(Key(handle));
    return nullptr;
}

SIZE_T GlobalMemory::Size(HGLOBAL handle) {
    const Block* block = FindOrFail(handle);
    return block == nullptr ? 0 : block->size;
}

std::optional<std::span<const std::byte>> GlobalMemory::ProgramBytes(HGLOBAL handle) const {
    const Block* block = Find(handle);
    if (block == nullptr || block->systemOwned)
        return std::nullopt;
    return std::span<const std::byte>(block->data.get(), block->size);
}

bool GlobalMemory::TakeOver(HGLOBAL handle) {
    Block* block = Find(handle);
    if (block == nullptr || block->systemOwned) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    block->systemOwned = true;
    return true;
}

HGLOBAL GlobalMemory::AllocateForSystem(std::span<const std::byte> bytes) {
    HGLOBAL handle = Allocate(GMEM_MOVEABLE, bytes.size());
    Block* block = Find(handle);
    if (block == nullptr)
        return nullptr;
    if (!bytes.empty())
        std::memcpy(block->data.get(), bytes.data(), bytes.size());
    block->systemOwned = true;
    return handle;
}

void GlobalMemory::FreeSystemBlock(HGLOBAL handle) {
    const Block* block = Find(handle);
    if (block != nullptr && block->systemOwned)
        m_blocks.erase(Key(handle));
}

// Moveable handles keep counting up, so one from an ended session never names a new block.
void GlobalMemory::Clear() {
    m_blocks.clear();
}

}  // namespace winapi::kernel

using winapi::kernel::GlobalMemory;

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    return GlobalMemory::Instance().Allocate(uFlags, dwBytes);
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
    return GlobalMemory::Instance().Lock(hMem);
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
    return GlobalMemory::Instance().Unlock(hMem);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
    return GlobalMemory::Instance().Free(hMem);
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
    return GlobalMemory::Instance().Size(hMem);
}
