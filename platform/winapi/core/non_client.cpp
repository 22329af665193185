// The classic frame: raised 3-D edges and a caption bar in the active or inactive colour with
// the small icon, the bold title and the boxes the style asks for; the hit-test codes of those
// parts; pressing the boxes, dragging the caption and the keyboard move; the window menu from
// the icon and from Alt+Space.
#include "platform/winapi/core/non_client.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <windowsx.h>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/core/window_menu.h"
#include "platform/winapi/host.h"
#include "platform/winapi/ui/classic_glyphs.h"
#include "platform/winapi/ui/modal_loop.h"
#include "platform/winapi/ui/ui_font.h"

namespace winapi::core {
namespace {

using ui::Glyph;

constexpr int kBoxMargin = 2;  // between a box and the bar's top and right, and close to the pair
constexpr int kIconSize = 16;
constexpr int kKeyboardMoveStep = 8;  // pixels per arrow press in a keyboard move, as in Win32

bool HasCaption(const Window& w) {
    return (w.style & WS_CAPTION) == WS_CAPTION;
}

struct CaptionBox {
    LRESULT hit;
    UINT command;
    Glyph glyph;
    RECT rect;  // window coordinates
    bool enabled;
};

HICON CaptionIcon(HWND hwnd, const Window& w) {
    if (auto icon = reinterpret_cast<HICON>(Send(hwnd, WM_GETICON, ICON_SMALL, 0)))
        return icon;
    if (auto icon = reinterpret_cast<HICON>(Send(hwnd, WM_GETICON, ICON_BIG, 0)))
        return icon;
    return w.windowClass != nullptr ? w.windowClass->icon : nullptr;
}

// Where each part of a window's caption lies, in window coordinates. A modal-frame dialog
// without an icon shows none, and then has no HTSYSMENU part either.
class CaptionLayout {
public:
    CaptionLayout(HWND hwnd, const Window& w) {
        const bool tool = (w.exStyle & WS_EX_TOOLWINDOW) != 0;
        const int edge = NonClientInsets(w.style, w.exStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE |
                                                                                  WS_EX_STATICEDGE))
                             .left;
        const int width = w.windowRect.right - w.windowRect.left;
        m_height = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
        m_bar = {edge, edge, width - edge, edge + m_height - 1};
        if (!(w.style & WS_SYSMENU)) {
            m_title = {m_bar.left + 2, m_bar.top, m_bar.right - 2, m_bar.bottom};
            return;
        }
        if (!tool)
            m_icon = CaptionIcon(hwnd, w);
        const int boxWidth = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
        const int boxHeight = GetSystemMetrics(tool ? SM_CYSMSIZE : SM_CYSIZE) - 4;
        const int top = m_bar.top + kBoxMargin;
        auto boxEndingAt = [&](int right) {
            return RECT{right - boxWidth, top, right, top + boxHeight};
        };
        const RECT close = boxEndingAt(m_bar.right - kBoxMargin);
        m_boxes.push_back({HTCLOSE, SC_CLOSE, Glyph::Close, close, WindowMenuCanClose(hwnd)});
        // Either box brings both, the one the style lacks grayed, as in Win32.
        if (!tool && (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
            const RECT maximize = boxEndingAt(close.left - kBoxMargin);
            const RECT minimize = boxEndingAt(maximize.left);
            m_boxes.push_back({HTMAXBUTTON, SC_MAXIMIZE, Glyph::Maximize, maximize,
                               (w.style & WS_MAXIMIZEBOX) != 0});
            m_boxes.push_back({HTMINBUTTON, SC_MINIMIZE, Glyph::Minimize, minimize,
                               (w.style & WS_MINIMIZEBOX) != 0});
        }
        const int titleLeft = m_icon != nullptr ? IconRect().right + 2 : m_bar.left + 2;
        m_title = {titleLeft, m_bar.top, m_boxes.back().rect.left - kBoxMargin, m_bar.bottom};
    }

    const RECT& Bar() const { return m_bar; }
    HICON Icon() const { return m_icon; }
    RECT IconRect() const {
        return {m_bar.left + 1, m_bar.top + 1, m_bar.left + 1 + kIconSize,
                m_bar.top + 1 + kIconSize};
    }
    const RECT& TitleRect() const { return m_title; }
    const std::vector<CaptionBox>& Boxes() const { return m_boxes; }

    const CaptionBox* Box(LRESULT hit) const {
        for (const CaptionBox& box : m_boxes)
            if (box.hit == hit)
                return &box;
        return nullptr;
    }

    // The caption's part at a window point: the bar with its line below, in columns as Win32
    // divides it (the icon's column, the close box with the gap beside it, each other box).
    std::optional<LRESULT> HitTest(POINT p) const {
        if (p.x < m_bar.left || p.x >= m_bar.right || p.y < m_bar.top ||
            p.y >= m_bar.top + m_height)
            return std::nullopt;
        if (m_icon != nullptr && p.x < m_bar.left + m_height - 1)
            return HTSYSMENU;
        for (const CaptionBox& box : m_boxes) {
            const int left = box.hit == HTCLOSE ? box.rect.left - kBoxMargin : box.rect.left;
            if (p.x >= left && p.x < (box.hit == HTCLOSE ? m_bar.right : box.rect.right))
                return box.hit;
        }
        return HTCAPTION;
    }

    // Where the window menu opens: below the icon, at the caption's left.
    POINT MenuPoint(const Window& w) const {
        return {w.windowRect.left + m_bar.left, w.windowRect.top + m_bar.bottom};
    }

private:
    int m_height = 0;
    RECT m_bar{};
    RECT m_title{};
    HICON m_icon = nullptr;
    std::vector<CaptionBox> m_boxes;
};

// The caption box held down right now, drawn pressed while the pointer is over it.
struct PressedBox {
    HWND hwnd = nullptr;
    LRESULT hit = HTNOWHERE;
};
PressedBox g_pressed;

void DrawBox(HDC hdc, const CaptionBox& box, bool pressed) {
    FillRect(hdc, &box.rect, GetSysColorBrush(COLOR_3DFACE));
    // Caption boxes have the push button's soft edge.
    RECT edge = box.rect;
    DrawEdge(hdc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    const SIZE glyph = ui::GlyphSize(box.glyph);
    const int width = box.rect.right - box.rect.left;
    const int height = box.rect.bottom - box.rect.top;
    int x = box.rect.left + (width - glyph.cx) / 2;
    // The minimise mark sits at the bottom of its box, the others in the middle.
    int y = box.glyph == Glyph::Minimize ? box.rect.bottom - 3 - glyph.cy
                                         : box.rect.top + (height - glyph.cy) / 2;
    if (pressed) {
        ++x;
        ++y;
    }
    if (box.enabled)
        ui::DrawGlyph(hdc, box.glyph, x, y, GetSysColor(COLOR_BTNTEXT));
    else
        ui::DrawEmbossedGlyph(hdc, box.glyph, x, y);
}

bool IsPressed(HWND hwnd, const CaptionBox& box) {
    return g_pressed.hwnd == hwnd && g_pressed.hit == box.hit;
}

void DrawCaption(HWND hwnd, HDC hdc, const Window& w, const CaptionLayout& layout) {
    const bool active = GetActiveWindow() == hwnd;
    const RECT& bar = layout.Bar();
    FillRect(hdc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    const RECT line{bar.left, bar.bottom, bar.right, bar.bottom + 1};
    FillRect(hdc, &line, GetSysColorBrush(COLOR_3DFACE));
    if (layout.Icon() != nullptr) {
        const RECT icon = layout.IconRect();
        DrawIconEx(hdc, icon.left, icon.top, layout.Icon(), kIconSize, kIconSize, 0, nullptr,
                   DI_NORMAL);
    }
    const ui::UiFont font(true);
    const ui::ScopedSelect selected(hdc, font.Handle());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT title = layout.TitleRect();
    DrawTextA(hdc, w.text.c_str(), static_cast<int>(w.text.size()), &title,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    for (const CaptionBox& box : layout.Boxes())
        DrawBox(hdc, box, IsPressed(hwnd, box));
}

// Draws one caption box again at once, as Win32 does while a box is held.
void RedrawBox(HWND hwnd, LRESULT hit) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->minimized || !HasCaption(*w))
        return;
    const CaptionLayout layout(hwnd, *w);
    const CaptionBox* box = layout.Box(hit);
    if (box == nullptr)
        return;
    HDC hdc = GetWindowDC(hwnd);
    if (hdc == nullptr)
        return;
    DrawBox(hdc, *box, IsPressed(hwnd, *box));
    ReleaseDC(hwnd, hdc);
}

LRESULT HitTestAt(HWND hwnd, POINT screen) {
    return Send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
}

// A held caption box: pressed while the pointer is over it; released there, its command.
void TrackBox(HWND hwnd, LRESULT hit) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || !HasCaption(*w))
        return;
    const CaptionLayout layout(hwnd, *w);
    const CaptionBox* box = layout.Box(hit);
    if (box == nullptr || !box->enabled)
        return;
    const UINT command = box->command;
    SetCapture(hwnd);
    g_pressed = {hwnd, hit};
    RedrawBox(hwnd, hit);
    ui::ModalLoop loop([hwnd] { return IsWindow(hwnd) && GetCapture() == hwnd; });
    bool over = true;
    std::optional<POINT> released;
    MSG msg;
    while (loop.NextInput(msg)) {
        if (msg.message == WM_LBUTTONUP) {
            released = msg.pt;
            over = HitTestAt(hwnd, msg.pt) == hit;
            break;
        }
        if (msg.message != WM_MOUSEMOVE)
            continue;
        const bool nowOver = HitTestAt(hwnd, msg.pt) == hit;
        if (nowOver == over)
            continue;
        over = nowOver;
        g_pressed.hit = over ? hit : HTNOWHERE;
        RedrawBox(hwnd, hit);
    }
    g_pressed = {};
    if (GetCapture() == hwnd)
        ReleaseCapture();
    RedrawBox(hwnd, hit);
    if (released && over)
        Send(hwnd, WM_SYSCOMMAND, command, MAKELPARAM(released->x, released->y));
}

// SC_MOVE: the window follows the pointer from where the move began; the arrow keys move the
// pointer, and so the window, 8 px a press. The button's release or Enter ends the move, Esc
// puts the window back. From the keyboard the pointer first jumps to the caption's middle.
void MoveWindowLoop(HWND hwnd, bool byMouse, POINT start) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->minimized || !IsTopLevel(*w))
        return;
    if (byMouse) {
        if (!(GetKeyState(VK_LBUTTON) & 0x8000))
            return;
        // A window system that moves windows itself does it better (and reports Moved).
        if (CurrentBackend().BeginMoveDrag(w->surfaceId, {start.x, start.y}))
            return;
    }
    const RECT startRect = w->windowRect;
    POINT anchor = start;
    if (!byMouse) {
        const int top = HasCaption(*w) ? CaptionLayout(hwnd, *w).Bar().top : 0;
        anchor = {(startRect.left + startRect.right) / 2,
                  startRect.top + top + GetSystemMetrics(SM_CYCAPTION) / 2};
        SetCursorPos(anchor.x, anchor.y);
    }
    SetCapture(hwnd);
    Send(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    auto moveTo = [&](POINT pointer) {
        RECT rect = startRect;
        OffsetRect(&rect, pointer.x - anchor.x, pointer.y - anchor.y);
        Send(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rect));
        SetWindowPos(hwnd, nullptr, rect.left, rect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    struct Arrow {
        WPARAM vk;
        int dx, dy;
    };
    static constexpr Arrow kArrows[] = {{VK_LEFT, -kKeyboardMoveStep, 0},
                                        {VK_RIGHT, kKeyboardMoveStep, 0},
                                        {VK_UP, 0, -kKeyboardMoveStep},
                                        {VK_DOWN, 0, kKeyboardMoveStep}};
    ui::ModalLoop loop([hwnd] { return IsWindow(hwnd) && GetCapture() == hwnd; });
    POINT pointer = anchor;
    bool cancelled = false;
    MSG msg;
    while (loop.NextInput(msg)) {
        if (msg.message == WM_LBUTTONUP || (!byMouse && msg.message == WM_LBUTTONDOWN))
            break;
        if (msg.message == WM_MOUSEMOVE) {
            pointer = msg.pt;
            moveTo(pointer);
            continue;
        }
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            continue;
        if (msg.wParam == VK_RETURN)
            break;
        if (msg.wParam == VK_ESCAPE) {
            cancelled = true;
            break;
        }
        for (const Arrow& arrow : kArrows) {
            if (arrow.vk != msg.wParam)
                continue;
            SetCursorPos(pointer.x + arrow.dx, pointer.y + arrow.dy);
            GetCursorPos(&pointer);
            moveTo(pointer);
        }
    }
    if (cancelled && IsWindow(hwnd))
        SetWindowPos(hwnd, nullptr, startRect.left, startRect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (IsWindow(hwnd))
        Send(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void OpenWindowMenu(HWND hwnd, bool fromIconClick) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return;
    POINT at;
    if (w->minimized || !HasCaption(*w))
        at = {w->windowRect.left, w->windowRect.top};
    else
        at = CaptionLayout(hwnd, *w).MenuPoint(*w);
    if (w->minimized)
        GetCursorPos(&at);
    TrackWindowMenu(hwnd, at, fromIconClick, GetMessageTime());
}

}  // namespace

LRESULT NonClientHitTest(HWND hwnd, POINT screen) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return HTNOWHERE;
    const RECT outer = ScreenWindowRect(*w);
    if (!PtInRect(&outer, screen))
        return HTNOWHERE;
    if (w->minimized)
        return HTCAPTION;
    const RECT client = ScreenClientRect(*w);
    if (PtInRect(&client, screen))
        return HTCLIENT;
    if (HasCaption(*w)) {
        if (const auto hit =
                CaptionLayout(hwnd, *w).HitTest({screen.x - outer.left, screen.y - outer.top}))
            return *hit;
    }
    return HTBORDER;
}

void PaintNonClient(HWND hwnd) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->minimized)
        return;
    const Insets insets = NonClientInsets(w->style, w->exStyle);
    if (insets.left == 0 && insets.top == 0)
        return;
    // The caption's layout asks the window for its icon, before any drawing starts.
    std::optional<CaptionLayout> layout;
    if (HasCaption(*w))
        layout.emplace(hwnd, *w);
    if ((w = PeekWindowRecord(hwnd)) == nullptr)
        return;
    HDC hdc = GetWindowDC(hwnd);
    if (hdc == nullptr)
        return;
    const RECT outer{0, 0, w->windowRect.right - w->windowRect.left,
                     w->windowRect.bottom - w->windowRect.top};
    RECT ring = outer;
    const bool dialogFrame =
        (w->style & (WS_DLGFRAME | WS_THICKFRAME)) || (w->exStyle & WS_EX_DLGMODALFRAME);
    if (dialogFrame) {
        DrawEdge(hdc, &ring, EDGE_RAISED, BF_RECT | BF_ADJUST);
        for (int i = 2; i < insets.left - ((w->exStyle & WS_EX_CLIENTEDGE) ? 2 : 0); ++i) {
            FrameRect(hdc, &ring, GetSysColorBrush(COLOR_BTNFACE));
            InflateRect(&ring, -1, -1);
        }
    } else if (w->style & WS_BORDER) {
        FrameRect(hdc, &ring, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&ring, -1, -1);
    }
    if (layout)
        DrawCaption(hwnd, hdc, *w, *layout);
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        RECT edge = ScreenClientRect(*w);
        const RECT screenOuter = ScreenWindowRect(*w);
        OffsetRect(&edge, -screenOuter.left, -screenOuter.top);
        InflateRect(&edge, 2, 2);
        DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT);
    }
    ReleaseDC(hwnd, hdc);
}

LRESULT HandleNonClientCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
    struct Command {
        WPARAM command;
        void (*run)(HWND hwnd, WPARAM command, LPARAM lParam);
    };
    static constexpr Command kCommands[] = {
        // The low four bits carry HTCAPTION when a press on the caption asks for the move.
        {SC_MOVE,
         [](HWND hwnd, WPARAM command, LPARAM lParam) {
             MoveWindowLoop(hwnd, (command & 0x0F) == HTCAPTION,
                            {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
         }},
        {SC_MOUSEMENU, [](HWND hwnd, WPARAM, LPARAM) { OpenWindowMenu(hwnd, true); }},
        {SC_KEYMENU,
         [](HWND hwnd, WPARAM, LPARAM lParam) {
             if (lParam == ' ')
                 OpenWindowMenu(hwnd, false);
             else if (lParam != 0)
                 MessageBeep(0);  // no menu bar holds the letter
         }},
    };
    for (const Command& entry : kCommands)
        if (entry.command == (command & 0xFFF0))
            entry.run(hwnd, command, lParam);
    return 0;
}

LRESULT HandleNonClientMouse(HWND hwnd, UINT message, WPARAM hit, LPARAM screenPoint) {
    struct Press {
        UINT message;
        WPARAM hit;
        void (*run)(HWND hwnd, WPARAM hit, LPARAM screenPoint);
    };
    static constexpr auto kTrackBox = [](HWND hwnd, WPARAM hit, LPARAM) {
        TrackBox(hwnd, static_cast<LRESULT>(hit));
    };
    static constexpr Press kPresses[] = {
        {WM_NCLBUTTONDOWN, HTCAPTION,
         [](HWND hwnd, WPARAM, LPARAM point) {
             Send(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, point);
         }},
        {WM_NCLBUTTONDOWN, HTSYSMENU,
         [](HWND hwnd, WPARAM, LPARAM point) {
             Send(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, point);
         }},
        {WM_NCLBUTTONDOWN, HTCLOSE, kTrackBox},
        {WM_NCLBUTTONDOWN, HTMINBUTTON, kTrackBox},
        {WM_NCLBUTTONDOWN, HTMAXBUTTON, kTrackBox},
        // A double click on the icon closes the window; on the caption of a fixed-size window
        // it does nothing.
        {WM_NCLBUTTONDBLCLK, HTSYSMENU,
         [](HWND hwnd, WPARAM, LPARAM point) { Send(hwnd, WM_SYSCOMMAND, SC_CLOSE, point); }},
    };
    for (const Press& press : kPresses)
        if (press.message == message && press.hit == hit)
            press.run(hwnd, hit, screenPoint);
    return 0;
}

LRESULT HandleNonClientKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SYSCHAR)
        return 0;
    if (wParam == '\r' && IsIconic(hwnd)) {
        PostTo(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        return 0;
    }
    if (!(HIWORD(lParam) & KF_ALTDOWN) || wParam == 0 || wParam == '\t' || wParam == 0x1B)
        return 0;
    // Alt+Space in a child asks for the window menu of its parent.
    const Window* w = PeekWindowRecord(hwnd);
    if (wParam == ' ' && w != nullptr && (w->style & WS_CHILD) && w->parent != nullptr) {
        Send(w->parent, WM_SYSCHAR, wParam, lParam);
        return 0;
    }
    Send(hwnd, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
    return 0;
}

}  // namespace winapi::core
