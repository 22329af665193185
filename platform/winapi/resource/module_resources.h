#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/winapi/resource/res_file.h"
#include "platform/winapi/resource/resource_lookup.h"

namespace winapi::resource {

// The program module's compiled resources, as SetModuleResources registered them, and the
// HRSRC handles that name their entries.
class ModuleResources {
public:
    static ModuleResources& Instance();

    // Parses the image; an image that is no 32-bit .res leaves the module without resources.
    void Set(std::span<const std::byte> image);

    // Null when no valid image is registered.
    const ResFile* File() const { return m_file ? &*m_file : nullptr; }

    // FindResourceEx for a module handle. Fails with ERROR_INVALID_HANDLE for a module other
    // than the program's and ERROR_RESOURCE_DATA_NOT_FOUND when it has no resources.
    ResourceLookup Find(HMODULE module, const ResId& type, const ResId& name, WORD language) const;

    // An HRSRC encodes the entry's index and the registration it belongs to, so a handle from
    // an earlier image, or any made-up value, is recognised as invalid.
    HRSRC HandleOf(const ResEntry& entry) const;
    const ResEntry* EntryOf(HRSRC handle) const;
    // True when the pointer lies in the registered image (its end included, for empty data).
    bool Holds(const void* data) const;

private:
    std::span<const std::uint8_t> m_image;
    std::optional<ResFile> m_file;
    std::uint32_t m_generation = 0;
};

}  // namespace winapi::resource
