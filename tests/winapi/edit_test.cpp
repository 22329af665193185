// The Edit class: typing (UTF-8 bytes gathered into whole characters), selection by keys and
// mouse, the EM_ and clipboard messages, notifications, scrolling, and how it draws its text,
// selection and caret.
#include <windows.h>
#include <windowsx.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr int kEditId = 1003;
constexpr POINT kParentOrigin{100, 100};

std::pair<DWORD, DWORD> Range(DWORD start, DWORD end) {
    return {start, end};
}

class EditTest : public HeadlessTest {
protected:
    EditTest() {
        MessageLog::Register();
        m_parent = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, kParentOrigin.x,
                                   kParentOrigin.y, 400, 200, nullptr, nullptr, nullptr, nullptr);
    }

    HWND MakeEdit(DWORD style, const char* text = "", int width = 200, int height = 24) {
        HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", text, WS_CHILD | WS_VISIBLE | style,
                                    10, 10, width, height, m_parent,
                                    reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
        Pump();
        Log().Clear();
        return edit;
    }
    HWND MakeFocusedEdit(DWORD style, const char* text = "", int width = 200, int height = 24) {
        HWND edit = MakeEdit(style, text, width, height);
        SetFocus(edit);
        Pump();
        Log().Clear();
        return edit;
    }

    static MessageLog& Log() { return MessageLog::Instance(); }
    static std::string Text(HWND edit) {
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    static void Select(HWND edit, int start, int end) { SendMessageA(edit, EM_SETSEL, start, end); }

    // Each character as a key press that types it, through the message loop.
    void Type(std::string_view utf8) {
        for (std::size_t i = 0; i < utf8.size();) {
            std::size_t length = 1;
            const auto lead = static_cast<unsigned char>(utf8[i]);
            if (lead >= 0xF0)
                length = 4;
            else if (lead >= 0xE0)
                length = 3;
            else if (lead >= 0xC0)
                length = 2;
            const char c = utf8[i];
            const int vk = (c >= 'a' && c <= 'z')                             ? c - 'a' + 'A'
                           : (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ? c
                                                                              : 0xBA;
            Display().Press(vk, utf8.substr(i, length));
            i += length;
        }
        Pump();
    }
    void Key(int vk, bool shift = false, bool control = false) {
        if (shift)
            Display().KeyDown(VK_SHIFT);
        if (control)
            Display().KeyDown(VK_CONTROL);
        Display().Press(vk);
        if (control)
            Display().KeyUp(VK_CONTROL);
        if (shift)
            Display().KeyUp(VK_SHIFT);
        Pump();
    }
    // Ctrl+letter: the key and the control character it types.
    void Shortcut(char letter) {
        Display().KeyDown(VK_CONTROL);
        Display().Press(letter);
        Display().KeyUp(VK_CONTROL);
        Pump();
    }
    // The EN_ codes the parent has heard from the edit.
    static std::vector<WORD> Notifications() {
        std::vector<WORD> codes;
        for (const LoggedMessage& m : Log().Of(WM_COMMAND))
            if (LOWORD(m.wParam) == kEditId)
                codes.push_back(HIWORD(m.wParam));
        return codes;
    }
    static display::Point ScreenOf(HWND edit, POINT client) {
        ClientToScreen(edit, &client);
        return {client.x, client.y};
    }

    // The caret's client x at position (the edit must have the focus).
    static int CaretX(HWND edit, int position) {
        Select(edit, position, position);
        POINT at{};
        GetCaretPos(&at);
        return at.x;
    }
    // Pixels of colour within the edit's client area on the screen.
    int CountPixels(HWND edit, std::uint32_t colour) {
        Pump();
        RECT client;
        GetClientRect(edit, &client);
        const display::Point origin = ScreenOf(edit, {0, 0});
        const auto pixels = Display().Capture(
            {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
        int count = 0;
        for (std::uint32_t p : pixels)
            count += p == colour;
        return count;
    }

    HWND m_parent = nullptr;
};

constexpr std::uint32_t kHighlight = 0x000080;  // COLOR_HIGHLIGHT, RGB(0, 0, 128)

TEST_F(EditTest, TypingGathersUtf8BytesIntoWholeCharacters) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL);
    Type("ab日本");
    EXPECT_EQ(Text(edit), "ab日本");
    EXPECT_EQ(Selection(edit), Range(8, 8)) << "positions count bytes";
    Key(VK_BACK);
    EXPECT_EQ(Text(edit), "ab日") << "Backspace takes a whole character";
    Key(VK_LEFT);
    EXPECT_EQ(Selection(edit), Range(2, 2));
    Key(VK_DELETE);
    EXPECT_EQ(Text(edit), "ab");

    // Bytes sent one by one: a sequence cut short, a stray continuation byte and control
    // characters other than the editing ones come to nothing.
    for (WPARAM byte :
         std::initializer_list<WPARAM>{0xE6, 'x', 0x97, 0x07, 0x1B, '\t', '\r', 0xE6, 0x97, 0xA5})
        SendMessageA(edit, WM_CHAR, byte, 1);
    EXPECT_EQ(Text(edit), "abx日");
}

TEST_F(EditTest, ShiftedKeysExtendTheSelectionFromItsAnchor) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "hello 日本");
    Key(VK_END);
    EXPECT_EQ(Selection(edit), Range(12, 12));
    Key(VK_LEFT, true);
    EXPECT_EQ(Selection(edit), Range(9, 12)) << "one whole character";
    Key(VK_HOME, true);
    EXPECT_EQ(Selection(edit), Range(0, 12));
    Key(VK_RIGHT, true);
    EXPECT_EQ(Selection(edit), Range(1, 12)) << "the anchor stays at the end";
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Selection(edit), Range(6, 6)) << "Ctrl+Right: the next word";
    Key(VK_END);
    Key(VK_LEFT, true, true);
    EXPECT_EQ(Selection(edit), Range(6, 12));
    Shortcut('A');
    EXPECT_EQ(Selection(edit), Range(0, 12));
}

// EM_SETSEL {start, end} on "日本abc" (bytes 0-3, 3-6, then one each) and what EM_GETSEL gives.
TEST_F(EditTest, SetSelClampsSnapsAndKeepsTheCaretAtTheEnd) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "日本abc");
    const struct {
        int start, end;
        DWORD low, high;
    } rows[] = {
        {0, -1, 0, 9}, {2, 5, 0, 3}, {7, 100, 7, 9}, {100, 100, 9, 9}, {8, 6, 6, 8}, {-5, 4, 3, 9},
    };
    for (const auto& row : rows) {
        Select(edit, row.start, row.end);
        EXPECT_EQ(Selection(edit), Range(row.low, row.high)) << row.start << ", " << row.end;
    }
    Select(edit, 8, 6);
    Key(VK_RIGHT, true);
    EXPECT_EQ(Selection(edit), Range(7, 8)) << "the caret was at the end given, 6";
    Select(edit, -1, 0);
    EXPECT_EQ(Selection(edit), Range(7, 7)) << "-1 drops the selection where the caret is";
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELONG(7, 7));
}

// Two bytes of a cut-short character are one replacement character on screen, and one step for
// the caret, a selection end and a cut to the caller's buffer.
TEST_F(EditTest, BrokenUtf8IsOneCharacterForCaretSelectionAndCopy) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "a\xE7\xB5z");
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(Selection(edit), Range(3, 3));
    Select(edit, 2, 2);
    EXPECT_EQ(Selection(edit), Range(1, 1));
    char buffer[3] = "??";
    EXPECT_EQ(SendMessageA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(Text(edit), "a\xE7\xB5z") << "the bytes themselves are kept";
}

TEST_F(EditTest, MouseFocusesPlacesDragsAndSelectsWords) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "hello world");
    int x[12];
    for (int i = 0; i < 12; ++i)
        x[i] = CaretX(edit, i);
    SetFocus(m_parent);
    Pump();
    const int y = 5;
    Display().Click(display::MouseButton::Left, ScreenOf(edit, {x[3] - 1, y}));
    Pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Selection(edit), Range(3, 3)) << "the nearest boundary";

    Display().Advance(1000);
    Display().ButtonDown(display::MouseButton::Left, ScreenOf(edit, {x[1], y}));
    Display().MovePointer(ScreenOf(edit, {x[4], y}));
    Display().ButtonUp(display::MouseButton::Left, ScreenOf(edit, {x[4], y}));
    Pump();
    EXPECT_EQ(Selection(edit), Range(1, 4));
    EXPECT_EQ(GetCapture(), nullptr);

    Display().Advance(1000);
    Display().KeyDown(VK_SHIFT);
    Display().Click(display::MouseButton::Left, ScreenOf(edit, {x[8], y}));
    Display().KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(Selection(edit), Range(1, 8)) << "Shift+click moves the caret end";

    Display().Advance(1000);
    Display().Click(display::MouseButton::Left, ScreenOf(edit, {x[2], y}));
    Display().Click(display::MouseButton::Left, ScreenOf(edit, {x[2], y}));
    Pump();
    EXPECT_EQ(Selection(edit), Range(0, 6)) << "a double click: the word and its blank";
}

TEST_F(EditTest, CopyPutsExactlyTheSelectionOnTheClipboard) {
    // The program's output field: multiline, one line tall, text set by WM_SETTEXT.
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN, "", 60);
    Display().CopyFromOtherProgram("before");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("RGB(0, 128, 255) 赤"));
    SendMessageA(edit, WM_COPY, 0, 0);
    EXPECT_EQ(Display().ClipboardContent(), "before") << "nothing selected, nothing copied";
    Select(edit, 0, -1);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, WM_COPY, 0, 0);
    EXPECT_EQ(Display().ClipboardContent(), "RGB(0, 128, 255) 赤");
    EXPECT_EQ(Text(edit), "RGB(0, 128, 255) 赤");

    SetFocus(edit);
    Select(edit, 4, 5);
    Shortcut('C');
    EXPECT_EQ(Display().ClipboardContent(), "0");
    EXPECT_TRUE(Notifications() == std::vector<WORD>{EN_SETFOCUS}) << "copying changes nothing";
}

TEST_F(EditTest, PasteTakesAnotherProgramsTextAndCutMovesTheSelection) {
    HWND single = MakeFocusedEdit(ES_AUTOHSCROLL, "<>");
    Display().CopyFromOtherProgram("one\ntwo");
    Select(single, 1, 1);
    Shortcut('V');
    EXPECT_EQ(Text(single), "<one>") << "a single-line edit takes the first line";
    Select(single, 1, 4);
    Shortcut('X');
    EXPECT_EQ(Text(single), "<>");
    EXPECT_EQ(Display().ClipboardContent(), "one");

    HWND multi = MakeFocusedEdit(ES_MULTILINE | ES_AUTOVSCROLL, "", 200, 60);
    Display().CopyFromOtherProgram("one\ntwo\r\nthree");
    SendMessageA(multi, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(multi), "one\r\ntwo\r\nthree");
    EXPECT_EQ(SendMessageA(multi, EM_GETLINECOUNT, 0, 0), 3);

    // Read-only: no typing, pasting or cutting away, but copying works.
    SendMessageA(single, EM_SETREADONLY, TRUE, 0);
    SetFocus(single);
    Select(single, 0, 1);
    Type("z");
    Shortcut('V');
    Shortcut('X');
    EXPECT_EQ(Text(single), "<>");
    EXPECT_EQ(Display().ClipboardContent(), "<");
}

TEST_F(EditTest, TextChangesOnlyThroughSetTextOrTheUser) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "abc");
    Select(edit, 1, 2);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, WM_COPY, 0, 0);
    Key(VK_RIGHT);
    EXPECT_TRUE(Notifications().empty());
    EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));

    Type("x");
    EXPECT_EQ(Text(edit), "abcx");
    EXPECT_TRUE((Notifications() == std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
    EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));

    // WM_SETTEXT, even of the same text, starts afresh: caret at 0, unmodified, no undo. A
    // single-line edit tells its parent; a multiline one does not.
    Log().Clear();
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abcx"));
    EXPECT_EQ(Selection(edit), Range(0, 0));
    EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    EXPECT_TRUE((Notifications() == std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    HWND multi = MakeEdit(ES_MULTILINE);
    SendMessageA(multi, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("#0080FF"));
    EXPECT_TRUE(Notifications().empty());
    EXPECT_EQ(Text(multi), "#0080FF");
}

TEST_F(EditTest, UndoTakesBackTypingAsOneStepAndRedoes) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "A");
    Key(VK_END);
    Type("bcd");
    Key(VK_BACK);
    Shortcut('Z');
    EXPECT_EQ(Text(edit), "A");
    Shortcut('Z');
    EXPECT_EQ(Text(edit), "Abc");
    EXPECT_EQ(Selection(edit), Range(1, 3)) << "the restored text is selected";
}

TEST_F(EditTest, EnterBreaksTheLineOnlyWhereTheEditWantsAndHasRoomForIt) {
    HWND edit = MakeFocusedEdit(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, "", 200, 60);
    Type("a");
    Key(VK_RETURN);
    Type("b\t");
    EXPECT_EQ(Text(edit), "a\r\nb\t");
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 2);
    Key(VK_HOME);
    EXPECT_EQ(Selection(edit), Range(3, 3)) << "the start of the second line";
    Key(VK_LEFT);
    EXPECT_EQ(Selection(edit), Range(1, 1)) << "a line break is one step";
    Key(VK_DOWN);
    EXPECT_GE(Selection(edit).first, 3ul) << "down to the second line";
    EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, 0, 0),
              DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);

    // One line tall without ES_AUTOVSCROLL, as the program's field: no room for a second line.
    HWND field = MakeFocusedEdit(ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN, "#0080FF");
    Key(VK_RETURN);
    EXPECT_EQ(Text(field), "#0080FF");
    EXPECT_TRUE(Notifications() == std::vector<WORD>{EN_MAXTEXT});

    // Without ES_WANTRETURN Enter is the dialog's default button; Esc closes the parent.
    Log().Handle(DM_GETDEFID,
                 [](HWND, WPARAM, LPARAM) -> LRESULT { return MAKELONG(IDOK, DC_HASDEFID); });
    Log().Handle(WM_CLOSE, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
    HWND plain = MakeFocusedEdit(ES_MULTILINE | ES_AUTOVSCROLL, "", 200, 60);
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Text(plain), "");
    const auto commands = Log().Of(WM_COMMAND);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back().wParam, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_EQ(Log().Of(WM_CLOSE).size(), 1u);

    HWND single = MakeEdit(ES_AUTOHSCROLL);
    EXPECT_EQ(SendMessageA(single, WM_GETDLGCODE, 0, 0),
              DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretInSight) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL, "", 80);
    RECT format{};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    Type("0123456789abcdefghijklmnopqrstuvwxyz");
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_GE(caret.x, format.left);
    EXPECT_LT(caret.x, format.right);
    EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the first visible character";
    Key(VK_HOME);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, format.left);

    // Without ES_AUTOHSCROLL typing stops at the right edge.
    HWND fixed = MakeFocusedEdit(0, "", 80);
    Type("0123456789abcdefghijklmnopqrstuvwxyz");
    EXPECT_LT(Text(fixed).size(), 36u);
    EXPECT_EQ(Notifications().back(), EN_MAXTEXT);

    // A multiline edit without it wraps instead.
    HWND wrapping = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, "aaaa bbbb cccc dddd eeee", 60, 100);
    EXPECT_GT(SendMessageA(wrapping, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(Text(wrapping), "aaaa bbbb cccc dddd eeee");
}

TEST_F(EditTest, TheLimitCountsBytesAndCutsBetweenCharacters) {
    HWND edit = MakeFocusedEdit(ES_AUTOHSCROLL);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 32767);
    SendMessageA(edit, EM_LIMITTEXT, 4, 0);
    Type("日本");
    EXPECT_EQ(Text(edit), "日");
    EXPECT_EQ(Notifications().back(), EN_MAXTEXT);
    Display().CopyFromOtherProgram("abcdef");
    Shortcut('V');
    EXPECT_EQ(Text(edit), "日a");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("longer than the limit"));
    EXPECT_EQ(Text(edit), "longer than the limit") << "the limit binds the user only";
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, CaretAndSelectionShowOnlyWithTheFocus) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, "hello world");
    EXPECT_EQ(CountPixels(edit, kHighlight), 0);
    SetFocus(edit);
    Select(edit, 0, 5);
    POINT caret{};
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_GT(CountPixels(edit, kHighlight), 0);
    Select(edit, 11, 11);
    ASSERT_TRUE(GetCaretPos(&caret));
    const display::Point onScreen = ScreenOf(edit, {caret.x, caret.y + 2});
    Pump();
    EXPECT_EQ(ScreenPixel(onScreen.x, onScreen.y), 0x000000u) << "the caret after the text";
    RunFor(GetCaretBlinkTime());
    EXPECT_EQ(ScreenPixel(onScreen.x, onScreen.y), 0xFFFFFFu) << "blinking";

    Select(edit, 0, 5);
    SetFocus(m_parent);
    Pump();
    EXPECT_EQ(CountPixels(edit, kHighlight), 0) << "the selection hides with the focus";
    EXPECT_FALSE(GetCaretPos(&caret)) << "and the caret goes";
    EXPECT_TRUE((Notifications() == std::vector<WORD>{EN_SETFOCUS, EN_KILLFOCUS}));
    EXPECT_EQ(ScreenPixel(onScreen.x, onScreen.y), 0xFFFFFFu);

    HWND kept = MakeEdit(ES_AUTOHSCROLL | ES_NOHIDESEL, "hello");
    Select(kept, 0, 5);
    EXPECT_GT(CountPixels(kept, kHighlight), 0);
}

TEST_F(EditTest, ColoursComeFromTheParent) {
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    Log().Handle(WM_CTLCOLOREDIT, [yellow](HWND, WPARAM dc, LPARAM) -> LRESULT {
        SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
        return reinterpret_cast<LRESULT>(yellow);
    });
    HWND edit = MakeEdit(ES_AUTOHSCROLL, "x");
    RECT client;
    GetClientRect(edit, &client);
    EXPECT_GT(CountPixels(edit, 0xFFFF00), client.right * client.bottom / 2);
    HWND readOnly = MakeEdit(ES_AUTOHSCROLL | ES_READONLY, "x");
    EXPECT_EQ(CountPixels(readOnly, 0xFFFF00), 0) << "a read-only edit asks WM_CTLCOLORSTATIC";
    RedrawWindow(readOnly, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Log().Of(WM_CTLCOLOREDIT).size(), 0u);
    EXPECT_EQ(Log().Of(WM_CTLCOLORSTATIC).size(), 1u);
    DeleteObject(yellow);
}

}  // namespace
