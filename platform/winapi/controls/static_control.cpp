#include "platform/winapi/controls/static_control.h"

#include <string>

#include <windowsx.h>

#include "platform/winapi/controls/control_class.h"
#include "platform/winapi/controls/control_paint.h"
#include "platform/winapi/system_classes.h"

namespace winapi::controls {
namespace {

constexpr ATOM kStaticAtom = 0x0082;

const SystemClassRegistration kRegistration([] {
    ControlClass<StaticControl>::Register("Static", CS_DBLCLKS | CS_PARENTDC, kStaticAtom);
});

// The DrawText format of each text style.
struct TextLayout {
    DWORD kind;
    UINT format;
};

constexpr TextLayout kTextLayouts[] = {
    {SS_LEFT, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS},
    {SS_CENTER, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS},
    {SS_RIGHT, DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS},
    {SS_LEFTNOWORDWRAP, DT_LEFT | DT_EXPANDTABS},
    {SS_SIMPLE, DT_LEFT | DT_SINGLELINE},
};

const TextLayout* LayoutOf(DWORD kind) {
    for (const TextLayout& layout : kTextLayouts)
        if (layout.kind == kind)
            return &layout;
    return nullptr;
}

// The rectangle and frame styles take the 3-D colours since Windows 95 (black is the 3-D dark
// shadow, grey the 3-D shadow, white the 3-D highlight), and they paint no background: a
// frame leaves its inside to whatever lies beneath it.
struct ShapeLook {
    DWORD kind;
    bool frame;
    int colourIndex;
};

constexpr ShapeLook kShapeLooks[] = {
    {SS_BLACKRECT, false, COLOR_3DDKSHADOW}, {SS_GRAYRECT, false, COLOR_3DSHADOW},
    {SS_WHITERECT, false, COLOR_3DHILIGHT},  {SS_BLACKFRAME, true, COLOR_3DDKSHADOW},
    {SS_GRAYFRAME, true, COLOR_3DSHADOW},    {SS_WHITEFRAME, true, COLOR_3DHILIGHT},
};

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    // GetIconInfo hands over copies of the icon's bitmaps.
    const OwnedObject colourBitmap(info.hbmColor);
    const OwnedObject maskBitmap(info.hbmMask);
    BITMAP bitmap{};
    const bool colour = info.hbmColor != nullptr;
    GetObjectA(colour ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    // A monochrome icon's mask holds the AND and XOR halves one above the other.
    return {bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

}  // namespace

StaticControl::StaticControl(HWND hwnd, const CREATESTRUCTA& create)
    : m_hwnd(hwnd), m_instance(create.hInstance) {}

const MessageTable<StaticControl>& StaticControl::Messages() {
    static const MessageTable<StaticControl> table{
        {WM_CREATE, &StaticControl::OnCreate},
        {WM_NCHITTEST, &StaticControl::OnNcHitTest},
        {WM_ERASEBKGND, &StaticControl::OnEraseBackground},
        {WM_PAINT, &StaticControl::OnPaint},
        {WM_PRINTCLIENT, &StaticControl::OnPaint},
        {WM_SETTEXT, &StaticControl::OnSetText},
        {WM_SETFONT, &StaticControl::OnSetFont},
        {WM_GETFONT, &StaticControl::OnGetFont},
        {WM_ENABLE, &StaticControl::OnEnable},
        {WM_GETDLGCODE, &StaticControl::OnGetDlgCode},
        {STM_SETICON, &StaticControl::OnSetIcon},
        {STM_GETICON, &StaticControl::OnGetIcon},
        {WM_LBUTTONDOWN, &StaticControl::OnLeftButtonDown},
        {WM_LBUTTONDBLCLK, &StaticControl::OnLeftButtonDoubleClick},
    };
    return table;
}

DWORD StaticControl::Style() const {
    return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE));
}

bool StaticControl::ShowsText() const {
    return LayoutOf(Kind()) != nullptr;
}

LRESULT StaticControl::OnCreate(WPARAM, LPARAM createStruct) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(createStruct);
    if (Kind() == SS_ICON && create != nullptr)
        ShowNamedIcon(create->hInstance, create->lpszName);
    return 0;
}

LRESULT StaticControl::OnNcHitTest(WPARAM wParam, LPARAM point) {
    if ((Style() & SS_NOTIFY) == 0)
        return HTTRANSPARENT;
    return DefWindowProcA(m_hwnd, WM_NCHITTEST, wParam, point);
}

// Everything is painted in WM_PAINT, where the parent's brush is known.
LRESULT StaticControl::OnEraseBackground(WPARAM, LPARAM) {
    return TRUE;
}

LRESULT StaticControl::OnPaint(WPARAM givenDc, LPARAM) {
    const PaintDc paint(m_hwnd, givenDc);
    const HDC hdc = paint.Dc();
    if (hdc == nullptr)
        return 0;
    const DWORD kind = Kind();
    if (ShowsText()) {
        PaintText(hdc);
        return 0;
    }
    if (kind == SS_ICON) {
        PaintIcon(hdc);
        return 0;
    }
    for (const ShapeLook& look : kShapeLooks) {
        if (look.kind != kind)
            continue;
        if (look.frame)
            PaintFrame(hdc, look.colourIndex);
        else
            PaintFill(hdc, look.colourIndex);
    }
    return 0;
}

void StaticControl::PaintText(HDC hdc) {
    const SavedDcColours saved(hdc);
    const HBRUSH brush = AskParentForColours(m_hwnd, hdc, WM_CTLCOLORSTATIC);
    RECT client = ClientRect(m_hwnd);
    FillRect(hdc, &client, brush);
    const DWORD style = Style();
    UINT format = LayoutOf(Kind())->format;
    if ((style & SS_CENTERIMAGE) != 0)
        format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    if ((style & SS_NOPREFIX) != 0)
        format |= DT_NOPREFIX;
    // A simple static keeps its colours when disabled.
    if (!IsWindowEnabled(m_hwnd) && Kind() != SS_SIMPLE)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    const std::string text = WindowText(m_hwnd);
    const SelectedObject font(hdc, m_font);
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &client, format);
}

void StaticControl::PaintIcon(HDC hdc) {
    const HBRUSH brush = AskParentForColours(m_hwnd, hdc, WM_CTLCOLORSTATIC);
    const RECT client = ClientRect(m_hwnd);
    FillRect(hdc, &client, brush);
    if (m_icon == nullptr)
        return;
    POINT at{0, 0};
    if ((Style() & SS_CENTERIMAGE) != 0) {
        const SIZE size = IconSize(m_icon);
        at = {(client.right - size.cx) / 2, (client.bottom - size.cy) / 2};
    }
    DrawIcon(hdc, at.x, at.y, m_icon);
}

void StaticControl::PaintFill(HDC hdc, int colourIndex) {
    const RECT client = ClientRect(m_hwnd);
    FillRect(hdc, &client, GetSysColorBrush(colourIndex));
}

void StaticControl::PaintFrame(HDC hdc, int colourIndex) {
    const RECT client = ClientRect(m_hwnd);
    FrameRect(hdc, &client, GetSysColorBrush(colourIndex));
}

LRESULT StaticControl::OnSetText(WPARAM wParam, LPARAM text) {
    // An icon static's text names its icon.
    if (Kind() == SS_ICON) {
        ShowNamedIcon(m_instance, reinterpret_cast<LPCSTR>(text));
        return TRUE;
    }
    const LRESULT result = DefWindowProcA(m_hwnd, WM_SETTEXT, wParam, text);
    if (ShowsText())
        RepaintNow(m_hwnd);
    return result;
}

LRESULT StaticControl::OnSetFont(WPARAM font, LPARAM redraw) {
    m_font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw) != 0)
        RepaintNow(m_hwnd);
    return 0;
}

LRESULT StaticControl::OnGetFont(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_font);
}

LRESULT StaticControl::OnEnable(WPARAM, LPARAM) {
    RepaintNow(m_hwnd);
    return 0;
}

LRESULT StaticControl::OnGetDlgCode(WPARAM, LPARAM) {
    return DLGC_STATIC;
}

LRESULT StaticControl::OnSetIcon(WPARAM icon, LPARAM) {
    if (Kind() != SS_ICON)
        return 0;
    return reinterpret_cast<LRESULT>(SetIcon(reinterpret_cast<HICON>(icon)));
}

LRESULT StaticControl::OnGetIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_icon);
}

LRESULT StaticControl::OnLeftButtonDown(WPARAM, LPARAM) {
    if ((Style() & SS_NOTIFY) != 0)
        NotifyParent(m_hwnd, STN_CLICKED);
    return 0;
}

LRESULT StaticControl::OnLeftButtonDoubleClick(WPARAM, LPARAM) {
    if ((Style() & SS_NOTIFY) != 0)
        NotifyParent(m_hwnd, STN_DBLCLK);
    return 0;
}

void StaticControl::ShowNamedIcon(HINSTANCE instance, LPCSTR name) {
    if (name == nullptr)
        return;
    LPCSTR resource = name;
    if (!IS_INTRESOURCE(name)) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(name);
        if (bytes[0] == 0)
            return;
        if (bytes[0] == 0xFF && bytes[1] != 0)
            resource = MAKEINTRESOURCEA(bytes[1] | (bytes[2] << 8));
    }
    HICON icon = LoadIconA(instance, resource);
    // Not in the module: one of the system's icons, as Win32 looks there next.
    if (icon == nullptr && instance != nullptr)
        icon = LoadIconA(nullptr, resource);
    if (icon != nullptr)
        SetIcon(icon);
}

HICON StaticControl::SetIcon(HICON icon) {
    const HICON old = m_icon;
    m_icon = icon;
    // An icon static takes the icon's size, unless it centres the icon in its own.
    if (icon != nullptr && (Style() & SS_CENTERIMAGE) == 0) {
        const SIZE size = IconSize(icon);
        SetWindowPos(m_hwnd, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RepaintNow(m_hwnd);
    return old;
}

}  // namespace winapi::controls
