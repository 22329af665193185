#include "platform/winapi/resource/module_resources.h"

#include "platform/winapi/host.h"
#include "platform/winapi/kernel/module.h"

namespace winapi::resource {
namespace {

static_assert(sizeof(std::uintptr_t) >= 8, "an HRSRC holds a generation and an entry index");

constexpr int kGenerationShift = 32;

}  // namespace

ModuleResources& ModuleResources::Instance() {
    static ModuleResources resources;
    return resources;
}

void ModuleResources::Set(std::span<const std::byte> image) {
    m_image = {reinterpret_cast<const std::uint8_t*>(image.data()), image.size()};
    m_file = ResFile::Parse(m_image);
    ++m_generation;
}

ResourceLookup ModuleResources::Find(HMODULE module, const ResId& type, const ResId& name,
                                     WORD language) const {
    if (!kernel::IsProgramModule(module)) {
        return {nullptr, DWORD{ERROR_INVALID_HANDLE}};
    }
    if (!m_file) {
        return {nullptr, DWORD{ERROR_RESOURCE_DATA_NOT_FOUND}};
    }
    return FindResourceEntry(*m_file, type, name, language);
}

HRSRC ModuleResources::HandleOf(const ResEntry& entry) const {
    const auto index = static_cast<std::uintptr_t>(&entry - m_file->Entries().data());
    const std::uintptr_t value =
        (static_cast<std::uintptr_t>(m_generation) << kGenerationShift) | (index + 1);
    return reinterpret_cast<HRSRC>(value);
}

const ResEntry* ModuleResources::EntryOf(HRSRC handle) const {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (!m_file || (value >> kGenerationShift) != m_generation) {
        return nullptr;
    }
    const std::uintptr_t index = (value & 0xFFFFFFFFu) - 1;
    if (index >= m_file->Entries().size()) {
        return nullptr;
    }
    return &m_file->Entries()[index];
}

bool ModuleResources::Holds(const void* data) const {
    const auto* byte = static_cast<const std::uint8_t*>(data);
    return m_file && byte && byte >= m_image.data() && byte <= m_image.data() + m_image.size();
}

}  // namespace winapi::resource

namespace winapi {

void SetModuleResources(std::span<const std::byte> resImage) {
    resource::ModuleResources::Instance().Set(resImage);
}

}  // namespace winapi
