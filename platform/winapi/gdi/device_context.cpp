#include "platform/winapi/gdi/device_context.h"

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/gdi/brush.h"
#include "platform/winapi/gdi/font_object.h"
#include "platform/winapi/gdi/object_table.h"
#include "platform/winapi/gdi/pen.h"
#include "platform/winapi/gdi/stock_objects.h"

namespace winapi::gdi {
namespace {

template <typename T>
T& Selected(void* handle, int stockIndex) {
    ObjectTable& table = ObjectTable::Instance();
    if (T* object = table.Find<T>(handle))
        return *object;
    // Selected objects cannot be deleted, so this is reached only after the session's objects
    // were dropped under a DC kept by mistake: draw with the defaults rather than crash.
    return *table.Find<T>(StockObject(stockIndex));
}

void Hold(void* handle) {
    if (GdiObject* object = ObjectTable::Instance().Find(handle))
        object->AddSelection();
}

void Unhold(void* handle) {
    GdiObject* object = ObjectTable::Instance().Find(handle);
    if (object == nullptr)
        return;
    object->RemoveSelection();
    if (object->Kind() == ObjectKind::Bitmap && !object->IsSelected())
        static_cast<Bitmap*>(object)->SetSelectedInto(nullptr);
}

}  // namespace

DeviceContext::DeviceContext() : GdiObject(kKind) {
    m_state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    m_state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    m_state.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
    m_state.bitmap = DefaultBitmap();
    Adopt(m_state);
}

DeviceContext::DeviceContext(HWND hwnd, CanvasArea area, std::optional<RECT> paintClip)
    : GdiObject(kKind), m_hwnd(hwnd), m_area(area), m_paintClip(paintClip) {
    m_state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    m_state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    m_state.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
    Adopt(m_state);
}

DeviceContext* DeviceContext::Find(HDC hdc) {
    DeviceContext* dc = ObjectTable::Instance().Find<DeviceContext>(hdc);
    if (dc == nullptr)
        SetLastError(ERROR_INVALID_HANDLE);
    return dc;
}

Pen& DeviceContext::CurrentPen() const {
    return Selected<Pen>(m_state.pen, BLACK_PEN);
}
Brush& DeviceContext::CurrentBrush() const {
    return Selected<Brush>(m_state.brush, WHITE_BRUSH);
}
FontObject& DeviceContext::CurrentFont() const {
    return Selected<FontObject>(m_state.font, SYSTEM_FONT);
}
Bitmap* DeviceContext::CurrentBitmap() const {
    return ObjectTable::Instance().Find<Bitmap>(m_state.bitmap);
}

COLORREF DeviceContext::PenColour() const {
    const Pen& pen = CurrentPen();
    return pen.UsesDcColour() ? m_state.dcPenColour : pen.Colour();
}

COLORREF DeviceContext::BrushColour() const {
    const Brush& brush = CurrentBrush();
    return brush.UsesDcColour() ? m_state.dcBrushColour : brush.Colour();
}

HGDIOBJ DeviceContext::Select(GdiObject& object) {
    HGDIOBJ* slot = nullptr;
    switch (object.Kind()) {
        case ObjectKind::Pen:
            slot = reinterpret_cast<HGDIOBJ*>(&m_state.pen);
            break;
        case ObjectKind::Brush:
            slot = reinterpret_cast<HGDIOBJ*>(&m_state.brush);
            break;
        case ObjectKind::Font:
            slot = reinterpret_cast<HGDIOBJ*>(&m_state.font);
            break;
        case ObjectKind::Bitmap: {
            if (!IsMemory())
                return nullptr;
            auto& bitmap = static_cast<Bitmap&>(object);
            const HDC self = static_cast<HDC>(Handle());
            // The shared default bitmap may sit in any number of DCs; others in one at a time.
            if (!bitmap.IsStock() && bitmap.SelectedInto() != nullptr &&
                bitmap.SelectedInto() != self)
                return nullptr;
            if (!bitmap.IsStock())
                bitmap.SetSelectedInto(self);
            slot = reinterpret_cast<HGDIOBJ*>(&m_state.bitmap);
            break;
        }
        default:
            return nullptr;
    }
    HGDIOBJ previous = *slot;
    if (previous == object.Handle())
        return previous;
    object.AddSelection();
    *slot = object.Handle();
    Unhold(previous);
    return previous;
}

void DeviceContext::Adopt(const DcState& state) {
    Hold(state.pen);
    Hold(state.brush);
    Hold(state.font);
    Hold(state.bitmap);
}

void DeviceContext::Release(const DcState& state) {
    Unhold(state.pen);
    Unhold(state.brush);
    Unhold(state.font);
    Unhold(state.bitmap);
}

void DeviceContext::ReleaseSelections() {
    Release(m_state);
    for (const DcState& saved : m_saved)
        Release(saved);
    m_saved.clear();
    m_state.pen = nullptr;
    m_state.brush = nullptr;
    m_state.font = nullptr;
    m_state.bitmap = nullptr;
}

int DeviceContext::Save() {
    m_saved.push_back(m_state);
    Adopt(m_state);
    return static_cast<int>(m_saved.size());
}

bool DeviceContext::Restore(int saved) {
    const int depth = static_cast<int>(m_saved.size());
    const int level = saved < 0 ? depth + saved + 1 : saved;
    if (level < 1 || level > depth)
        return false;
    while (static_cast<int>(m_saved.size()) > level) {
        Release(m_saved.back());
        m_saved.pop_back();
    }
    Release(m_state);
    m_state = std::move(m_saved.back());
    m_saved.pop_back();
    // The restored bitmap is this DC's again, whatever was selected in between.
    if (Bitmap* bitmap = CurrentBitmap(); bitmap != nullptr && !bitmap->IsStock())
        bitmap->SetSelectedInto(static_cast<HDC>(Handle()));
    return true;
}

display::Rect DeviceContext::ToDevice(const RECT& rect) const {
    const POINT topLeft = ToDevice(rect.left, rect.top);
    const POINT bottomRight = ToDevice(rect.right, rect.bottom);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

std::optional<DrawTarget> DeviceContext::Target() const {
    DrawTarget target;
    if (IsMemory()) {
        Bitmap* bitmap = CurrentBitmap();
        if (bitmap == nullptr)
            return std::nullopt;
        target.surface = &bitmap->Pixels();
        target.clip = ClipRegion(target.surface->Bounds());
        target.monochrome = bitmap->IsMonochrome();
    } else {
        const std::optional<WindowCanvas> canvas = GetWindowCanvas(m_hwnd, m_area);
        if (!canvas)
            return std::nullopt;
        target.surface = canvas->surface;
        target.origin = canvas->origin;
        target.window = true;
        target.screenOrigin = canvas->screenOrigin;
        target.clip = ClipRegion(canvas->clip);
        if (target.surface != nullptr)
            target.clip.Intersect(
                target.surface->Bounds().Offset(-target.origin.x, -target.origin.y));
        if (m_paintClip)
            target.clip.Intersect(display::Rect{m_paintClip->left, m_paintClip->top,
                                                m_paintClip->right, m_paintClip->bottom});
    }
    if (m_state.clip)
        target.clip.Intersect(*m_state.clip);
    return target;
}

}  // namespace winapi::gdi
