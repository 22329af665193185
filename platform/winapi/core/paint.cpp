// Invalid regions, WM_PAINT and the path from a window's backing store to the display.
// A window's invalid part is kept as one bounding rectangle: painting a little more than
// needed is harmless, painting less would not be.
#include <algorithm>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/gdi/window_dc.h"
#include "platform/winapi/host.h"
#include "platform/winapi/surface/window_canvas.h"

namespace winapi::core {
namespace {

RECT ClientBounds(const Window& w) {
    return {0, 0, w.clientRect.right - w.clientRect.left, w.clientRect.bottom - w.clientRect.top};
}

bool NeedsPaint(const Window& w) {
    return (w.update.has_value() || w.frameInvalid) && !w.destroying && IsReallyVisible(w);
}

HWND FindInTree(HWND hwnd) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return nullptr;
    if (NeedsPaint(*w))
        return hwnd;
    if (!w->visible || w->minimized)
        return nullptr;
    for (HWND child : w->children)
        if (HWND found = FindInTree(child))
            return found;
    return nullptr;
}

void PaintNow(HWND hwnd, bool children) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return;
    if (NeedsPaint(*w))
        Send(hwnd, WM_PAINT, 0, 0);
    if (!children || (w = PeekWindowRecord(hwnd)) == nullptr)
        return;
    for (HWND child : std::vector<HWND>(w->children))
        PaintNow(child, true);
}

Window* TopLevelWithSurface(display::SurfaceId id) {
    for (HWND hwnd : SessionState().topLevels)
        if (Window* w = PeekWindowRecord(hwnd); w != nullptr && w->surfaceId == id)
            return w;
    return nullptr;
}

}  // namespace

void InvalidateWindow(HWND hwnd, const RECT* clientRect, bool erase, bool children, bool frame) {
    Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->kind != WindowKind::Normal || !w->visible || w->minimized)
        return;
    RECT rect = ClientBounds(*w);
    if (clientRect != nullptr)
        IntersectRect(&rect, &rect, clientRect);
    if (!IsRectEmpty(&rect)) {
        if (w->update)
            UnionRect(&*w->update, &*w->update, &rect);
        else
            w->update = rect;
        w->eraseOnPaint = w->eraseOnPaint || erase;
    }
    w->frameInvalid = w->frameInvalid || frame;
    if (!children)
        return;
    for (HWND child : std::vector<HWND>(w->children)) {
        const Window* c = PeekWindowRecord(child);
        if (c == nullptr || !c->visible)
            continue;
        RECT overlap;
        if (!IntersectRect(&overlap, &rect, &c->windowRect))
            continue;
        const bool coversFrame = !EqualRect(&overlap, &c->windowRect) || c->clientRect.left != 0 ||
                                 c->clientRect.top != 0;
        OffsetRect(&overlap, -c->windowRect.left - c->clientRect.left,
                   -c->windowRect.top - c->clientRect.top);
        InvalidateWindow(child, &overlap, erase, true, coversFrame);
    }
}

HWND FindWindowToPaint(HWND filter) {
    if (filter != nullptr)
        return FindInTree(filter);
    for (HWND hwnd : std::vector<HWND>(SessionState().topLevels))
        if (HWND found = FindInTree(hwnd))
            return found;
    return nullptr;
}

void ResizeSurface(Window& window) {
    if (!window.surface)
        return;
    window.surface->Resize(window.windowRect.right - window.windowRect.left,
                           window.windowRect.bottom - window.windowRect.top,
                           gdi::PixelFromColorRef(GetSysColor(COLOR_BTNFACE)));
    MarkWholeSurfaceDirty(window);
}

void MarkWholeSurfaceDirty(Window& window) {
    if (window.surface)
        MarkCanvasDirty(window.surface.get(), window.surface->Bounds());
}

void ForgetSurface(display::SurfaceId id) {
    SessionState().dirty.erase(id);
}

}  // namespace winapi::core

namespace winapi {

using namespace core;

std::optional<WindowCanvas> GetWindowCanvas(HWND hwnd, CanvasArea area) {
    if (!HasSession())
        return std::nullopt;
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->kind == WindowKind::Foreign)
        return std::nullopt;
    if (w->kind == WindowKind::Desktop) {
        const display::Rect screen = CurrentBackend().ScreenBounds();
        return WindowCanvas{
            nullptr, {0, 0}, {0, 0, screen.Width(), screen.Height()}, {screen.left, screen.top}};
    }
    const Window* top = PeekWindowRecord(TopLevelOf(hwnd));
    if (top == nullptr || !top->surface)
        return std::nullopt;
    const RECT screenWindow = ScreenWindowRect(*w);
    const RECT screenClient = ScreenClientRect(*w);
    const RECT& dcRect = area == CanvasArea::Client ? screenClient : screenWindow;
    WindowCanvas canvas;
    canvas.surface = top->surface.get();
    canvas.screenOrigin = {dcRect.left, dcRect.top};
    canvas.origin = {dcRect.left - top->windowRect.left, dcRect.top - top->windowRect.top};
    if (!IsReallyVisible(*w) || w->destroying) {
        canvas.clip = {};
        return canvas;
    }
    // Clip to the window itself, then to the client area of every ancestor.
    RECT clip{0, 0, dcRect.right - dcRect.left, dcRect.bottom - dcRect.top};
    for (const Window* a = PeekWindowRecord(w->parent); a != nullptr;
         a = PeekWindowRecord(a->parent)) {
        RECT ancestor = ScreenClientRect(*a);
        OffsetRect(&ancestor, -dcRect.left, -dcRect.top);
        IntersectRect(&clip, &clip, &ancestor);
    }
    canvas.clip = {clip.left, clip.top, clip.right, clip.bottom};
    if (canvas.clip.IsEmpty())
        canvas.clip = {};
    return canvas;
}

void MarkCanvasDirty(const gdi::Surface* surface, const display::Rect& rect) {
    if (surface == nullptr || rect.IsEmpty() || !HasSession())
        return;
    for (HWND hwnd : SessionState().topLevels) {
        const Window* w = PeekWindowRecord(hwnd);
        if (w == nullptr || w->surface.get() != surface)
            continue;
        const display::Rect clipped = rect.Intersect(surface->Bounds());
        if (clipped.IsEmpty())
            return;
        auto& rects = SessionState().dirty[w->surfaceId];
        rects.push_back(clipped);
        // Many small changes become their bounding box: one upload is cheaper than hundreds.
        if (rects.size() > 32) {
            display::Rect box = rects.front();
            for (const display::Rect& r : rects)
                box = {std::min(box.left, r.left), std::min(box.top, r.top),
                       std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
            rects.assign(1, box);
        }
        return;
    }
}

void FlushScreen() {
    if (!HasSession())
        return;
    auto dirty = std::move(SessionState().dirty);
    SessionState().dirty.clear();
    for (auto& [id, rects] : dirty) {
        const Window* w = TopLevelWithSurface(id);
        if (w == nullptr || !w->surface)
            continue;
        CurrentBackend().Present(id, w->surface->View(), rects);
    }
}

}  // namespace winapi

using namespace winapi::core;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE);
}

// bErase is not acted on here: a pending erase stays pending and BeginPaint does it.
BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
    const Window* w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return FALSE;
    if (lpRect != nullptr)
        *lpRect = w->update.value_or(RECT{});
    return w->update.has_value();
}

// This layer has no region objects: without a rectangle the whole window is meant, which
// covers any region a caller could pass, so nothing is left out of the repaint.
BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN, UINT flags) {
    if (hWnd == nullptr || hWnd == GetDesktopWindow()) {
        // The whole screen: every top-level window.
        for (HWND top : std::vector<HWND>(SessionState().topLevels))
            RedrawWindow(top, nullptr, nullptr, flags | RDW_ALLCHILDREN | RDW_FRAME);
        return TRUE;
    }
    Window* w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return FALSE;
    const bool children =
        (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (flags & RDW_INVALIDATE)
        InvalidateWindow(hWnd, lprcUpdate, (flags & RDW_ERASE) != 0, children,
                         (flags & RDW_FRAME) != 0);
    if (flags & RDW_VALIDATE) {
        RECT bounds{0, 0, w->clientRect.right - w->clientRect.left,
                    w->clientRect.bottom - w->clientRect.top};
        RECT area = bounds;
        if (lprcUpdate != nullptr)
            IntersectRect(&area, &bounds, lprcUpdate);
        RECT remaining{};
        if (w->update && lprcUpdate != nullptr) {
            RECT overlap;
            IntersectRect(&overlap, &*w->update, &area);
            if (!EqualRect(&overlap, &*w->update))
                remaining = *w->update;
        }
        if (IsRectEmpty(&remaining)) {
            w->update.reset();
            w->eraseOnPaint = false;
        }
        if (flags & RDW_NOFRAME)
            w->frameInvalid = false;
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        PaintNow(hWnd, children);
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    if (FindWindowRecord(hWnd) == nullptr)
        return FALSE;
    return RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Window* w = FindWindowRecord(hWnd);
    if (w == nullptr || lpPaint == nullptr)
        return nullptr;
    const bool caretTaken = SuspendCaretForPaint(hWnd);
    const bool frame = w->frameInvalid;
    const bool erase = w->eraseOnPaint;
    const RECT update = w->update.value_or(RECT{});
    w->update.reset();
    w->eraseOnPaint = false;
    w->frameInvalid = false;
    if (frame) {
        Send(hWnd, WM_NCPAINT, 1, 0);
        if (PeekWindowRecord(hWnd) == nullptr)
            return nullptr;
    }
    HDC hdc = winapi::gdi::OpenWindowDc(hWnd, winapi::CanvasArea::Client, update);
    *lpPaint = {};
    lpPaint->hdc = hdc;
    lpPaint->rcPaint = update;
    lpPaint->fErase = FALSE;
    lpPaint->fRestore = caretTaken;
    if (erase && hdc != nullptr)
        lpPaint->fErase = Send(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
    return hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
    if (lpPaint != nullptr && lpPaint->fRestore)
        ResumeCaretAfterPaint();
    if (lpPaint == nullptr || lpPaint->hdc == nullptr)
        return TRUE;
    winapi::gdi::CloseWindowDc(lpPaint->hdc);
    return TRUE;
}
