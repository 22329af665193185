#include "platform/winapi/dialog/dialog_builder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/dialog/dialog_focus.h"
#include "platform/winapi/dialog/dialog_navigation.h"
#include "platform/winapi/dialog/dialog_state.h"

namespace winapi::dialog {
namespace {

// The template's x for "let the window system choose" (CW_USEDEFAULT in 16 bits).
constexpr std::int16_t kDefaultPosition = -32768;

// A class or title field as CreateWindowExA takes it: a string, or an atom in a pointer.
LPCSTR ClassArgument(const TextOrOrdinal& field, LPCSTR fallback) {
    if (const auto* atom = std::get_if<std::uint16_t>(&field))
        return MAKEINTRESOURCEA(*atom);
    const std::string& name = std::get<std::string>(field);
    return name.empty() ? fallback : name.c_str();
}

bool IsIconStatic(const DialogItem& item) {
    if ((item.style & SS_TYPEMASK) != SS_ICON)
        return false;
    if (const auto* atom = std::get_if<std::uint16_t>(&item.windowClass))
        return *atom == kStaticClassAtom;
    return core::LowerAscii(std::get<std::string>(item.windowClass)) == "static";
}

// lpCreateParams points at the creation data's size word, followed by the data.
std::vector<std::uint8_t> CreationBlock(const DialogItem& item) {
    if (item.creationData.empty())
        return {};
    const auto size = static_cast<std::uint16_t>(item.creationData.size());
    std::vector<std::uint8_t> block{static_cast<std::uint8_t>(size & 0xFF),
                                    static_cast<std::uint8_t>(size >> 8)};
    block.insert(block.end(), item.creationData.begin(), item.creationData.end());
    return block;
}

RECT ScreenArea() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// A top-level dialog is moved, if need be, to lie wholly on the screen, its top-left corner
// winning when it is too big.
POINT KeptOnScreen(POINT at, SIZE size) {
    const RECT area = ScreenArea();
    at.x = std::max<LONG>(area.left, std::min<LONG>(at.x, area.right - size.cx));
    at.y = std::max<LONG>(area.top, std::min<LONG>(at.y, area.bottom - size.cy));
    return at;
}

}  // namespace

DialogBuilder::DialogBuilder(const DialogTemplate& dialogTemplate, const DialogRequest& request)
    : m_template(dialogTemplate),
      m_request(request),
      m_font(ChooseDialogFont(dialogTemplate.font)) {
    // As FindResource does, no module means the program's own.
    if (m_request.instance == nullptr)
        m_request.instance = GetModuleHandleA(nullptr);
}

HWND DialogBuilder::Build() {
    if (m_request.parent != nullptr && !IsWindow(m_request.parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HWND dialog = CreateDialogWindow();
    if (dialog == nullptr)
        return nullptr;
    if (!CreateControls(dialog)) {
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        return nullptr;
    }
    if (!Initialize(dialog))
        return nullptr;
    return dialog;
}

// The template's cx and cy are the client area's size; x and y place the client area too,
// relative to the parent's client area unless DS_ABSALIGN makes them screen coordinates.
RECT DialogBuilder::FrameRect(DWORD style, DWORD exStyle) const {
    const DialogUnits& units = m_font.units;
    RECT frame{0, 0, units.X(m_template.cx), units.Y(m_template.cy)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    POINT at{frame.left, frame.top};
    const bool child = (style & WS_CHILD) != 0;
    if (m_template.x == kDefaultPosition) {
        at = {CW_USEDEFAULT, CW_USEDEFAULT};
    } else if (style & DS_CENTER) {
        const RECT area = ScreenArea();
        at = {(area.left + area.right - size.cx) / 2, (area.top + area.bottom - size.cy) / 2};
    } else if (style & DS_CENTERMOUSE) {
        GetCursorPos(&at);
        at = {at.x - size.cx / 2, at.y - size.cy / 2};
    } else {
        at.x += units.X(m_template.x);
        at.y += units.Y(m_template.y);
        if (!child && !(style & DS_ABSALIGN) && m_request.parent != nullptr)
            ClientToScreen(m_request.parent, &at);
    }
    if (!child && at.x != CW_USEDEFAULT)
        at = KeptOnScreen(at, size);
    return {at.x, at.y, at.x + size.cx, at.y + size.cy};
}

HWND DialogBuilder::CreateDialogWindow() {
    DWORD style = m_template.style | DS_3DLOOK;
    DWORD exStyle = m_template.exStyle;
    if (style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    if (style & DS_CONTROL)
        style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
    if ((style & DS_CONTROL) || !(style & WS_CHILD))
        exStyle |= WS_EX_CONTROLPARENT;
    if (style & DS_SYSMODAL)
        exStyle |= WS_EX_TOPMOST;
    const RECT frame = FrameRect(style, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Shown only once its controls exist and WM_INITDIALOG has been handled.
    HWND dialog = CreateWindowExA(exStyle, ClassArgument(m_template.windowClass, WC_DIALOG),
                                  m_template.title.c_str(), style & ~static_cast<DWORD>(WS_VISIBLE),
                                  frame.left, frame.top, width, height, m_request.parent, nullptr,
                                  m_request.instance, nullptr);
    if (dialog == nullptr)
        return nullptr;
    DialogState& state = DialogStateOf(dialog);
    m_fontHandle = m_font.font.Get();
    state.font = std::move(m_font.font);
    state.units = m_font.units;
    state.disabledOwner = m_request.disabledOwner;
    SetDialogLong(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(m_request.procedure));
    // The dialog procedure hears of the font before any control is made.
    if (m_fontHandle != nullptr)
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontHandle), FALSE);
    return IsWindow(dialog) ? dialog : nullptr;
}

bool DialogBuilder::CreateControls(HWND dialog) {
    for (const DialogItem& item : m_template.items) {
        HWND control = CreateControl(dialog, item);
        if (!IsWindow(dialog))
            return false;
        if (control == nullptr && !(m_template.style & DS_NOFAILCREATE))
            return false;
    }
    return true;
}

HWND DialogBuilder::CreateControl(HWND dialog, const DialogItem& item) {
    const auto* ordinalTitle = std::get_if<std::uint16_t>(&item.title);
    const char* title = ordinalTitle != nullptr ? "" : std::get<std::string>(item.title).c_str();
    const RECT rect = m_font.units.Rect(item.x, item.y, item.cx, item.cy);
    std::vector<std::uint8_t> creation = CreationBlock(item);
    DWORD style = (item.style | WS_CHILD) & ~static_cast<DWORD>(WS_POPUP);
    // Controls of a dialog do not tell it of their creation and destruction.
    DWORD exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
    // Every dialog has the three-dimensional look (DS_3DLOOK): a control's one-pixel border
    // becomes a sunken client edge.
    if (style & WS_BORDER) {
        style &= ~static_cast<DWORD>(WS_BORDER);
        exStyle |= WS_EX_CLIENTEDGE;
    }
    HWND control =
        CreateWindowExA(exStyle, ClassArgument(item.windowClass, ""), title, style, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), m_request.instance,
                        creation.empty() ? nullptr : creation.data());
    if (control == nullptr)
        return nullptr;
    if (m_fontHandle != nullptr)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontHandle), FALSE);
    // An icon static's title names its icon resource.
    if (ordinalTitle != nullptr && IsIconStatic(item)) {
        if (HICON icon = LoadIconA(m_request.instance, MAKEINTRESOURCEA(*ordinalTitle)))
            SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    NoteDefaultButton(dialog, control);
    return control;
}

// The last BS_DEFPUSHBUTTON of the template is the default button; an earlier one loses the
// look.
void DialogBuilder::NoteDefaultButton(HWND dialog, HWND control) {
    if (!IsWindow(control) || !(DialogCodeOf(control) & DLGC_DEFPUSHBUTTON))
        return;
    if (m_defaultButton != nullptr && IsWindow(m_defaultButton))
        SendMessageA(m_defaultButton, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
    m_defaultButton = control;
    DialogStateOf(dialog).defaultId = static_cast<UINT>(GetDlgCtrlID(control)) & 0xFFFF;
}

// WM_INITDIALOG names the control that should get the focus; a TRUE answer asks for it. The
// focus can only move in once the dialog is shown, so the control is also remembered for its
// activation.
bool DialogBuilder::Initialize(HWND dialog) {
    HWND first = FirstFocusCandidate(dialog);
    const LRESULT wantsFocus =
        SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), m_request.initParam);
    if (!IsWindow(dialog))
        return false;
    const DWORD style = m_template.style;
    if (wantsFocus && (!(style & DS_CONTROL) || (style & WS_VISIBLE))) {
        // WM_INITDIALOG may have changed the controls.
        if (HWND focus = FirstFocusCandidate(dialog)) {
            FocusControl(dialog, focus);
            if (!IsWindow(dialog))
                return false;
            if (GetFocus() != focus)
                DialogStateOf(dialog).savedFocus = focus;
        }
    }
    const DialogState* state = FindDialogState(dialog);
    // EndDialog during WM_INITDIALOG: the dialog is never shown.
    if ((style & WS_VISIBLE) && state != nullptr && !state->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        if (IsWindow(dialog))
            UpdateWindow(dialog);
    }
    return IsWindow(dialog);
}

}  // namespace winapi::dialog
