#include "platform/winapi/controls/button_control.h"

#include <algorithm>
#include <string>

#include <windowsx.h>

#include "platform/winapi/controls/classic_look.h"
#include "platform/winapi/controls/control_class.h"
#include "platform/winapi/controls/control_paint.h"
#include "platform/winapi/controls/radio_group.h"
#include "platform/winapi/system_classes.h"

namespace winapi::controls {
namespace {

constexpr ATOM kButtonAtom = 0x0080;

const SystemClassRegistration kRegistration([] {
    ControlClass<ButtonControl>::Register(
        "Button", CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC, kButtonAtom);
});

// How far in from its frame a group box's title starts.
constexpr int kGroupTitleIndent = 8;

struct KindTraits {
    DWORD kind;
    int family;  // ButtonControl::Family, as an int to keep the table outside the class
    UINT highestCheck;
    LRESULT dialogCode;
};

constexpr int kPush = 0;
constexpr int kCheck = 1;
constexpr int kRadio = 2;
constexpr int kGroup = 3;

constexpr KindTraits kKinds[] = {
    {BS_PUSHBUTTON, kPush, BST_UNCHECKED, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
    {BS_DEFPUSHBUTTON, kPush, BST_UNCHECKED, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
    {BS_CHECKBOX, kCheck, BST_CHECKED, DLGC_BUTTON},
    {BS_AUTOCHECKBOX, kCheck, BST_CHECKED, DLGC_BUTTON},
    {BS_RADIOBUTTON, kRadio, BST_CHECKED, DLGC_BUTTON | DLGC_RADIOBUTTON},
    {BS_3STATE, kCheck, BST_INDETERMINATE, DLGC_BUTTON},
    {BS_AUTO3STATE, kCheck, BST_INDETERMINATE, DLGC_BUTTON},
    {BS_GROUPBOX, kGroup, BST_UNCHECKED, DLGC_STATIC},
    {BS_AUTORADIOBUTTON, kRadio, BST_CHECKED, DLGC_BUTTON | DLGC_RADIOBUTTON},
};

// The kinds this layer does not draw on their own (user and owner-drawn buttons) behave as
// push buttons.
constexpr KindTraits kOtherKind{0, kPush, BST_UNCHECKED, DLGC_BUTTON};

const KindTraits& TraitsOf(DWORD kind) {
    for (const KindTraits& traits : kKinds)
        if (traits.kind == kind)
            return traits;
    return kOtherKind;
}

bool ReceivesDoubleClicks(DWORD style) {
    const DWORD kind = style & BS_TYPEMASK;
    return (style & BS_NOTIFY) != 0 || kind == BS_RADIOBUTTON || kind == BS_USERBUTTON ||
           kind == BS_OWNERDRAW;
}

}  // namespace

ButtonControl::ButtonControl(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

const MessageTable<ButtonControl>& ButtonControl::Messages() {
    static const MessageTable<ButtonControl> table{
        {WM_NCHITTEST, &ButtonControl::OnNcHitTest},
        {WM_ERASEBKGND, &ButtonControl::OnEraseBackground},
        {WM_PAINT, &ButtonControl::OnPaint},
        {WM_PRINTCLIENT, &ButtonControl::OnPaint},
        {WM_SETTEXT, &ButtonControl::OnSetText},
        {WM_SETFONT, &ButtonControl::OnSetFont},
        {WM_GETFONT, &ButtonControl::OnGetFont},
        {WM_ENABLE, &ButtonControl::OnEnable},
        {WM_GETDLGCODE, &ButtonControl::OnGetDlgCode},
        {WM_LBUTTONDOWN, &ButtonControl::OnLeftButtonDown},
        {WM_LBUTTONDBLCLK, &ButtonControl::OnLeftButtonDoubleClick},
        {WM_MOUSEMOVE, &ButtonControl::OnMouseMove},
        {WM_LBUTTONUP, &ButtonControl::OnLeftButtonUp},
        {WM_KEYDOWN, &ButtonControl::OnKeyDown},
        {WM_KEYUP, &ButtonControl::OnKeyUp},
        {WM_CAPTURECHANGED, &ButtonControl::OnCaptureChanged},
        {WM_SETFOCUS, &ButtonControl::OnSetFocus},
        {WM_KILLFOCUS, &ButtonControl::OnKillFocus},
        {BM_GETCHECK, &ButtonControl::OnGetCheck},
        {BM_SETCHECK, &ButtonControl::OnSetCheck},
        {BM_GETSTATE, &ButtonControl::OnGetState},
        {BM_SETSTATE, &ButtonControl::OnSetState},
        {BM_SETSTYLE, &ButtonControl::OnSetStyle},
        {BM_CLICK, &ButtonControl::OnClick},
    };
    return table;
}

DWORD ButtonControl::Style() const {
    return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE));
}

ButtonControl::Family ButtonControl::FamilyOf() const {
    return static_cast<Family>(TraitsOf(Kind()).family);
}

// A group box is only a frame: the pointer goes through it to the controls it surrounds.
LRESULT ButtonControl::OnNcHitTest(WPARAM wParam, LPARAM point) {
    if (FamilyOf() == Family::Group)
        return HTTRANSPARENT;
    return DefWindowProcA(m_hwnd, WM_NCHITTEST, wParam, point);
}

LRESULT ButtonControl::OnEraseBackground(WPARAM, LPARAM) {
    return TRUE;
}

LRESULT ButtonControl::OnPaint(WPARAM givenDc, LPARAM) {
    const PaintDc paint(m_hwnd, givenDc);
    const HDC hdc = paint.Dc();
    if (hdc == nullptr)
        return 0;
    const SavedDcColours saved(hdc);
    const SelectedObject font(hdc, m_font);
    switch (const Family family = FamilyOf()) {
        case Family::Push:
            PaintPush(hdc);
            break;
        case Family::Check:
        case Family::Radio:
            PaintCheckOrRadio(hdc, family);
            break;
        case Family::Group:
            PaintGroupBox(hdc);
            break;
    }
    return 0;
}

LRESULT ButtonControl::OnSetText(WPARAM wParam, LPARAM text) {
    const LRESULT result = DefWindowProcA(m_hwnd, WM_SETTEXT, wParam, text);
    RepaintNow(m_hwnd);
    return result;
}

LRESULT ButtonControl::OnSetFont(WPARAM font, LPARAM redraw) {
    m_font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw) != 0)
        RepaintNow(m_hwnd);
    return 0;
}

LRESULT ButtonControl::OnGetFont(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_font);
}

LRESULT ButtonControl::OnEnable(WPARAM, LPARAM) {
    RepaintNow(m_hwnd);
    return 0;
}

LRESULT ButtonControl::OnGetDlgCode(WPARAM, LPARAM) {
    return TraitsOf(Kind()).dialogCode;
}

LRESULT ButtonControl::OnLeftButtonDown(WPARAM, LPARAM) {
    if (FamilyOf() == Family::Group)
        return 0;
    SetCapture(m_hwnd);
    SetFocus(m_hwnd);
    BeginPress();
    return 0;
}

LRESULT ButtonControl::OnLeftButtonDoubleClick(WPARAM wParam, LPARAM point) {
    if (!ReceivesDoubleClicks(Style()))
        return OnLeftButtonDown(wParam, point);
    NotifyParent(m_hwnd, BN_DOUBLECLICKED);
    return 0;
}

LRESULT ButtonControl::OnMouseMove(WPARAM, LPARAM point) {
    if (!m_pressing || GetCapture() != m_hwnd)
        return 0;
    const RECT client = ClientRect(m_hwnd);
    SetPushed(PtInRect(&client, {GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE);
    return 0;
}

LRESULT ButtonControl::OnLeftButtonUp(WPARAM, LPARAM point) {
    const RECT client = ClientRect(m_hwnd);
    EndPress(PtInRect(&client, {GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE);
    return 0;
}

// Space presses the button and its release clicks it; Enter belongs to the dialog manager.
LRESULT ButtonControl::OnKeyDown(WPARAM key, LPARAM) {
    if (key != VK_SPACE || FamilyOf() == Family::Group)
        return 0;
    BeginPress();
    SetCapture(m_hwnd);
    return 0;
}

LRESULT ButtonControl::OnKeyUp(WPARAM key, LPARAM) {
    if (key == VK_SPACE)
        EndPress(true);
    return 0;
}

LRESULT ButtonControl::OnCaptureChanged(WPARAM, LPARAM) {
    if (!m_pressing)
        return 0;
    m_pressing = false;
    SetPushed(false);
    return 0;
}

LRESULT ButtonControl::OnSetFocus(WPARAM, LPARAM) {
    m_focused = true;
    RepaintNow(m_hwnd);
    if ((Style() & BS_NOTIFY) != 0)
        NotifyParent(m_hwnd, BN_SETFOCUS);
    return 0;
}

LRESULT ButtonControl::OnKillFocus(WPARAM, LPARAM) {
    const HWND hwnd = m_hwnd;
    m_focused = false;
    if (m_pressing && GetCapture() == hwnd)
        ReleaseCapture();
    if (!IsWindow(hwnd))
        return 0;
    RepaintNow(hwnd);
    if ((Style() & BS_NOTIFY) != 0)
        NotifyParent(hwnd, BN_KILLFOCUS);
    return 0;
}

LRESULT ButtonControl::OnGetCheck(WPARAM, LPARAM) {
    return m_check;
}

LRESULT ButtonControl::OnSetCheck(WPARAM check, LPARAM) {
    const KindTraits& traits = TraitsOf(Kind());
    if (traits.family != kCheck && traits.family != kRadio)
        return 0;
    // A two-state button shows an indeterminate request as checked.
    const UINT value = std::min(static_cast<UINT>(check), traits.highestCheck);
    // The checked radio button is the group's tab stop, so Tab enters the group there.
    if (traits.family == kRadio) {
        const LONG style = GetWindowLongA(m_hwnd, GWL_STYLE);
        const LONG wanted = value != BST_UNCHECKED ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (wanted != style)
            SetWindowLongA(m_hwnd, GWL_STYLE, wanted);
    }
    if (value == m_check)
        return 0;
    m_check = value;
    RepaintNow(m_hwnd);
    return 0;
}

LRESULT ButtonControl::OnGetState(WPARAM, LPARAM) {
    return static_cast<LRESULT>(m_check | (m_pushed ? BST_PUSHED : 0) |
                                (m_focused ? BST_FOCUS : 0));
}

LRESULT ButtonControl::OnSetState(WPARAM pushed, LPARAM) {
    SetPushed(pushed != 0);
    return 0;
}

// Switches the button's kind (the dialog manager moves the default look between push buttons
// this way) and repaints when asked. Only the kind changes: the other style bits stay.
LRESULT ButtonControl::OnSetStyle(WPARAM style, LPARAM redraw) {
    const auto current = static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE));
    const DWORD wanted =
        (current & ~static_cast<DWORD>(BS_TYPEMASK)) | (static_cast<DWORD>(style) & BS_TYPEMASK);
    if (wanted != current)
        SetWindowLongA(m_hwnd, GWL_STYLE, static_cast<LONG>(wanted));
    if (LOWORD(redraw) != 0)
        RepaintNow(m_hwnd);
    return 0;
}

// A press and a release in the button's corner, as Win32 simulates the click; a disabled
// button never clicks.
LRESULT ButtonControl::OnClick(WPARAM, LPARAM) {
    if (!IsWindowEnabled(m_hwnd))
        return 0;
    const HWND hwnd = m_hwnd;
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    if (IsWindow(hwnd))
        SendMessageA(hwnd, WM_LBUTTONUP, 0, 0);
    return 0;
}

void ButtonControl::BeginPress() {
    m_pressing = true;
    SetPushed(true);
}

void ButtonControl::EndPress(bool releasedOver) {
    if (!m_pressing)
        return;
    const HWND hwnd = m_hwnd;
    m_pressing = false;
    const bool clicked = m_pushed && releasedOver;
    SetPushed(false);
    if (clicked) {
        ApplyAutomaticCheck();
        if (!IsWindow(hwnd))
            return;
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (clicked && IsWindow(hwnd))
        NotifyParent(hwnd, BN_CLICKED);
}

void ButtonControl::SetPushed(bool pushed) {
    if (pushed == m_pushed)
        return;
    m_pushed = pushed;
    RepaintNow(m_hwnd);
}

void ButtonControl::ApplyAutomaticCheck() {
    const HWND hwnd = m_hwnd;
    switch (Kind()) {
        case BS_AUTOCHECKBOX:
            SendMessageA(hwnd, BM_SETCHECK, m_check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED,
                         0);
            return;
        case BS_AUTO3STATE:
            SendMessageA(hwnd, BM_SETCHECK, (m_check + 1) % (BST_INDETERMINATE + 1), 0);
            return;
        case BS_AUTORADIOBUTTON:
            SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
            if (IsWindow(hwnd))
                RadioGroup(hwnd).UncheckAllBut(hwnd);
            return;
        default:
            return;
    }
}

// Push buttons draw in the system colours whatever the parent answers to WM_CTLCOLORBTN: the
// face, highlight and shadow need more than the one brush it returns. The message is still
// sent, as Win32 sends it.
void ButtonControl::PaintPush(HDC hdc) {
    AskParentForColours(m_hwnd, hdc, WM_CTLCOLORBTN);
    RECT face = ClientRect(m_hwnd);
    // The default button wears an extra black ring.
    if (Kind() == BS_DEFPUSHBUTTON) {
        FrameRect(hdc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    if (m_pushed) {
        FrameRect(hdc, &face, GetSysColorBrush(COLOR_3DSHADOW));
        RECT inside = face;
        InflateRect(&inside, -1, -1);
        FillSysColour(hdc, inside, COLOR_BTNFACE);
    } else {
        RECT edge = face;
        DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
    }
    RECT textArea = face;
    InflateRect(&textArea, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    // Pushed, the text sinks with the face.
    if (m_pushed)
        OffsetRect(&textArea, 1, 1);
    const std::string text = WindowText(m_hwnd);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (IsWindowEnabled(m_hwnd)) {
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &textArea, format);
    } else {
        DrawEmbossedText(hdc, text, textArea, format);
    }
    // The focus rectangle lies directly inside the raised edge.
    if (m_focused) {
        RECT focus = face;
        InflateRect(&focus, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        DrawFocusRect(hdc, &focus);
    }
}

// Check boxes, radio buttons and group boxes ask their parent with WM_CTLCOLORSTATIC; the
// brush paints their background and the DC's text colour their text and mark.
void ButtonControl::PaintCheckOrRadio(HDC hdc, Family family) {
    const HBRUSH brush = AskParentForColours(m_hwnd, hdc, WM_CTLCOLORSTATIC);
    const RECT client = ClientRect(m_hwnd);
    FillRect(hdc, &client, brush);
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    const bool textFirst = (Style() & BS_LEFTTEXT) != 0;
    const int glyphLeft = textFirst ? client.right - kCheckGlyphSize : 0;
    const int glyphTop = (client.bottom - kCheckGlyphSize) / 2;
    const GlyphState glyph{m_check, m_pushed, enabled, GetTextColor(hdc)};
    if (family == Family::Radio)
        DrawRadioGlyph(hdc, glyphLeft, glyphTop, glyph);
    else
        DrawCheckGlyph(hdc, glyphLeft, glyphTop, glyph);

    // The text keeps half a digit's width from the glyph, and one pixel more on the side it is
    // aligned to, where the focus rectangle goes.
    SIZE digit{0, 0};
    GetTextExtentPoint32A(hdc, "0", 1, &digit);
    const int gap = digit.cx / 2;
    RECT textArea = client;
    if (textFirst)
        textArea.right -= kCheckGlyphSize + gap;
    else
        textArea.left += kCheckGlyphSize + gap;
    const std::string text = WindowText(m_hwnd);
    if (text.empty())
        return;
    const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    RECT label = textArea;
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &label, format | DT_CALCRECT);
    const int width = label.right - label.left;
    const int height = label.bottom - label.top;
    label.left = textArea.left + 1;
    label.right = label.left + width;
    label.top = textArea.top + (textArea.bottom - textArea.top - height) / 2;
    label.bottom = label.top + height;
    if (!enabled)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &label, format);
    if (!m_focused)
        return;
    // The focus rectangle: the text's own lines, one pixel wider on either side.
    RECT focus{label.left - 1, label.top, label.right + 1, label.bottom};
    IntersectRect(&focus, &focus, &textArea);
    DrawFocusRect(hdc, &focus);
}

// An etched frame whose top runs through the middle of the title; only the title's own strip
// gets the background brush, the inside is left to what lies beneath.
void ButtonControl::PaintGroupBox(HDC hdc) {
    const HBRUSH brush = AskParentForColours(m_hwnd, hdc, WM_CTLCOLORSTATIC);
    const RECT client = ClientRect(m_hwnd);
    TEXTMETRICA metrics{};
    GetTextMetricsA(hdc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
    const std::string text = WindowText(m_hwnd);
    if (text.empty())
        return;
    RECT title{client.left + kGroupTitleIndent, client.top, client.right - kGroupTitleIndent,
               client.top + metrics.tmHeight};
    const UINT format = DT_LEFT | DT_SINGLELINE;
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &title, format | DT_CALCRECT);
    RECT strip = title;
    InflateRect(&strip, 2, 0);
    FillRect(hdc, &strip, brush);
    if (!IsWindowEnabled(m_hwnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &title, format);
}

}  // namespace winapi::controls
