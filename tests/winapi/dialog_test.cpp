// The dialog manager on the headless display: dialogs made from hand-built templates in both
// forms and from the program's own, DefDlgProc's defaults, the keyboard interface, the modal
// loop and the item helpers.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "platform/winapi/dialog/template_reader.h"
#include "platform/winapi/host.h"
#include "res/resource.h"
#include "support/headless_test.h"
#include "support/message_log.h"
#include "support/screenshot.h"

// RECTs compare and print by their edges (internal linkage: other tests may want their own).
static bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

constexpr DWORD kErrorWindowNotDialog = 1420;
constexpr DWORD kPopupDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

using Field = std::variant<std::u16string, WORD>;

struct ItemSpec {
    Field windowClass;
    Field title;
    DWORD style = 0;
    short x = 0, y = 0, cx = 40, cy = 14;
    DWORD id = 0;
    std::vector<std::uint8_t> creationData;
};

ItemSpec Push(std::u16string title, DWORD id, DWORD style, short x, short y) {
    const DWORD fullStyle = WS_VISIBLE | WS_TABSTOP | style;
    return {kButton, std::move(title), fullStyle, x, y, 40, 14, id, {}};
}

// A dialog template in bytes, DLGTEMPLATEEX or the plain DLGTEMPLATE.
class TemplateBytes {
public:
    TemplateBytes(DWORD style, short cx, short cy, short x = 0, short y = 0)
        : m_style(style), m_frame{x, y, cx, cy} {}

    TemplateBytes& Font(WORD points, std::u16string face) {
        m_style |= DS_SETFONT;
        m_points = points;
        m_face = std::move(face);
        return *this;
    }
    TemplateBytes& Item(ItemSpec item) {
        m_items.push_back(std::move(item));
        return *this;
    }
    LPCDLGTEMPLATEA Get(bool extended = true) {
        m_bytes.clear();
        if (extended)
            U16s({1, 0xFFFF, 0, 0});  // version, signature, help id
        U32(extended ? 0 : m_style);  // the two forms swap style and extended style
        U32(extended ? m_style : 0);
        U16(static_cast<WORD>(m_items.size()));
        for (short v : m_frame)
            U16(static_cast<WORD>(v));
        U16s({0, 0});  // no menu, the dialog class
        Text(u"Dialog");
        if (m_style & DS_SETFONT) {
            U16(m_points);
            if (extended)
                U16s({FW_NORMAL, 0x8000});  // upright, SHIFTJIS_CHARSET
            Text(m_face);
        }
        for (const ItemSpec& item : m_items) {
            m_bytes.resize((m_bytes.size() + 3) / 4 * 4);
            if (extended)
                U32(0);
            U32(extended ? 0 : item.style);
            U32(extended ? item.style : 0);
            for (short v : {item.x, item.y, item.cx, item.cy})
                U16(static_cast<WORD>(v));
            extended ? U32(item.id) : U16(static_cast<WORD>(item.id));
            Put(item.windowClass);
            Put(item.title);
            U16(static_cast<WORD>(item.creationData.size()));
            m_bytes.insert(m_bytes.end(), item.creationData.begin(), item.creationData.end());
        }
        return reinterpret_cast<LPCDLGTEMPLATEA>(m_bytes.data());
    }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    void U16(WORD v) { m_bytes.insert(m_bytes.end(), {LOBYTE(v), HIBYTE(v)}); }
    void U16s(std::initializer_list<WORD> values) {
        for (WORD v : values)
            U16(v);
    }
    void U32(DWORD v) { U16s({LOWORD(v), HIWORD(v)}); }
    void Text(const std::u16string& text) {
        for (char16_t c : text)
            U16(c);
        U16(0);
    }
    void Put(const Field& field) {
        if (const WORD* ordinal = std::get_if<WORD>(&field))
            U16s({0xFFFF, *ordinal});
        else
            Text(std::get<std::u16string>(field));
    }

    DWORD m_style;
    short m_frame[4];
    WORD m_points = 0;
    std::u16string m_face;
    std::vector<ItemSpec> m_items;
    std::vector<std::uint8_t> m_bytes;
};

// A dialog procedure the tests script: it records every message and runs the handler given.
struct ProcRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<ProcRecord> g_procLog;
std::map<UINT, std::function<INT_PTR(HWND, WPARAM, LPARAM)>> g_procHandlers;

INT_PTR CALLBACK ScriptedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_procLog.push_back({message, wParam, lParam});
    const auto it = g_procHandlers.find(message);
    return it != g_procHandlers.end() ? it->second(hwnd, wParam, lParam) : FALSE;
}

std::vector<ProcRecord> ProcMessages(UINT message) {
    std::vector<ProcRecord> found;
    for (const ProcRecord& r : g_procLog)
        if (r.message == message)
            found.push_back(r);
    return found;
}

std::vector<WPARAM> Commands() {
    std::vector<WPARAM> commands;
    for (const ProcRecord& r : ProcMessages(WM_COMMAND))
        commands.push_back(r.wParam);
    return commands;
}

RECT ClientRectOf(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
}

// A control's rectangle in its dialog's client coordinates.
RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG LookOf(HWND dialog, int id) {
    return GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK;
}

class DialogTest : public HeadlessTest {
protected:
    DialogTest() {
        MessageLog::Register();
        g_procLog.clear();
        g_procHandlers.clear();
    }

    HWND Modeless(TemplateBytes& bytes, HWND parent = nullptr, LPARAM param = 0) {
        return CreateDialogIndirectParamA(nullptr, bytes.Get(), parent, &ScriptedProc, param);
    }
    HWND Popup() {
        return CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200,
                               150, nullptr, nullptr, nullptr, nullptr);
    }
    // A message loop that gives the dialog its keyboard interface.
    void PressIn(HWND dialog, int vk, const char* text = "") {
        Display().Press(vk, text);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageA(dialog, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    MessageLog& Log() { return MessageLog::Instance(); }
};

// ---- Making dialogs ------------------------------------------------------------------------

// The template's size is the client area's, in units of the template font: 6 x 12 for the
// fixed Gothic at 9 pt, whose LOGFONT has lfHeight -12; without a font, the system font's
// 8 x 16, which GetDialogBaseUnits reports.
TEST_F(DialogTest, TemplateSizeIsTheClientAreaInFontUnits) {
    TemplateBytes bytes(kPopupDialog, 132, 145);
    bytes.Font(9, u"ＭＳ ゴシック")
        .Item({kButton, u"終了", WS_VISIBLE | BS_DEFPUSHBUTTON, 69, 99, 57, 16, IDOK, {}});
    for (bool extended : {true, false}) {
        HWND dialog =
            CreateDialogIndirectParamA(nullptr, bytes.Get(extended), nullptr, &ScriptedProc, 0);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ((RECT{0, 0, 198, 218}), ClientRectOf(dialog));  // 217.5 rounds up
        RECT window;
        GetWindowRect(dialog, &window);
        EXPECT_EQ(198 + 6, window.right - window.left);
        EXPECT_EQ(218 + 25, window.bottom - window.top);
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
        EXPECT_EQ((RECT{104, 149, 190, 173}), PlaceOf(GetDlgItem(dialog, IDOK)));
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(-12, font.lfHeight);
        EXPECT_STREQ("ＭＳ ゴシック", font.lfFaceName);
        RECT units{0, 0, 4, 8};
        EXPECT_TRUE(MapDialogRect(dialog, &units));
        EXPECT_EQ((RECT{0, 0, 6, 12}), units);
        DestroyWindow(dialog);
    }
    EXPECT_EQ(MAKELONG(8, 16), GetDialogBaseUnits());
    TemplateBytes system(kPopupDialog, 100, 50);
    HWND dialog = Modeless(system);
    EXPECT_EQ((RECT{0, 0, 200, 100}), ClientRectOf(dialog));
    EXPECT_EQ(0, SendMessageA(dialog, WM_GETFONT, 0, 0));
    char name[16];
    GetClassNameA(dialog, name, sizeof name);
    EXPECT_STREQ("#32770", name);
}

// x and y place the client area relative to the owner's client area (DS_ABSALIGN: the
// screen); DS_CENTER centres it on the screen, and one that would leave the screen is moved
// back onto it.
TEST_F(DialogTest, PositionIsRelativeToTheOwnersClientArea) {
    HWND owner = Popup();
    POINT ownerClient{0, 0};
    ClientToScreen(owner, &ownerClient);
    TemplateBytes relative(kPopupDialog, 40, 20, 10, 20);
    POINT origin{0, 0};
    ClientToScreen(Modeless(relative, owner), &origin);
    EXPECT_EQ(ownerClient.x + 20, origin.x);
    EXPECT_EQ(ownerClient.y + 40, origin.y);

    TemplateBytes absolute(kPopupDialog | DS_ABSALIGN, 40, 20, 10, 20);
    origin = {0, 0};
    ClientToScreen(Modeless(absolute, owner), &origin);
    EXPECT_EQ(20, origin.x);
    EXPECT_EQ(40, origin.y);

    TemplateBytes centred(kPopupDialog | DS_CENTER, 40, 20, 10, 20);
    RECT window;
    GetWindowRect(Modeless(centred, owner), &window);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2, window.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2, window.top);

    TemplateBytes offScreen(kPopupDialog, 40, 20, 30000, 30000);
    GetWindowRect(Modeless(offScreen), &window);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), window.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), window.bottom);
}

// Controls come in template order with their ids, texts and creation data, each hearing of
// the dialog font after the dialog procedure; WM_INITDIALOG, sent while the dialog is hidden,
// names the first tab stop that is visible and enabled, and its TRUE puts the focus there
// with an edit's text selected.
TEST_F(DialogTest, ControlsAreCreatedInOrderBeforeInitDialog) {
    std::vector<std::uint8_t> creation;
    Log().Handle(WM_CREATE, [&](HWND, WPARAM, LPARAM lParam) {
        const auto* data = static_cast<const std::uint8_t*>(
            reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (data != nullptr)
            creation.assign(data, data + 2 + data[0]);
        return 0;
    });
    bool visibleDuringInit = true;
    g_procHandlers[WM_INITDIALOG] = [&](HWND hwnd, WPARAM, LPARAM) {
        visibleDuringInit = IsWindowVisible(hwnd);
        return TRUE;
    };
    TemplateBytes bytes(kPopupDialog | WS_VISIBLE, 120, 80);
    bytes.Font(9, u"ＭＳ Ｐゴシック")
        .Item({kStatic, u"label", WS_VISIBLE, 4, 4, 40, 8, static_cast<DWORD>(-1), {}})
        .Item({kEdit, u"off", WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 4, 14, 60, 12, 10, {}})
        .Item({kButton, u"hidden", WS_TABSTOP, 4, 30, 40, 14, 11, {}})
        .Item({kEdit, u"text", WS_VISIBLE | WS_TABSTOP, 4, 50, 60, 12, 12, {}})
        .Item({u"LogWindow", u"", WS_VISIBLE, 1, 2, 3, 4, 13, {0xAB, 0xCD, 0xEF}});
    HWND dialog = Modeless(bytes, nullptr, 0x1234);
    ASSERT_NE(dialog, nullptr);
    Pump();

    std::vector<int> ids;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(c));
    EXPECT_EQ((std::vector<int>{-1, 10, 11, 12, 13}), ids);
    HWND edit = GetDlgItem(dialog, 12);
    EXPECT_EQ((RECT{7, 75, 7 + 105, 75 + 18}), PlaceOf(edit));  // 7 x 12 units
    EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
    char text[16];
    EXPECT_EQ(5u, GetDlgItemTextA(dialog, -1, text, sizeof text));
    EXPECT_STREQ("label", text);
    EXPECT_EQ((std::vector<std::uint8_t>{3, 0, 0xAB, 0xCD, 0xEF}), creation);
    const auto fonts = Log().Of(WM_SETFONT);
    ASSERT_EQ(1u, fonts.size());
    EXPECT_EQ(static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0)), fonts[0].wParam);
    EXPECT_EQ(static_cast<UINT>(WM_SETFONT), g_procLog.front().message);

    const auto init = ProcMessages(WM_INITDIALOG);
    ASSERT_EQ(1u, init.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(edit), init[0].wParam);
    EXPECT_EQ(0x1234, init[0].lParam);
    EXPECT_FALSE(visibleDuringInit);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(edit, GetFocus());
    EXPECT_EQ(MAKELONG(0, 4), SendMessageA(edit, EM_GETSEL, 0, 0));
}

// Dialogs have the three-dimensional look: a control's WS_BORDER becomes WS_EX_CLIENTEDGE, a
// sunken two-pixel edge around a client area that much smaller; borderless controls keep none.
TEST_F(DialogTest, BorderedControlsGetASunkenClientEdge) {
    TemplateBytes bytes(kPopupDialog | WS_VISIBLE, 120, 80);
    bytes.Font(9, u"ＭＳ ゴシック")
        .Item({kEdit, u"", WS_VISIBLE | WS_BORDER | ES_MULTILINE, 4, 60, 86, 12, 10, {}})
        .Item({kEdit, u"", WS_VISIBLE, 4, 20, 86, 12, 11, {}})
        .Item({kStatic, u"", WS_VISIBLE | WS_BORDER, 4, 40, 20, 10, 12, {}});
    HWND dialog = Modeless(bytes, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    for (const int id : {10, 12}) {
        HWND control = GetDlgItem(dialog, id);
        EXPECT_FALSE(GetWindowLongA(control, GWL_STYLE) & WS_BORDER) << id;
        EXPECT_TRUE(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << id;
    }
    RECT client{};
    GetClientRect(GetDlgItem(dialog, 10), &client);
    EXPECT_EQ((RECT{0, 0, 129 - 4, 18 - 4}), client);  // 6 x 12 units
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, 11), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

// One control that cannot be made fails the whole dialog, unless DS_NOFAILCREATE.
TEST_F(DialogTest, FailingControlFailsTheDialog) {
    for (DWORD tolerance : {DWORD{0}, DWORD{DS_NOFAILCREATE}}) {
        TemplateBytes bytes(kPopupDialog | tolerance, 100, 50);
        bytes.Item(Push(u"a", 1, 0, 0, 0))
            .Item({u"NoSuchClass", u"", WS_VISIBLE, 0, 0, 5, 5, 2, {}});
        SetLastError(0);
        HWND dialog = Modeless(bytes);
        EXPECT_EQ(tolerance != 0, dialog != nullptr);
        if (dialog == nullptr) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS), GetLastError());
            EXPECT_EQ(nullptr, GetTopWindow(nullptr));
        } else {
            EXPECT_NE(nullptr, GetDlgItem(dialog, 1));
        }
    }
}

TEST_F(DialogTest, BadArgumentsFailCleanly) {
    SetLastError(0);
    EXPECT_EQ(nullptr, CreateDialogIndirectParamA(nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    // A template that ends inside its last item is refused, in either form.
    TemplateBytes bytes(kPopupDialog, 100, 50);
    bytes.Item(Push(u"a", 1, 0, 0, 0));
    for (bool extended : {true, false}) {
        bytes.Get(extended);
        std::vector<std::uint8_t> cut = bytes.Bytes();
        cut.resize(cut.size() - 6);
        EXPECT_FALSE(winapi::dialog::ParseAnyDialogTemplate(cut));
        EXPECT_TRUE(winapi::dialog::ParseAnyDialogTemplate(bytes.Bytes()));
    }
    const HWND stale = reinterpret_cast<HWND>(0x7FFF0);
    EXPECT_EQ(nullptr, CreateDialogIndirectParamA(nullptr, bytes.Get(), stale, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    EXPECT_EQ(0, DialogBoxIndirectParamA(nullptr, bytes.Get(), stale, nullptr, 0));
    EXPECT_EQ(-1, DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, nullptr, 0));
    EXPECT_EQ(nullptr, CreateDialogParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, nullptr, 0));
    HWND plain = Popup();
    EXPECT_FALSE(EndDialog(plain, 1));
    EXPECT_EQ(kErrorWindowNotDialog, GetLastError());
    RECT rect{};
    EXPECT_FALSE(MapDialogRect(plain, &rect));
    EXPECT_FALSE(EndDialog(stale, 1));
    EXPECT_FALSE(IsDialogMessageA(plain, nullptr));
}

// ---- DefDlgProc ----------------------------------------------------------------------------

// A dialog procedure answers in DWLP_MSGRESULT, reset before each message; a WM_CTLCOLOR*
// answer is its return value. The background is painted with that brush, or the button face.
TEST_F(DialogTest, DialogProcedureAnswersAndPaintsTheBackground) {
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    g_procHandlers[WM_APP] = [](HWND hwnd, WPARAM wParam, LPARAM) {
        if (wParam)
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1234);
        return TRUE;
    };
    g_procHandlers[WM_CTLCOLORDLG] = [&](HWND, WPARAM, LPARAM) {
        return reinterpret_cast<INT_PTR>(blue);
    };
    TemplateBytes bytes(kPopupDialog | WS_VISIBLE, 40, 20, 50, 50);
    HWND painted = Modeless(bytes);
    EXPECT_EQ(1234, SendMessageA(painted, WM_APP, 1, 0));
    EXPECT_EQ(0, SendMessageA(painted, WM_APP, 0, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(blue), SendMessageA(painted, WM_CTLCOLORDLG, 0, 0));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&ScriptedProc), GetWindowLongPtrA(painted, DWLP_DLGPROC));
    SetWindowLongPtrA(painted, DWLP_USER, 77);
    EXPECT_EQ(77, GetWindowLongPtrA(painted, DWLP_USER));
    g_procHandlers.clear();
    TemplateBytes plainBytes(kPopupDialog | WS_VISIBLE, 40, 20, 50, 100);
    HWND plain = Modeless(plainBytes);
    Pump();
    POINT inside{5, 5};
    ClientToScreen(painted, &inside);
    EXPECT_EQ(0x0000FFu, ScreenPixel(inside.x, inside.y));
    inside = {5, 5};
    ClientToScreen(plain, &inside);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(
        static_cast<std::uint32_t>(GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face)),
        ScreenPixel(inside.x, inside.y));
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(nullptr, WC_DIALOG, &wc));
    EXPECT_EQ(DLGWINDOWEXTRA, wc.cbWndExtra);
    EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS | CS_SAVEBITS), wc.style);
}

// The last BS_DEFPUSHBUTTON is the default; DM_SETDEFID moves the id and the look.
TEST_F(DialogTest, DefaultPushButtonIdAndLook) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    bytes.Item(Push(u"a", 5, BS_DEFPUSHBUTTON, 0, 0))
        .Item(Push(u"b", 6, BS_DEFPUSHBUTTON, 0, 20))
        .Item(Push(u"c", 7, 0, 0, 40));
    HWND dialog = Modeless(bytes);
    EXPECT_EQ(MAKELONG(6, DC_HASDEFID), SendMessageA(dialog, DM_GETDEFID, 0, 0));
    EXPECT_EQ(BS_PUSHBUTTON, LookOf(dialog, 5));
    EXPECT_TRUE(SendMessageA(dialog, DM_SETDEFID, 7, 0));
    EXPECT_EQ(MAKELONG(7, DC_HASDEFID), SendMessageA(dialog, DM_GETDEFID, 0, 0));
    EXPECT_EQ(BS_PUSHBUTTON, LookOf(dialog, 6));
    EXPECT_EQ(BS_DEFPUSHBUTTON, LookOf(dialog, 7));
    TemplateBytes none(kPopupDialog, 100, 60);
    EXPECT_EQ(0, SendMessageA(Modeless(none), DM_GETDEFID, 0, 0));
}

// WM_CLOSE posts IDCANCEL with the Cancel button; a disabled Cancel button refuses.
TEST_F(DialogTest, CloseAsksForCancelThroughTheQueue) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    bytes.Item(Push(u"Cancel", IDCANCEL, 0, 0, 0));
    HWND dialog = Modeless(bytes);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Commands().empty());
    Pump();
    ASSERT_EQ((std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}), Commands());
    EXPECT_EQ(reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)),
              ProcMessages(WM_COMMAND)[0].lParam);
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(1u, Commands().size());
}

// ---- Focus and the keyboard ----------------------------------------------------------------

class DialogKeysTest : public DialogTest {
protected:
    // OK (default) | edit | &Apply | disabled | hidden | radio group of three | Cancel
    HWND MakeForm() {
        m_bytes.Item(Push(u"OK", IDOK, BS_DEFPUSHBUTTON, 0, 0))
            .Item({kEdit, u"text", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, 0, 16, 40, 12, 20, {}})
            .Item(Push(u"&Apply", 21, 0, 0, 32))
            .Item(Push(u"off", 22, WS_DISABLED, 0, 48))
            .Item({kButton, u"unseen", WS_TABSTOP, 0, 64, 40, 14, 23, {}})
            .Item(Push(u"r1", 30, BS_AUTORADIOBUTTON | WS_GROUP, 50, 0))
            .Item(Push(u"r2", 31, BS_AUTORADIOBUTTON, 50, 16))
            .Item(Push(u"r3", 32, BS_AUTORADIOBUTTON, 50, 32))
            .Item(Push(u"Cancel", IDCANCEL, WS_GROUP, 50, 48));
        HWND dialog = Modeless(m_bytes);
        Pump();
        return dialog;
    }
    TemplateBytes m_bytes{kPopupDialog | WS_VISIBLE, 120, 90};
};

TEST_F(DialogKeysTest, TabAndGroupOrdersSkipUnusableControlsAndWrap) {
    HWND d = MakeForm();
    auto item = [&](int id) { return GetDlgItem(d, id); };
    EXPECT_EQ(item(IDOK), GetNextDlgTabItem(d, nullptr, FALSE));
    EXPECT_EQ(nullptr, GetNextDlgTabItem(d, nullptr, TRUE));  // as Windows answers
    EXPECT_EQ(item(IDOK), GetNextDlgTabItem(d, d, FALSE));
    EXPECT_EQ(item(30), GetNextDlgTabItem(d, item(21), FALSE));  // past 22 (off), 23 (hidden)
    EXPECT_EQ(item(IDOK), GetNextDlgTabItem(d, item(IDCANCEL), FALSE));
    EXPECT_EQ(item(IDCANCEL), GetNextDlgTabItem(d, item(IDOK), TRUE));
    // Groups: IDOK to 23, 30 to 32, and IDCANCEL on its own.
    EXPECT_EQ(item(31), GetNextDlgGroupItem(d, item(30), FALSE));
    EXPECT_EQ(item(30), GetNextDlgGroupItem(d, item(32), FALSE));
    EXPECT_EQ(item(32), GetNextDlgGroupItem(d, item(30), TRUE));
    EXPECT_EQ(item(IDCANCEL), GetNextDlgGroupItem(d, item(IDCANCEL), FALSE));
    EXPECT_EQ(item(IDOK), GetNextDlgGroupItem(d, item(21), FALSE));
    EXPECT_EQ(nullptr, GetNextDlgGroupItem(d, nullptr, TRUE));
}

// Tab and Shift+Tab move the focus; an edit reached by Tab has its text selected, and the
// default look follows the focus onto push buttons and back to the default one.
TEST_F(DialogKeysTest, TabMovesTheFocusAndTheDefaultLook) {
    HWND d = MakeForm();
    HWND edit = GetDlgItem(d, 20);
    ASSERT_EQ(GetDlgItem(d, IDOK), GetFocus());
    SendMessageA(edit, EM_SETSEL, 1, 1);
    PressIn(d, VK_TAB);
    EXPECT_EQ(edit, GetFocus());
    EXPECT_EQ(MAKELONG(0, 4), SendMessageA(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(BS_DEFPUSHBUTTON, LookOf(d, IDOK));
    SetFocus(GetDlgItem(d, IDOK));
    PressIn(d, VK_TAB);
    PressIn(d, VK_TAB);  // the multiline edit keeps Tab: the focus stays
    EXPECT_EQ(edit, GetFocus());
    SetFocus(GetDlgItem(d, IDCANCEL));
    Display().KeyDown(VK_SHIFT);
    PressIn(d, VK_TAB);
    Display().KeyUp(VK_SHIFT);
    EXPECT_EQ(GetDlgItem(d, 32), GetFocus());
    SendMessageA(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, 21)), TRUE);
    EXPECT_EQ(BS_DEFPUSHBUTTON, LookOf(d, 21));
    EXPECT_EQ(BS_PUSHBUTTON, LookOf(d, IDOK));
    PressIn(d, VK_TAB);
    EXPECT_EQ(BS_PUSHBUTTON, LookOf(d, 21));
    EXPECT_EQ(BS_DEFPUSHBUTTON, LookOf(d, IDOK));
}

// Enter clicks the focused push button, else the enabled default button, else IDOK; Esc
// cancels; Alt+letter clicks the button that marks that letter.
TEST_F(DialogKeysTest, EnterEscapeAndMnemonicsCommand) {
    HWND d = MakeForm();
    SetFocus(GetDlgItem(d, 21));
    PressIn(d, VK_RETURN);
    SetFocus(GetDlgItem(d, 30));
    PressIn(d, VK_RETURN);
    PressIn(d, VK_ESCAPE);
    Display().KeyDown(VK_MENU);
    PressIn(d, 'A', "a");
    Display().KeyUp(VK_MENU);
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(21, BN_CLICKED), MAKEWPARAM(IDOK, BN_CLICKED),
                                   IDCANCEL, MAKEWPARAM(21, BN_CLICKED)}),
              Commands());
    const auto commands = ProcMessages(WM_COMMAND);
    EXPECT_EQ(reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)), commands[1].lParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(GetDlgItem(d, IDCANCEL)), commands[2].lParam);
    EnableWindow(GetDlgItem(d, IDOK), FALSE);
    SetFocus(GetDlgItem(d, 30));  // the click took the focus to the button
    PressIn(d, VK_RETURN);
    EXPECT_EQ(4u, Commands().size());

    TemplateBytes bare(kPopupDialog | WS_VISIBLE, 80, 40);
    bare.Item(Push(u"x", 40, BS_AUTORADIOBUTTON, 0, 0));
    g_procLog.clear();
    HWND other = Modeless(bare);
    PressIn(other, VK_RETURN);
    ASSERT_EQ((std::vector<WPARAM>{IDOK}), Commands());
    EXPECT_EQ(0, ProcMessages(WM_COMMAND)[0].lParam);
    MSG foreign{d, WM_APP, 0, 0, 0, {}};
    EXPECT_FALSE(IsDialogMessageA(other, &foreign));
}

// The focused control is remembered while the dialog is inactive and gets the focus back;
// focusing the dialog itself hands the focus to its first control.
TEST_F(DialogKeysTest, FocusReturnsToTheLastControlOnActivation) {
    HWND d = MakeForm();
    SetFocus(GetDlgItem(d, 21));
    HWND other = Popup();
    EXPECT_EQ(other, GetFocus());
    SetActiveWindow(d);
    EXPECT_EQ(GetDlgItem(d, 21), GetFocus());
    SetFocus(d);
    EXPECT_EQ(GetDlgItem(d, IDOK), GetFocus());
}

// ---- Modal dialogs -------------------------------------------------------------------------

class ModalTest : public DialogTest {
protected:
    ModalTest() : m_owner(Popup()) {
        m_bytes.Item(Push(u"OK", IDOK, BS_DEFPUSHBUTTON, 0, 0))
            .Item(Push(u"Cancel", IDCANCEL, 0, 0, 20));
    }
    INT_PTR Run(TemplateBytes& bytes) {
        const INT_PTR result =
            DialogBoxIndirectParamA(nullptr, bytes.Get(), m_owner, &ScriptedProc, 0);
        Display().SetIdleHandler({});
        return result;
    }
    HWND m_owner;
    TemplateBytes m_bytes{kPopupDialog | WS_VISIBLE, 100, 60};
};

// The owner is disabled for the whole run and enabled again before the dialog is destroyed,
// so that it is active again; the result is EndDialog's.
TEST_F(ModalTest, RunDisablesTheOwnerAndReturnsTheResult) {
    bool ownerEnabledInInit = true;
    bool ownerEnabledAtDestroy = false;
    HWND dialog = nullptr;
    g_procHandlers[WM_INITDIALOG] = [&](HWND hwnd, WPARAM, LPARAM) {
        dialog = hwnd;
        ownerEnabledInInit = IsWindowEnabled(m_owner);
        return TRUE;
    };
    g_procHandlers[WM_COMMAND] = [](HWND hwnd, WPARAM wParam, LPARAM) {
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(hwnd, 42);
        return TRUE;
    };
    g_procHandlers[WM_DESTROY] = [&](HWND, WPARAM, LPARAM) {
        ownerEnabledAtDestroy = IsWindowEnabled(m_owner);
        return FALSE;
    };
    int idles = 0;
    Display().SetIdleHandler([&] {
        if (++idles == 1)
            Display().Press(VK_ESCAPE);
    });
    EXPECT_EQ(42, Run(m_bytes));
    EXPECT_FALSE(ownerEnabledInInit);
    EXPECT_TRUE(ownerEnabledAtDestroy);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(m_owner, GetActiveWindow());
}

// A modal dialog without WS_VISIBLE is shown once the queue first runs empty; EndDialog
// during WM_INITDIALOG ends it before it is ever shown.
TEST_F(ModalTest, DialogIsShownAtTheFirstIdleMomentUnlessEndedFirst) {
    TemplateBytes hidden(kPopupDialog, 100, 60);
    HWND dialog = nullptr;
    g_procHandlers[WM_INITDIALOG] = [&](HWND hwnd, WPARAM, LPARAM) {
        dialog = hwnd;
        return TRUE;
    };
    bool visibleWhenIdle = false;
    Display().SetIdleHandler([&] {
        visibleWhenIdle = IsWindowVisible(dialog);
        EndDialog(dialog, 7);
        Display().Advance(1);
    });
    EXPECT_EQ(7, Run(hidden));
    EXPECT_TRUE(visibleWhenIdle);

    g_procLog.clear();
    g_procHandlers[WM_INITDIALOG] = [](HWND hwnd, WPARAM, LPARAM) {
        EndDialog(hwnd, 3);
        return TRUE;
    };
    EXPECT_EQ(3, Run(m_bytes));
    EXPECT_TRUE(ProcMessages(WM_SHOWWINDOW).empty());
    EXPECT_TRUE(IsWindowEnabled(m_owner));
}

// WM_QUIT ends the loop and goes back to the queue for the loop outside.
TEST_F(ModalTest, QuitEndsTheLoopAndIsPostedAgain) {
    Display().SetIdleHandler([&] {
        PostQuitMessage(5);
        Display().Advance(1);
    });
    EXPECT_EQ(0, Run(m_bytes));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(5u, msg.wParam);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
}

// On a modeless dialog EndDialog only hides it.
TEST_F(ModalTest, EndDialogOnAModelessDialogHidesIt) {
    HWND dialog = Modeless(m_bytes, m_owner);
    Pump();
    EXPECT_TRUE(EndDialog(dialog, 1));
    Pump();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(0, SendMessageA(dialog, DM_GETDEFID, 0, 0));
    EXPECT_EQ(m_owner, GetActiveWindow());
}

// ---- Items by id ---------------------------------------------------------------------------

TEST_F(DialogTest, ItemIntegersReadAsWin32Reads) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    bytes.Item({kEdit, u"", WS_VISIBLE, 0, 0, 60, 12, 1, {}});
    HWND d = Modeless(bytes);
    const struct {
        const char* text;
        BOOL isSigned;
        UINT value;
        BOOL translated;
    } cases[] = {
        {"123", FALSE, 123, TRUE},
        {"  -45 ", TRUE, static_cast<UINT>(-45), TRUE},
        {"-45", FALSE, 0, FALSE},
        {"4294967295", FALSE, 4294967295u, TRUE},
        {"4294967296", FALSE, 0, FALSE},
        {"2147483648", TRUE, 0, FALSE},
        {"-2147483648", TRUE, 0x80000000u, TRUE},
        {"12ab", FALSE, 0, FALSE},
        {"", FALSE, 0, FALSE},
        {"+5", FALSE, 0, FALSE},
    };
    for (const auto& c : cases) {
        SetDlgItemTextA(d, 1, c.text);
        BOOL translated = -1;
        EXPECT_EQ(c.value, GetDlgItemInt(d, 1, &translated, c.isSigned)) << c.text;
        EXPECT_EQ(c.translated, translated) << c.text;
    }
    char text[16];
    EXPECT_TRUE(SetDlgItemInt(d, 1, static_cast<UINT>(-7), TRUE));
    GetDlgItemTextA(d, 1, text, sizeof text);
    EXPECT_STREQ("-7", text);
    SetDlgItemInt(d, 1, static_cast<UINT>(-7), FALSE);
    GetDlgItemTextA(d, 1, text, sizeof text);
    EXPECT_STREQ("4294967289", text);
    EXPECT_EQ(0u, GetDlgItemTextA(d, 99, text, sizeof text));
    EXPECT_STREQ("", text);
    EXPECT_FALSE(SetDlgItemTextA(d, 99, "x"));
}

// CheckRadioButton sets every button whose id lies in the range, and only those.
TEST_F(DialogTest, RadioHelpersSetEveryButtonInTheRange) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    for (DWORD id : {10u, 11u, 12u, 13u})
        bytes.Item(Push(u"r", id, BS_RADIOBUTTON, 0, 0));
    HWND d = Modeless(bytes);
    CheckDlgButton(d, 13, BST_CHECKED);
    EXPECT_TRUE(CheckRadioButton(d, 10, 12, 11));
    EXPECT_EQ((std::vector<UINT>{BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_CHECKED}),
              (std::vector<UINT>{IsDlgButtonChecked(d, 10), IsDlgButtonChecked(d, 11),
                                 IsDlgButtonChecked(d, 12), IsDlgButtonChecked(d, 13)}));
    EXPECT_FALSE(CheckDlgButton(d, 99, BST_CHECKED));
}

// ---- The program's own templates -----------------------------------------------------------

const std::vector<char>& ProgramResources() {
    static const std::vector<char> bytes = [] {
        std::ifstream in(TINTARO_RES_FILE, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

class ProgramDialogTest : public DialogTest {
protected:
    ProgramDialogTest() {
        winapi::SetModuleResources(std::as_bytes(std::span(ProgramResources())));
    }
    HWND Open(int id) {
        return CreateDialogParamA(nullptr, MAKEINTRESOURCEA(id), nullptr, &ScriptedProc, 0);
    }
    // The framework gives these windows a fixed outer size.
    static void Resize(HWND dialog, int width, int height) {
        SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }
};

// The main window: at the template's size its client area is the template's in 6 x 12 units;
// at the framework's 202 x 200 the exit and dialog buttons show and the two GET buttons lie
// below the client area. The tab order runs through the push buttons that have WS_TABSTOP.
TEST_F(ProgramDialogTest, MainWindowAtTemplateAndFixedSize) {
    HWND d = Open(IDD_PICKER);
    ASSERT_NE(d, nullptr);
    Pump();
    EXPECT_EQ((RECT{0, 0, 198, 218}), ClientRectOf(d));
    EXPECT_EQ((RECT{104, 149, 190, 173}), PlaceOf(GetDlgItem(d, IDOK)));
    EXPECT_EQ((RECT{8, 150, 92, 173}), PlaceOf(GetDlgItem(d, IDC_SLIDERS)));
    Resize(d, 202, 200);
    const RECT client = ClientRectOf(d);
    EXPECT_EQ((RECT{0, 0, 196, 175}), client);
    EXPECT_LE(PlaceOf(GetDlgItem(d, IDOK)).bottom, client.bottom);
    EXPECT_LE(PlaceOf(GetDlgItem(d, IDC_SLIDERS)).bottom, client.bottom);
    EXPECT_GE(PlaceOf(GetDlgItem(d, IDC_GETCOLOR)).top, client.bottom);
    EXPECT_GE(PlaceOf(GetDlgItem(d, IDC_GETPALETTECOLOR)).top, client.bottom);

    EXPECT_EQ(GetDlgItem(d, IDOK), GetFocus());
    EXPECT_EQ(MAKELONG(IDOK, DC_HASDEFID), SendMessageA(d, DM_GETDEFID, 0, 0));
    std::vector<int> tabOrder;
    HWND at = GetDlgItem(d, IDOK);
    do {
        at = GetNextDlgTabItem(d, at, FALSE);
        tabOrder.push_back(GetDlgCtrlID(at));
    } while (at != GetDlgItem(d, IDOK) && tabOrder.size() < 20);
    EXPECT_EQ((std::vector<int>{IDC_COPY, IDC_SLIDERS, IDC_ZOOM, IDC_PALETTE, IDOK}), tabOrder);
}

// The output edit (ES_MULTILINE | ES_WANTRETURN) keeps Enter; the default button is not
// clicked. One line is all the edit shows and it does not scroll down, so the new line is
// refused with EN_MAXTEXT, as Win32's edit refuses it.
TEST_F(ProgramDialogTest, OutputEditKeepsEnter) {
    HWND d = Open(IDD_PICKER);
    Pump();
    SetFocus(GetDlgItem(d, IDC_OUTPUT));
    g_procLog.clear();
    PressIn(d, VK_RETURN);
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(IDC_OUTPUT, EN_MAXTEXT)}), Commands());
}

// The palette's two radio buttons form one group: an arrow moves to the other and checks it,
// and the button unchecks its partner.
TEST_F(ProgramDialogTest, PaletteRadioButtonsFollowTheArrows) {
    HWND d = Open(IDD_PALETTE);
    ShowWindow(d, SW_SHOW);
    CheckRadioButton(d, IDC_PALETTE_COPY, IDC_PALETTE_REGISTER, IDC_PALETTE_COPY);
    SetFocus(GetDlgItem(d, IDC_PALETTE_COPY));
    PressIn(d, VK_DOWN);
    EXPECT_EQ(GetDlgItem(d, IDC_PALETTE_REGISTER), GetFocus());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, IDC_PALETTE_REGISTER));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(d, IDC_PALETTE_COPY));
    PressIn(d, VK_DOWN);
    EXPECT_EQ(GetDlgItem(d, IDC_PALETTE_COPY), GetFocus());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, IDC_PALETTE_COPY));
}

// The slider window at 197 x 200: bars and value texts show, the transfer button does not.
// The About box's icon static shows the program icon, named by ordinal in its template.
TEST_F(ProgramDialogTest, SliderWindowAndAboutBox) {
    HWND d = Open(IDD_SLIDERS);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ((RECT{0, 0, 191, 233}), ClientRectOf(d));  // 7 x 12 units
    Resize(d, 197, 200);
    const RECT client = ClientRectOf(d);
    EXPECT_EQ((RECT{0, 0, 191, 175}), client);
    EXPECT_EQ((RECT{35, 120, 158, 135}), PlaceOf(GetDlgItem(d, IDC_SLIDER_RED)));
    for (int id : {IDC_SLIDER_RED, IDC_SLIDER_GREEN, IDC_SLIDER_BLUE, IDC_SLIDER_RED_TEXT,
                   IDC_SLIDER_GREEN_TEXT, IDC_SLIDER_BLUE_TEXT})
        EXPECT_LE(PlaceOf(GetDlgItem(d, id)).bottom, client.bottom) << id;
    EXPECT_GE(PlaceOf(GetDlgItem(d, IDC_TRANSFER)).top, client.bottom);

    HWND icon = GetWindow(Open(IDD_ABOUTBOX), GW_CHILD);
    EXPECT_EQ(reinterpret_cast<LRESULT>(
                  LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
              SendMessageA(icon, STM_GETICON, 0, 0));
    EXPECT_EQ((RECT{9, 11, 9 + 32, 11 + 32}), PlaceOf(icon));
}

// Each template drawn on the headless screen, at its own size and at the size the framework
// gives the main and slider windows, kept as a PNG beside the build for a person to look at:
// the face colour fills the client area and the controls draw over it.
TEST_F(ProgramDialogTest, TemplatesRenderOnTheHeadlessScreen) {
    const std::filesystem::path folder =
        std::filesystem::path(TINTARO_RES_FILE).parent_path().parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t facePixel = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    const struct {
        int id;
        SIZE fixed;  // 0 x 0: the template's own size
    } shots[] = {{IDD_ABOUTBOX, {}}, {IDD_PICKER, {}},  {IDD_PICKER, {202, 200}},
                 {IDD_ZOOM, {}},     {IDD_SLIDERS, {}}, {IDD_SLIDERS, {197, 200}},
                 {IDD_PALETTE, {}}};
    for (const auto& shot : shots) {
        HWND d = Open(shot.id);
        ASSERT_NE(d, nullptr) << shot.id;
        SetWindowPos(d, HWND_TOP, 20, 20, shot.fixed.cx, shot.fixed.cy,
                     (shot.fixed.cx == 0 ? SWP_NOSIZE : 0) | SWP_SHOWWINDOW);
        Pump();
        RECT window;
        GetWindowRect(d, &window);
        const display::Rect area{window.left, window.top, window.right, window.bottom};
        std::string name = "dialog_" + std::to_string(shot.id);
        if (shot.fixed.cx != 0)
            name += "_" + std::to_string(shot.fixed.cx) + "x" + std::to_string(shot.fixed.cy);
        EXPECT_TRUE(screenshot::WritePng((folder / (name + ".png")).string(),
                                         Display().Capture(area), area.Width(), area.Height()));
        POINT corner{1, 1};
        ClientToScreen(d, &corner);
        EXPECT_EQ(facePixel, ScreenPixel(corner.x, corner.y)) << name;
        if (HWND first = GetWindow(d, GW_CHILD)) {
            RECT drawn;
            GetWindowRect(first, &drawn);
            bool marked = false;
            for (int y = drawn.top; y < drawn.bottom && !marked; ++y)
                for (int x = drawn.left; x < drawn.right && !marked; ++x)
                    marked = ScreenPixel(x, y) != facePixel;
            EXPECT_TRUE(marked) << name;
        }
        DestroyWindow(d);
    }
}

}  // namespace
