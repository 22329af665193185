#include "platform/winapi/gdi/object_table.h"

#include "platform/winapi/session_parts.h"

namespace winapi::gdi {
namespace {

// Handle values: slot index in the low 16 bits (from 1), the slot's generation above it (from
// 1), so every handle is at least 0x10000 and never looks like a (HBRUSH)(COLOR_x + 1).
constexpr std::uintptr_t kIndexMask = 0xFFFF;
constexpr std::size_t kMaxSlots = 0xFFFF;

std::uintptr_t HandleValue(const void* handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

const SessionEndHook kEndHook(SessionEndOrder::Gdi, [] { ObjectTable::Instance().Clear(); });

}  // namespace

ObjectTable& ObjectTable::Instance() {
    static ObjectTable table;
    return table;
}

HGDIOBJ ObjectTable::Insert(std::unique_ptr<GdiObject> object, bool stock) {
    if (object == nullptr)
        return nullptr;
    if (!stock && m_counted >= kQuota) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return nullptr;
    }
    std::uint16_t index = 0;
    if (!m_free.empty() && (m_slots.size() >= kMaxSlots || m_free.size() > kQuota / 4)) {
        index = m_free.front();
        m_free.pop_front();
    } else if (m_slots.size() < kMaxSlots) {
        m_slots.emplace_back();
        index = static_cast<std::uint16_t>(m_slots.size() - 1);
    } else {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return nullptr;
    }
    Slot& slot = m_slots[index];
    slot.generation = static_cast<std::uint16_t>(slot.generation % 0x7FFF + 1);
    const std::uintptr_t value = (static_cast<std::uintptr_t>(slot.generation) << 16) |
                                 (static_cast<std::uintptr_t>(index) + 1);
    object->m_handle = reinterpret_cast<HGDIOBJ>(value);
    object->m_stock = stock;
    slot.object = std::move(object);
    if (!stock)
        ++m_counted;
    return slot.object->m_handle;
}

HGDIOBJ ObjectTable::Add(std::unique_ptr<GdiObject> object) {
    return Insert(std::move(object), false);
}

HGDIOBJ ObjectTable::Stock(int key, const std::function<std::unique_ptr<GdiObject>()>& make) {
    auto found = m_stock.find(key);
    if (found != m_stock.end())
        return found->second;
    HGDIOBJ handle = Insert(make(), true);
    if (handle != nullptr)
        m_stock.emplace(key, handle);
    return handle;
}

GdiObject* ObjectTable::Find(const void* handle) const {
    const std::uintptr_t value = HandleValue(handle);
    const std::uintptr_t index = value & kIndexMask;
    if (index == 0 || index > m_slots.size())
        return nullptr;
    const Slot& slot = m_slots[index - 1];
    if (slot.object == nullptr || (value >> 16) != slot.generation)
        return nullptr;
    return slot.object.get();
}

bool ObjectTable::Remove(const void* handle) {
    GdiObject* object = Find(handle);
    if (object == nullptr || object->IsStock())
        return false;
    const auto index = static_cast<std::uint16_t>((HandleValue(handle) & kIndexMask) - 1);
    // Move the object out first: its destructor may release other objects of this table.
    std::unique_ptr<GdiObject> doomed = std::move(m_slots[index].object);
    m_free.push_back(index);
    --m_counted;
    doomed.reset();
    return true;
}

void ObjectTable::Clear() {
    std::vector<Slot> slots = std::move(m_slots);
    m_slots.clear();
    m_free.clear();
    m_stock.clear();
    m_counted = 0;
    slots.clear();
}

std::size_t ObjectTable::CountedObjects(ObjectKind kind) const {
    std::size_t count = 0;
    for (const Slot& slot : m_slots)
        if (slot.object != nullptr && !slot.object->IsStock() && slot.object->Kind() == kind)
            ++count;
    return count;
}

}  // namespace winapi::gdi
