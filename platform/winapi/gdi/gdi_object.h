// What every GDI object has in common: its kind, its handle once the object table holds it,
// whether it is a stock object, and how many device-context states select it.
#pragma once

#include <cstdint>

#include <windows.h>

namespace winapi::gdi {

// The values of the kinds that GetObjectType reports are Win32's OBJ_* values.
enum class ObjectKind : std::uint8_t {
    Pen = OBJ_PEN,
    Brush = OBJ_BRUSH,
    Dc = OBJ_DC,
    Font = OBJ_FONT,
    Bitmap = OBJ_BITMAP,
    Icon = 0x40,
};

class GdiObject {
public:
    explicit GdiObject(ObjectKind kind) : m_kind(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    ObjectKind Kind() const { return m_kind; }
    HGDIOBJ Handle() const { return m_handle; }
    bool IsStock() const { return m_stock; }
    bool IsSelected() const { return m_selections > 0; }

    void AddSelection() { ++m_selections; }
    void RemoveSelection() {
        if (m_selections > 0)
            --m_selections;
    }

private:
    friend class ObjectTable;
    ObjectKind m_kind;
    HGDIOBJ m_handle = nullptr;
    bool m_stock = false;
    int m_selections = 0;
};

}  // namespace winapi::gdi
