#include "platform/winapi/controls/edit_control.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/system_classes.h"
#include "platform/winapi/utf8.h"

namespace winapi::controls {
namespace {

constexpr ATOM kEditAtom = 0x0081;
constexpr int kCaretWidth = 1;
constexpr std::size_t kSingleLineLimit = 0x7FFFFFFE;
constexpr std::size_t kMultilineLimit = 0xFFFFFFFF;

bool ShiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}
bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

// The clipboard, open for as long as this lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (m_open)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

// What a paste puts into the text: a single-line edit takes the first line only, as Win32's
// does; a multiline one takes line breaks of every convention as its own "\r\n".
std::string PastedText(std::string text, bool multiline) {
    if (!multiline) {
        const std::size_t lineBreak = text.find_first_of("\r\n");
        if (lineBreak != std::string::npos)
            text.resize(lineBreak);
        return text;
    }
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            result += "\r\n";
        } else {
            result += text[i];
        }
    }
    return result;
}

// The longest start of text, cut between whole characters (and whole line breaks), that
// makes accepts true; accepts must hold for every shorter start when it holds for a longer.
template <typename Accepts>
std::string LongestAccepted(std::string_view text, Accepts accepts) {
    std::vector<std::size_t> cuts{0};
    for (std::size_t at = 0; at < text.size();) {
        at += text.compare(at, 2, "\r\n") == 0 ? 2 : DecodeUtf8(text, at).length;
        cuts.push_back(at);
    }
    std::size_t low = 0;
    std::size_t high = cuts.size() - 1;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (accepts(text.substr(0, cuts[middle])))
            low = middle;
        else
            high = middle - 1;
    }
    return std::string(text.substr(0, cuts[low]));
}

void RegisterEditClass() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_PARENTDC;
    wc.lpfnWndProc = &EditControl::WindowProc;
    wc.cbWndExtra = sizeof(EditControl*);
    wc.lpszClassName = "Edit";
    core::RegisterSystemClass(wc, kEditAtom);
}

const SystemClassRegistration kRegistration(&RegisterEditClass);

}  // namespace

const EditControl::Route EditControl::kRoutes[] = {
    {WM_CREATE, &EditControl::OnCreate},
    {WM_PAINT, &EditControl::OnPaint},
    {WM_ERASEBKGND, &EditControl::OnEraseBackground},
    {WM_SETTEXT, &EditControl::OnSetText},
    {WM_GETTEXT, &EditControl::OnGetText},
    {WM_GETTEXTLENGTH, &EditControl::OnGetTextLength},
    {WM_SETFONT, &EditControl::OnSetFont},
    {WM_GETFONT, &EditControl::OnGetFont},
    {WM_SIZE, &EditControl::OnSize},
    {WM_STYLECHANGED, &EditControl::OnStyleChanged},
    {WM_ENABLE, &EditControl::OnEnable},
    {WM_SETFOCUS, &EditControl::OnSetFocus},
    {WM_KILLFOCUS, &EditControl::OnKillFocus},
    {WM_GETDLGCODE, &EditControl::OnGetDlgCode},
    {WM_KEYDOWN, &EditControl::OnKeyDown},
    {WM_CHAR, &EditControl::OnChar},
    {WM_LBUTTONDOWN, &EditControl::OnLButtonDown},
    {WM_LBUTTONDBLCLK, &EditControl::OnLButtonDoubleClick},
    {WM_MOUSEMOVE, &EditControl::OnMouseMove},
    {WM_LBUTTONUP, &EditControl::OnLButtonUp},
    {WM_CAPTURECHANGED, &EditControl::OnCaptureChanged},
    {WM_COPY, &EditControl::OnCopy},
    {WM_CUT, &EditControl::OnCut},
    {WM_PASTE, &EditControl::OnPaste},
    {WM_CLEAR, &EditControl::OnClear},
    {WM_UNDO, &EditControl::OnUndo},
    {EM_UNDO, &EditControl::OnUndo},
    {EM_GETSEL, &EditControl::OnGetSel},
    {EM_SETSEL, &EditControl::OnSetSel},
    {EM_REPLACESEL, &EditControl::OnReplaceSel},
    {EM_SCROLLCARET, &EditControl::OnScrollCaret},
    {EM_LIMITTEXT, &EditControl::OnLimitText},
    {EM_GETLIMITTEXT, &EditControl::OnGetLimitText},
    {EM_SETREADONLY, &EditControl::OnSetReadOnly},
    {EM_GETMODIFY, &EditControl::OnGetModify},
    {EM_SETMODIFY, &EditControl::OnSetModify},
    {EM_CANUNDO, &EditControl::OnCanUndo},
    {EM_GETLINECOUNT, &EditControl::OnGetLineCount},
    {EM_GETRECT, &EditControl::OnGetRect},
    {EM_GETFIRSTVISIBLELINE, &EditControl::OnGetFirstVisibleLine},
};

const EditControl::KeyRoute EditControl::kKeys[] = {
    {VK_LEFT, &EditControl::MoveLeft},
    {VK_RIGHT, &EditControl::MoveRight},
    {VK_UP, &EditControl::MoveUp},
    {VK_DOWN, &EditControl::MoveDown},
    {VK_PRIOR, &EditControl::PageUp},
    {VK_NEXT, &EditControl::PageDown},
    {VK_HOME, &EditControl::MoveHome},
    {VK_END, &EditControl::MoveEnd},
    {VK_DELETE, &EditControl::DeleteForward},
    {VK_INSERT, &EditControl::CopyOrPaste},
    {VK_RETURN, &EditControl::PressReturn},
    {VK_ESCAPE, &EditControl::PressEscape},
};

// Win32 edits take their editing shortcuts as the control characters the keys type.
const EditControl::KeyRoute EditControl::kControlCharacters[] = {
    {0x01, &EditControl::SelectAll},    {0x03, &EditControl::SendCopy},
    {'\b', &EditControl::Backspace},    {'\t', &EditControl::TypeTab},
    {'\n', &EditControl::TypeLineFeed}, {'\r', &EditControl::TypeReturn},
    {0x16, &EditControl::SendPaste},    {0x18, &EditControl::SendCut},
    {0x1A, &EditControl::SendUndo},
};

EditControl::EditControl(HWND hwnd, HWND parent) : m_hwnd(hwnd), m_parent(parent) {}

LRESULT CALLBACK EditControl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* edit = reinterpret_cast<EditControl*>(GetWindowLongPtrA(hwnd, 0));
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto created =
            std::make_unique<EditControl>(hwnd, cs != nullptr ? cs->hwndParent : nullptr);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(created.release()));
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (edit == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const std::unique_ptr<EditControl> gone(edit);
        SetWindowLongPtrA(hwnd, 0, 0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return edit->Handle(message, wParam, lParam);
}

LRESULT EditControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const Route& route : kRoutes)
        if (route.message == message)
            return (this->*route.handler)(wParam, lParam);
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

DWORD EditControl::Style() const {
    return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE));
}

// --- Notifications, caret and drawing -------------------------------------------------------

bool EditControl::Notify(WORD code) {
    const HWND hwnd = m_hwnd;
    if (m_parent != nullptr && IsWindow(m_parent))
        SendMessageA(m_parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                     reinterpret_cast<LPARAM>(hwnd));
    return IsWindow(hwnd) != FALSE;
}

void EditControl::UpdateCaret() {
    if (!m_focused)
        return;
    const POINT at = m_view.PointOf(m_text.Caret());
    SetCaretPos(at.x, at.y);
}

void EditControl::Invalidate() {
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void EditControl::ConfigureView() {
    const DWORD style = Style();
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_EXSTYLE));
    EditLayoutStyle layout;
    layout.multiline = (style & ES_MULTILINE) != 0;
    layout.autoHScroll = (style & ES_AUTOHSCROLL) != 0;
    layout.autoVScroll = (style & ES_AUTOVSCROLL) != 0;
    layout.bordered = (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE);
    layout.alignment = (style & ES_RIGHT) ? ES_RIGHT : (style & ES_CENTER) ? ES_CENTER : ES_LEFT;
    m_view.SetStyle(layout);
    RECT client{};
    GetClientRect(m_hwnd, &client);
    m_view.SetClientRect(client);
    m_view.Layout(m_text.Text());
}

void EditControl::SelectionChanged() {
    m_view.ScrollToShow(m_text.Caret());
    UpdateCaret();
    Invalidate();
}

void EditControl::MoveCaretTo(std::size_t position) {
    m_text.MoveCaret(position, ShiftDown());
    SelectionChanged();
}

// Win32's order: EN_UPDATE once the text is laid out, the new text on the screen, then
// EN_CHANGE.
void EditControl::Changed() {
    m_view.Layout(m_text.Text());
    m_view.ScrollToShow(m_text.Caret());
    UpdateCaret();
    const HWND hwnd = m_hwnd;
    if (!Notify(EN_UPDATE))
        return;
    Invalidate();
    UpdateWindow(hwnd);
    if (!IsWindow(hwnd))
        return;
    Notify(EN_CHANGE);
}

bool EditControl::Replace(std::string_view text, UndoMode mode) {
    const std::size_t start = m_text.SelectionStart();
    const std::size_t end = m_text.SelectionEnd();
    const std::size_t kept = m_text.Size() - (end - start);
    const std::string& current = m_text.Text();
    auto candidate = [&](std::string_view insert) {
        std::string result;
        result.reserve(kept + insert.size());
        result.append(current, 0, start).append(insert).append(current, end);
        return result;
    };
    auto accepts = [&](std::string_view insert) {
        return kept + insert.size() <= m_limit && m_view.Fits(candidate(insert));
    };
    std::string insert(text);
    bool cut = false;
    if (!accepts(insert)) {
        insert = LongestAccepted(insert, accepts);
        cut = true;
    }
    if (cut && !Notify(EN_MAXTEXT))
        return false;
    if (insert.empty() && start == end)
        return true;
    m_text.ReplaceSelection(insert, mode);
    m_modified = true;
    const HWND hwnd = m_hwnd;
    Changed();
    return IsWindow(hwnd) != FALSE;
}

void EditControl::TypeText(std::string text) {
    const DWORD style = Style();
    if (style & ES_READONLY)
        return;
    if ((style & ES_NUMBER) &&
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    for (char& c : text) {
        if ((style & ES_UPPERCASE) && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if ((style & ES_LOWERCASE) && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    Replace(text, UndoMode::Merge);
}

HBRUSH EditControl::PrepareColours(HDC dc) {
    // Win32 asks the parent with WM_CTLCOLORSTATIC for an edit the user cannot change.
    const bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
    const UINT message = (IsReadOnly() || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HBRUSH brush = nullptr;
    if (m_parent != nullptr && IsWindow(m_parent))
        brush = reinterpret_cast<HBRUSH>(SendMessageA(
            m_parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hwnd)));
    if (brush == nullptr)
        brush = reinterpret_cast<HBRUSH>(DefWindowProcA(
            m_hwnd, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hwnd)));
    if (!enabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    return brush;
}

std::string EditControl::ClipboardText() {
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return {};
    const OpenedClipboard clipboard(m_hwnd);
    if (!clipboard.IsOpen())
        return {};
    HANDLE data = GetClipboardData(CF_TEXT);
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes == nullptr)
        return {};
    std::string text(bytes, strnlen(bytes, GlobalSize(data)));
    GlobalUnlock(data);
    return text;
}

// --- Messages --------------------------------------------------------------------------------

LRESULT EditControl::OnCreate(WPARAM, LPARAM lParam) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        m_text.Reset(cs->lpszName);
    m_limit = 32767;  // Win32's documented starting limit
    ConfigureView();
    return 0;
}

LRESULT EditControl::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    if (dc != nullptr) {
        HBRUSH brush = PrepareColours(dc);
        RECT client{};
        GetClientRect(m_hwnd, &client);
        FillRect(dc, &client, brush);
        HGDIOBJ oldFont = m_font != nullptr ? SelectObject(dc, m_font) : nullptr;
        const RECT& format = m_view.FormatRect();
        IntersectClipRect(dc, format.left, format.top, format.right, format.bottom);
        const bool showSelection = m_focused || (Style() & ES_NOHIDESEL);
        m_view.Paint(dc, m_text.Text(), m_text.SelectionStart(), m_text.SelectionEnd(),
                     showSelection);
        if (oldFont != nullptr)
            SelectObject(dc, oldFont);
    }
    EndPaint(m_hwnd, &ps);
    return 0;
}

// WM_PAINT fills the whole client area itself, in the parent's brush.
LRESULT EditControl::OnEraseBackground(WPARAM, LPARAM) {
    return 1;
}

// Win32: the new text replaces all, the caret goes to the start, the text counts as unmodified
// and cannot be undone; only a single-line edit tells its parent.
LRESULT EditControl::OnSetText(WPARAM, LPARAM lParam) {
    const auto* text = reinterpret_cast<LPCSTR>(lParam);
    m_text.Reset(text != nullptr ? text : "");
    m_modified = false;
    m_partialCharacter.clear();
    m_view.Layout(m_text.Text());
    m_view.ResetScroll();
    m_view.ScrollToShow(0);
    UpdateCaret();
    Invalidate();
    if (!IsMultiline() && Notify(EN_UPDATE))
        Notify(EN_CHANGE);
    return TRUE;
}

// Copies at most size - 1 bytes and never splits a character.
LRESULT EditControl::OnGetText(WPARAM size, LPARAM lParam) {
    auto* buffer = reinterpret_cast<LPSTR>(lParam);
    if (buffer == nullptr || size == 0)
        return 0;
    const std::string& text = m_text.Text();
    const std::size_t count = Utf8FittingLength(text, size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT EditControl::OnGetTextLength(WPARAM, LPARAM) {
    return static_cast<LRESULT>(m_text.Size());
}

LRESULT EditControl::OnSetFont(WPARAM wParam, LPARAM lParam) {
    m_font = reinterpret_cast<HFONT>(wParam);
    m_view.SetFont(m_font);
    ConfigureView();
    m_view.ScrollToShow(m_text.Caret());
    if (m_focused) {
        CreateCaret(m_hwnd, nullptr, kCaretWidth, m_view.LineHeight());
        UpdateCaret();
        ShowCaret(m_hwnd);
    }
    if (LOWORD(lParam))
        Invalidate();
    return 0;
}

LRESULT EditControl::OnGetFont(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_font);
}

LRESULT EditControl::OnSize(WPARAM, LPARAM) {
    ConfigureView();
    SelectionChanged();
    return 0;
}

LRESULT EditControl::OnStyleChanged(WPARAM, LPARAM) {
    ConfigureView();
    SelectionChanged();
    return 0;
}

LRESULT EditControl::OnEnable(WPARAM, LPARAM) {
    Invalidate();
    return 0;
}

LRESULT EditControl::OnSetFocus(WPARAM, LPARAM) {
    m_focused = true;
    CreateCaret(m_hwnd, nullptr, kCaretWidth, m_view.LineHeight());
    UpdateCaret();
    ShowCaret(m_hwnd);
    Invalidate();
    Notify(EN_SETFOCUS);
    return 0;
}

LRESULT EditControl::OnKillFocus(WPARAM, LPARAM) {
    m_focused = false;
    m_partialCharacter.clear();
    DestroyCaret();
    Invalidate();
    Notify(EN_KILLFOCUS);
    return 0;
}

// Multiline edits want every key, Enter, Tab and Esc included, as Win32's do.
LRESULT EditControl::OnGetDlgCode(WPARAM, LPARAM) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (IsMultiline())
        code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT EditControl::OnKeyDown(WPARAM key, LPARAM) {
    for (const KeyRoute& route : kKeys)
        if (route.key == static_cast<int>(key)) {
            (this->*route.action)();
            break;
        }
    return 0;
}

// In the A world a character beyond ASCII arrives as one WM_CHAR per UTF-8 byte; the bytes are
// gathered until the character is whole. Control characters other than the editing ones are
// ignored.
LRESULT EditControl::OnChar(WPARAM code, LPARAM) {
    if (code > 0xFF)
        return 0;
    const auto byte = static_cast<unsigned char>(code);
    if (byte >= 0x80) {
        if (byte >= 0xC0)
            m_partialCharacter.clear();
        else if (m_partialCharacter.empty())
            return 0;  // a continuation byte whose lead never came
        m_partialCharacter.push_back(static_cast<char>(byte));
        const Utf8Character character = DecodeUtf8(m_partialCharacter, 0);
        if (character.wellFormed) {
            TypeText(std::exchange(m_partialCharacter, std::string()));
        } else if (character.length < m_partialCharacter.size() ||
                   Utf8LengthFromLead(static_cast<unsigned char>(m_partialCharacter[0])) == 0) {
            m_partialCharacter.clear();  // bytes that are not UTF-8 type nothing
        }
        return 0;
    }
    m_partialCharacter.clear();
    if (byte < 0x20 || byte == 0x7F) {
        for (const KeyRoute& route : kControlCharacters)
            if (route.key == byte) {
                (this->*route.action)();
                break;
            }
        return 0;
    }
    TypeText(std::string(1, static_cast<char>(byte)));
    return 0;
}

LRESULT EditControl::OnLButtonDown(WPARAM keys, LPARAM lParam) {
    const HWND hwnd = m_hwnd;
    if (!m_focused) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
    }
    m_dragging = true;
    SetCapture(hwnd);
    m_text.MoveCaret(m_view.PositionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}),
                     (keys & MK_SHIFT) != 0);
    SelectionChanged();
    return 0;
}

LRESULT EditControl::OnLButtonDoubleClick(WPARAM, LPARAM lParam) {
    const HWND hwnd = m_hwnd;
    if (!m_focused) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
    }
    const auto [start, end] =
        m_text.WordAt(m_view.PositionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
    m_text.Select(start, end);
    SelectionChanged();
    return 0;
}

LRESULT EditControl::OnMouseMove(WPARAM, LPARAM lParam) {
    if (!m_dragging || GetCapture() != m_hwnd)
        return 0;
    m_text.MoveCaret(m_view.PositionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), true);
    SelectionChanged();
    return 0;
}

LRESULT EditControl::OnLButtonUp(WPARAM, LPARAM) {
    if (!m_dragging)
        return 0;
    m_dragging = false;
    if (GetCapture() == m_hwnd)
        ReleaseCapture();
    return 0;
}

LRESULT EditControl::OnCaptureChanged(WPARAM, LPARAM) {
    m_dragging = false;
    return 0;
}

// Win32 never copies out of a password edit, and copies nothing for an empty selection.
LRESULT EditControl::OnCopy(WPARAM, LPARAM) {
    const std::string_view selected = m_text.SelectedText();
    if (selected.empty() || (Style() & ES_PASSWORD))
        return 0;
    const OpenedClipboard clipboard(m_hwnd);
    if (!clipboard.IsOpen())
        return 0;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, selected.size() + 1);
    auto* bytes = static_cast<char*>(GlobalLock(block));
    if (bytes == nullptr) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(bytes, selected.data(), selected.size());
    bytes[selected.size()] = '\0';
    GlobalUnlock(block);
    // The clipboard offers CF_UNICODETEXT from CF_TEXT by itself, as Win32's synthesises it.
    if (SetClipboardData(CF_TEXT, block) == nullptr)
        GlobalFree(block);
    return 0;
}

LRESULT EditControl::OnCut(WPARAM, LPARAM) {
    OnCopy(0, 0);
    return OnClear(0, 0);
}

LRESULT EditControl::OnPaste(WPARAM, LPARAM) {
    if (IsReadOnly())
        return 0;
    const std::string text = PastedText(ClipboardText(), IsMultiline());
    if (!text.empty())
        Replace(text, UndoMode::Separate);
    return 0;
}

LRESULT EditControl::OnClear(WPARAM, LPARAM) {
    if (IsReadOnly() || !m_text.HasSelection())
        return 0;
    Replace("", UndoMode::Separate);
    return 0;
}

// Win32: always TRUE for a single-line edit, whether undo succeeded for a multiline one.
LRESULT EditControl::OnUndo(WPARAM, LPARAM) {
    const LRESULT result = (m_text.CanUndo() || !IsMultiline()) ? TRUE : FALSE;
    if (!m_text.Undo())
        return result;
    m_modified = true;
    Changed();
    return result;
}

LRESULT EditControl::OnGetSel(WPARAM startOut, LPARAM endOut) {
    const std::size_t start = m_text.SelectionStart();
    const std::size_t end = m_text.SelectionEnd();
    if (auto* p = reinterpret_cast<DWORD*>(startOut))
        *p = static_cast<DWORD>(start);
    if (auto* p = reinterpret_cast<DWORD*>(endOut))
        *p = static_cast<DWORD>(end);
    if (start > 0xFFFF || end > 0xFFFF)
        return -1;
    return MAKELRESULT(start, end);
}

// The start is the anchor and the end the caret, in either order. A start of -1 removes the
// selection where the caret is; any other negative value stands for the end of the text.
LRESULT EditControl::OnSetSel(WPARAM startIn, LPARAM endIn) {
    const int start = static_cast<int>(startIn);
    const int end = static_cast<int>(endIn);
    if (start == -1) {
        m_text.Select(m_text.Caret(), m_text.Caret());
    } else {
        auto position = [&](int value) {
            return value < 0 ? m_text.Size() : static_cast<std::size_t>(value);
        };
        m_text.Select(position(start), position(end));
    }
    UpdateCaret();
    Invalidate();
    return 0;
}

LRESULT EditControl::OnReplaceSel(WPARAM canUndo, LPARAM lParam) {
    const auto* text = reinterpret_cast<LPCSTR>(lParam);
    Replace(text != nullptr ? text : "", canUndo ? UndoMode::Separate : UndoMode::Forget);
    return 0;
}

LRESULT EditControl::OnScrollCaret(WPARAM, LPARAM) {
    SelectionChanged();
    return TRUE;
}

LRESULT EditControl::OnLimitText(WPARAM limit, LPARAM) {
    const std::size_t largest = IsMultiline() ? kMultilineLimit : kSingleLineLimit;
    m_limit = limit == 0 ? largest : std::min<std::size_t>(limit, largest);
    return 0;
}

LRESULT EditControl::OnGetLimitText(WPARAM, LPARAM) {
    return static_cast<LRESULT>(m_limit);
}

LRESULT EditControl::OnSetReadOnly(WPARAM readOnly, LPARAM) {
    const DWORD style = Style();
    SetWindowLongA(m_hwnd, GWL_STYLE,
                   static_cast<LONG>(readOnly ? style | ES_READONLY : style & ~ES_READONLY));
    Invalidate();
    return TRUE;
}

LRESULT EditControl::OnGetModify(WPARAM, LPARAM) {
    return m_modified ? TRUE : FALSE;
}

LRESULT EditControl::OnSetModify(WPARAM modified, LPARAM) {
    m_modified = modified != 0;
    return 0;
}

LRESULT EditControl::OnCanUndo(WPARAM, LPARAM) {
    return m_text.CanUndo() ? TRUE : FALSE;
}

LRESULT EditControl::OnGetLineCount(WPARAM, LPARAM) {
    return IsMultiline() ? static_cast<LRESULT>(m_view.LineCount()) : 1;
}

LRESULT EditControl::OnGetRect(WPARAM, LPARAM lParam) {
    if (auto* rect = reinterpret_cast<RECT*>(lParam))
        *rect = m_view.FormatRect();
    return 0;
}

// Win32: the first visible line of a multiline edit, the first visible character of a
// single-line one.
LRESULT EditControl::OnGetFirstVisibleLine(WPARAM, LPARAM) {
    return static_cast<LRESULT>(IsMultiline() ? m_view.FirstVisibleLine()
                                              : m_view.FirstVisiblePosition());
}

// --- Keys --------------------------------------------------------------------------------------

void EditControl::MoveLeft() {
    const std::size_t caret = m_text.Caret();
    MoveCaretTo(ControlDown() ? m_text.PreviousWord(caret) : m_text.PreviousCharacter(caret));
}

void EditControl::MoveRight() {
    const std::size_t caret = m_text.Caret();
    MoveCaretTo(ControlDown() ? m_text.NextWord(caret) : m_text.NextCharacter(caret));
}

// In a single-line edit the vertical arrows move as the horizontal ones do.
void EditControl::MoveUp() {
    if (!IsMultiline())
        return MoveLeft();
    const std::size_t caret = m_text.Caret();
    MoveCaretTo(m_view.PositionOnLine(caret, -1, m_view.PointOf(caret).x));
}

void EditControl::MoveDown() {
    if (!IsMultiline())
        return MoveRight();
    const std::size_t caret = m_text.Caret();
    MoveCaretTo(m_view.PositionOnLine(caret, 1, m_view.PointOf(caret).x));
}

void EditControl::PageUp() {
    if (!IsMultiline())
        return;
    const std::size_t caret = m_text.Caret();
    MoveCaretTo(m_view.PositionOnLine(caret, -m_view.VisibleLineCount(), m_view.PointOf(caret).x));
}

void EditControl::PageDown() {
    if (!IsMultiline())
        return;
    const std::size_t caret = m_text.Caret();
    MoveCaretTo(m_view.PositionOnLine(caret, m_view.VisibleLineCount(), m_view.PointOf(caret).x));
}

void EditControl::MoveHome() {
    MoveCaretTo(ControlDown() ? 0 : m_view.Line(m_view.LineOf(m_text.Caret())).start);
}

void EditControl::MoveEnd() {
    MoveCaretTo(ControlDown() ? m_text.Size() : m_view.Line(m_view.LineOf(m_text.Caret())).end);
}

// Shift+Delete cuts, as in Win32.
void EditControl::DeleteForward() {
    if (IsReadOnly())
        return;
    if (ShiftDown() && !ControlDown())
        return SendCut();
    if (m_text.HasSelection()) {
        Replace("", UndoMode::Separate);
        return;
    }
    const std::size_t caret = m_text.Caret();
    if (caret == m_text.Size())
        return;
    m_text.Select(caret, m_text.NextCharacter(caret));
    Replace("", UndoMode::Merge);
}

void EditControl::CopyOrPaste() {
    if (ControlDown())
        return SendCopy();
    if (ShiftDown())
        SendPaste();
}

// A multiline edit without ES_WANTRETURN passes Enter on to its dialog's default button;
// Ctrl+Enter still breaks the line.
void EditControl::PressReturn() {
    if (!IsMultiline() || (Style() & ES_WANTRETURN) || ControlDown() || m_parent == nullptr)
        return;
    const LRESULT defaultId = SendMessageA(m_parent, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) != DC_HASDEFID)
        return;
    const HWND button = GetDlgItem(m_parent, LOWORD(defaultId));
    SendMessageA(m_parent, WM_COMMAND, MAKEWPARAM(LOWORD(defaultId), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// Win32's multiline edit posts WM_CLOSE to its parent on Esc, taking it for a dialog.
void EditControl::PressEscape() {
    if (IsMultiline() && m_parent != nullptr)
        PostMessageA(m_parent, WM_CLOSE, 0, 0);
}

void EditControl::SelectAll() {
    m_text.Select(0, m_text.Size());
    SelectionChanged();
}

void EditControl::Backspace() {
    if (IsReadOnly())
        return;
    if (!m_text.HasSelection()) {
        const std::size_t caret = m_text.Caret();
        if (caret == 0)
            return;
        m_text.Select(caret, m_text.PreviousCharacter(caret));
    }
    Replace("", UndoMode::Merge);
}

void EditControl::TypeTab() {
    if (IsMultiline())
        TypeText("\t");
}

void EditControl::TypeReturn() {
    if (IsMultiline() && ((Style() & ES_WANTRETURN) || ControlDown()))
        TypeText("\r\n");
}

void EditControl::TypeLineFeed() {
    if (IsMultiline())
        TypeText("\r\n");
}

void EditControl::SendCopy() {
    SendMessageA(m_hwnd, WM_COPY, 0, 0);
}

void EditControl::SendCut() {
    SendMessageA(m_hwnd, WM_CUT, 0, 0);
}

void EditControl::SendPaste() {
    SendMessageA(m_hwnd, WM_PASTE, 0, 0);
}

void EditControl::SendUndo() {
    if (!IsReadOnly())
        SendMessageA(m_hwnd, WM_UNDO, 0, 0);
}

}  // namespace winapi::controls
