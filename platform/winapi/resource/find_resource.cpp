// FindResource and its companions over the program module's registered .res image.
#include <windows.h>

#include "platform/winapi/kernel/module.h"
#include "platform/winapi/resource/module_resources.h"
#include "platform/winapi/resource/resource_name.h"

namespace {

using winapi::resource::ModuleResources;

}  // namespace

HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage) {
    const auto type = winapi::resource::ResIdFromArgument(lpType);
    const auto name = winapi::resource::ResIdFromArgument(lpName);
    if (!type || !name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto& resources = ModuleResources::Instance();
    const auto found = resources.Find(hModule, *type, *name, wLanguage);
    if (!found.entry) {
        SetLastError(found.error);
        return nullptr;
    }
    return resources.HandleOf(*found.entry);
}

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    return FindResourceExA(hModule, lpType, lpName, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
    const auto& resources = ModuleResources::Instance();
    const winapi::ResEntry* entry = resources.EntryOf(hResInfo);
    if (!winapi::kernel::IsProgramModule(hModule) || !entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // As in 32-bit Windows the "global handle" is the data's address in the mapped image; it
    // stays valid while the module is loaded.
    return const_cast<std::uint8_t*>(entry->bytes.data());
}

LPVOID WINAPI LockResource(HGLOBAL hResData) {
    if (!ModuleResources::Instance().Holds(hResData)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return hResData;
}

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    const winapi::ResEntry* entry = ModuleResources::Instance().EntryOf(hResInfo);
    if (!winapi::kernel::IsProgramModule(hModule) || !entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(entry->bytes.size());
}

// Obsolete since 32-bit Windows: resources are freed with their module, and the function
// always returns FALSE.
BOOL WINAPI FreeResource(HGLOBAL) {
    return FALSE;
}
