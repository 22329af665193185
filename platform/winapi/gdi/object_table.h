// Every GDI object of the session, behind validated handles. A handle carries the generation of
// its slot, so a handle kept after DeleteObject never reaches the object that reuses the slot.
// Stock objects live here too but are not counted and cannot be removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/winapi/gdi/gdi_object.h"

namespace winapi::gdi {

class ObjectTable {
public:
    // Win32's default per-process quota of GDI handles.
    static constexpr std::size_t kQuota = 10000;

    static ObjectTable& Instance();

    // The new object's handle; null (ERROR_NOT_ENOUGH_QUOTA) when the quota is used up.
    HGDIOBJ Add(std::unique_ptr<GdiObject> object);
    // The stock object for key, created by make on first use.
    HGDIOBJ Stock(int key, const std::function<std::unique_ptr<GdiObject>()>& make);

    GdiObject* Find(const void* handle) const;
    template <typename T>
    T* Find(const void* handle) const {
        GdiObject* object = Find(handle);
        return object != nullptr && object->Kind() == T::kKind ? static_cast<T*>(object) : nullptr;
    }

    // Frees a counted object; false for stock objects and unknown handles.
    bool Remove(const void* handle);
    // Counted objects alive: what GetGuiResources(GR_GDIOBJECTS) reports.
    std::size_t CountedObjects() const { return m_counted; }
    // Counted objects of one kind alive.
    std::size_t CountedObjects(ObjectKind kind) const;
    // Drops everything, stock objects included: the end of a session.
    void Clear();

private:
    struct Slot {
        std::unique_ptr<GdiObject> object;
        std::uint16_t generation = 0;
    };
    HGDIOBJ Insert(std::unique_ptr<GdiObject> object, bool stock);

    std::vector<Slot> m_slots;
    std::deque<std::uint16_t> m_free;  // oldest freed first, so a slot is reused late
    std::unordered_map<int, HGDIOBJ> m_stock;
    std::size_t m_counted = 0;
};

}  // namespace winapi::gdi
