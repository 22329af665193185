// The dialog manager on the headless display: dialogs made from hand-built templates in both
// forms, DefDlgProc's defaults, the keyboard interface, the modal loop and the item helpers.
#include <windows.h>

#include <cstdint>
#include <cstring>
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

// ---- Templates built by hand --------------------------------------------------------------

using Field = std::variant<std::u16string, WORD>;

struct ItemSpec {
    Field windowClass;
    Field title;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::vector<std::uint8_t> creationData;
};

class TemplateBytes {
public:
    TemplateBytes(DWORD style, short cx, short cy, short x = 0, short y = 0)
        : m_style(style), m_x(x), m_y(y), m_cx(cx), m_cy(cy) {}

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
    // The bytes, DLGTEMPLATEEX or the plain DLGTEMPLATE.
    LPCDLGTEMPLATEA Get(bool extended = true) {
        m_bytes.clear();
        extended ? WriteExtended() : WritePlain();
        return reinterpret_cast<LPCDLGTEMPLATEA>(m_bytes.data());
    }
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

private:
    void U16(std::uint32_t v) {
        m_bytes.push_back(v & 0xFF);
        m_bytes.push_back((v >> 8) & 0xFF);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Text(const std::u16string& text) {
        for (char16_t c : text)
            U16(c);
        U16(0);
    }
    void Put(const Field& field) {
        if (const WORD* ordinal = std::get_if<WORD>(&field)) {
            U16(0xFFFF);
            U16(*ordinal);
        } else {
            Text(std::get<std::u16string>(field));
        }
    }
    void Align() { m_bytes.resize((m_bytes.size() + 3) / 4 * 4); }
    void Tail(const ItemSpec& item) {
        Put(item.windowClass);
        Put(item.title);
        U16(static_cast<std::uint32_t>(item.creationData.size()));
        m_bytes.insert(m_bytes.end(), item.creationData.begin(), item.creationData.end());
    }
    void Header() {
        U16(static_cast<std::uint32_t>(m_items.size()));
        for (short v : {m_x, m_y, m_cx, m_cy})
            U16(static_cast<std::uint16_t>(v));
        U16(0);  // no menu
        U16(0);  // the dialog class
        Text(u"Dialog");
    }
    void WriteExtended() {
        U16(1);
        U16(0xFFFF);
        U32(0);
        U32(0);
        U32(m_style);
        Header();
        if (m_style & DS_SETFONT) {
            U16(m_points);
            U16(FW_NORMAL);
            U16(0x8000);  // not italic, SHIFTJIS_CHARSET
            Text(m_face);
        }
        for (const ItemSpec& item : m_items) {
            Align();
            U32(0);
            U32(0);
            U32(item.style);
            for (short v : {item.x, item.y, item.cx, item.cy})
                U16(static_cast<std::uint16_t>(v));
            U32(item.id);
            Tail(item);
        }
    }
    void WritePlain() {
        U32(m_style);
        U32(0);
        Header();
        if (m_style & DS_SETFONT) {
            U16(m_points);
            Text(m_face);
        }
        for (const ItemSpec& item : m_items) {
            Align();
            U32(item.style);
            U32(0);
            for (short v : {item.x, item.y, item.cx, item.cy})
                U16(static_cast<std::uint16_t>(v));
            U16(item.id);
            Tail(item);
        }
    }

    DWORD m_style;
    short m_x, m_y, m_cx, m_cy;
    WORD m_points = 0;
    std::u16string m_face;
    std::vector<ItemSpec> m_items;
    std::vector<std::uint8_t> m_bytes;
};

// ---- Stand-in controls with the dialog codes of Win32's ----------------------------------

struct ControlRecord {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<ControlRecord> g_controlLog;
std::map<HWND, std::vector<std::uint8_t>> g_creationData;

UINT ButtonCode(HWND hwnd) {
    switch (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) {
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_PUSHBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        default:
            return DLGC_BUTTON;
    }
}

LRESULT CALLBACK StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_controlLog.push_back({hwnd, message, wParam, lParam});
    char kind[32] = {};
    GetClassNameA(hwnd, kind, sizeof kind);
    const bool button = std::strcmp(kind, "TestButton") == 0;
    switch (message) {
        case WM_CREATE:
            if (const auto* data = static_cast<const std::uint8_t*>(
                    reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams))
                g_creationData[hwnd].assign(data, data + 2 + (data[0] | data[1] << 8));
            return 0;
        case WM_GETDLGCODE:
            if (button)
                return ButtonCode(hwnd);
            if (std::strcmp(kind, "TestStatic") == 0)
                return DLGC_STATIC;
            if (auto* msg = reinterpret_cast<MSG*>(lParam);
                msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
                (GetWindowLongA(hwnd, GWL_STYLE) & ES_WANTRETURN))
                return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_HASSETSEL;
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        case BM_SETSTYLE: {
            const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
            SetWindowLongA(hwnd, GWL_STYLE, (style & ~BS_TYPEMASK) | static_cast<LONG>(wParam));
            return 0;
        }
        case BM_GETCHECK:
            return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        case BM_SETCHECK:
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            return 0;
        case BM_CLICK:
            if ((GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SetWindowLongPtrA(hwnd, GWLP_USERDATA, BST_CHECKED);
            SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void RegisterStandIns() {
    g_controlLog.clear();
    g_creationData.clear();
    for (const char* name : {"TestButton", "TestEdit", "TestStatic"}) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &StandInProc;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
}

ItemSpec Button(std::u16string title, DWORD id, DWORD style, short x, short y) {
    return {u"TestButton",
            std::move(title),
            static_cast<DWORD>(WS_VISIBLE | WS_TABSTOP | style),
            x,
            y,
            40,
            14,
            id,
            {}};
}
ItemSpec Edit(DWORD id, DWORD style, short x, short y) {
    return {u"TestEdit", u"text", static_cast<DWORD>(WS_VISIBLE | WS_TABSTOP | style), x, y, 60, 12,
            id,          {}};
}
ItemSpec Label(std::u16string title, DWORD id, short x, short y) {
    return {u"TestStatic", std::move(title), WS_VISIBLE, x, y, 40, 8, id, {}};
}

std::vector<ControlRecord> ControlMessages(UINT message) {
    std::vector<ControlRecord> found;
    for (const ControlRecord& r : g_controlLog)
        if (r.message == message)
            found.push_back(r);
    return found;
}

// ---- A dialog procedure the tests script ---------------------------------------------------

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

class DialogTest : public HeadlessTest {
protected:
    DialogTest() {
        RegisterStandIns();
        g_procLog.clear();
        g_procHandlers.clear();
    }

    HWND Modeless(TemplateBytes& bytes, HWND parent = nullptr, LPARAM param = 0) {
        return CreateDialogIndirectParamA(nullptr, bytes.Get(), parent, &ScriptedProc, param);
    }

    // A message loop that gives the dialog its keyboard interface.
    void PumpDialog(HWND dialog) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageA(dialog, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    void PressIn(HWND dialog, int vk, const char* text = "") {
        Display().Press(vk, text);
        PumpDialog(dialog);
    }

    std::vector<WPARAM> Commands() {
        std::vector<WPARAM> commands;
        for (const ProcRecord& r : ProcMessages(WM_COMMAND))
            commands.push_back(r.wParam);
        return commands;
    }
};

RECT ClientRectOf(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
}

// Control rectangle in the dialog's client coordinates.
RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// ---- Making dialogs ------------------------------------------------------------------------

// The template's size is the client area's, in units of the template font: 6 x 12 for the
// fixed Gothic at 9 pt, whose LOGFONT has lfHeight -12.
TEST_F(DialogTest, TemplateSizeIsTheClientAreaInFontUnits) {
    TemplateBytes bytes(kPopupDialog, 132, 145);
    bytes.Font(9, u"ＭＳ ゴシック")
        .Item({u"TestButton", u"終了", WS_VISIBLE | BS_DEFPUSHBUTTON, 69, 99, 57, 16, IDOK, {}});
    for (bool extended : {true, false}) {
        HWND dialog =
            CreateDialogIndirectParamA(nullptr, bytes.Get(extended), nullptr, &ScriptedProc, 0);
        ASSERT_NE(dialog, nullptr);
        const RECT client = ClientRectOf(dialog);
        EXPECT_EQ(198, client.right);   // MulDiv(132, 6, 4)
        EXPECT_EQ(218, client.bottom);  // MulDiv(145, 12, 8), 217.5 rounded
        RECT window;
        GetWindowRect(dialog, &window);
        EXPECT_EQ(198 + 6, window.right - window.left);
        EXPECT_EQ(218 + 25, window.bottom - window.top);
        EXPECT_EQ(WS_EX_DLGMODALFRAME, GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
        const RECT ok = PlaceOf(GetDlgItem(dialog, IDOK));
        EXPECT_EQ((RECT{104, 149, 104 + 86, 149 + 24}), ok);

        LOGFONTA font{};
        ASSERT_EQ(static_cast<int>(sizeof font),
                  GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)),
                             sizeof font, &font));
        EXPECT_EQ(-12, font.lfHeight);
        EXPECT_STREQ("ＭＳ ゴシック", font.lfFaceName);
        RECT units{0, 0, 4, 8};
        EXPECT_TRUE(MapDialogRect(dialog, &units));
        EXPECT_EQ((RECT{0, 0, 6, 12}), units);
        DestroyWindow(dialog);
    }
}

// Without DS_SETFONT the system font's 8 x 16 units apply, as GetDialogBaseUnits reports.
TEST_F(DialogTest, DialogWithoutFontUsesSystemUnits) {
    EXPECT_EQ(MAKELONG(8, 16), GetDialogBaseUnits());
    TemplateBytes bytes(kPopupDialog, 100, 50);
    HWND dialog = Modeless(bytes);
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
    HWND owner = CreateWindowExA(0, "TestEdit", "owner", WS_POPUP | WS_CAPTION, 100, 80, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
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

// Controls come in template order with their ids, styles, texts and creation data, each
// hearing of the dialog font; then WM_INITDIALOG names the first usable tab stop.
TEST_F(DialogTest, ControlsAreCreatedInOrderBeforeInitDialog) {
    bool visibleDuringInit = true;
    g_procHandlers[WM_INITDIALOG] = [&](HWND hwnd, WPARAM, LPARAM) {
        visibleDuringInit = IsWindowVisible(hwnd);
        return TRUE;
    };
    // The button lacks WS_VISIBLE, the first edit is disabled.
    TemplateBytes withHidden(kPopupDialog | WS_VISIBLE, 120, 80);
    withHidden.Font(9, u"ＭＳ Ｐゴシック")
        .Item(Label(u"label", static_cast<DWORD>(-1), 4, 4))
        .Item(Edit(10, WS_DISABLED, 4, 14))
        .Item({u"TestButton", u"hidden", WS_TABSTOP, 4, 30, 40, 14, 11, {}})
        .Item(Edit(12, 0, 4, 50))
        .Item({u"TestStatic", u"", WS_VISIBLE, 1, 2, 3, 4, 13, {0xAB, 0xCD, 0xEF}});
    HWND dialog = Modeless(withHidden, nullptr, 0x1234);
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
    EXPECT_EQ((std::vector<std::uint8_t>{3, 0, 0xAB, 0xCD, 0xEF}),
              g_creationData[GetDlgItem(dialog, 13)]);

    const auto fonts = ControlMessages(WM_SETFONT);
    ASSERT_EQ(5u, fonts.size());
    EXPECT_EQ(static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0)), fonts[0].wParam);
    // The dialog procedure heard of the font first.
    ASSERT_FALSE(g_procLog.empty());
    EXPECT_EQ(static_cast<UINT>(WM_SETFONT), g_procLog.front().message);
    const auto init = ProcMessages(WM_INITDIALOG);
    ASSERT_EQ(1u, init.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(edit), init[0].wParam);
    EXPECT_EQ(0x1234, init[0].lParam);
    EXPECT_FALSE(visibleDuringInit);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(edit, GetFocus());
    // The first focus selects an edit's text.
    const auto selections = ControlMessages(EM_SETSEL);
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(edit, selections.back().hwnd);
    EXPECT_EQ(-1, selections.back().lParam);
}

// One control that cannot be made fails the whole dialog, unless DS_NOFAILCREATE.
TEST_F(DialogTest, FailingControlFailsTheDialog) {
    TemplateBytes bytes(kPopupDialog, 100, 50);
    bytes.Item(Edit(1, 0, 0, 0)).Item({u"NoSuchClass", u"", WS_VISIBLE, 0, 0, 5, 5, 2, {}});
    SetLastError(0);
    EXPECT_EQ(nullptr, Modeless(bytes));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS), GetLastError());
    EXPECT_EQ(nullptr, GetTopWindow(nullptr));

    TemplateBytes tolerant(kPopupDialog | DS_NOFAILCREATE, 100, 50);
    tolerant.Item(Edit(1, 0, 0, 0)).Item({u"NoSuchClass", u"", WS_VISIBLE, 0, 0, 5, 5, 2, {}});
    HWND dialog = Modeless(tolerant);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(nullptr, GetDlgItem(dialog, 1));
    EXPECT_EQ(nullptr, GetDlgItem(dialog, 2));
}

TEST_F(DialogTest, BadArgumentsFailCleanly) {
    SetLastError(0);
    EXPECT_EQ(nullptr, CreateDialogIndirectParamA(nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

    // A template that ends inside its last item is refused, in either form.
    TemplateBytes bytes(kPopupDialog, 100, 50);
    bytes.Item(Edit(1, 0, 0, 0));
    for (bool extended : {true, false}) {
        bytes.Get(extended);
        std::vector<std::uint8_t> cut = bytes.Bytes();
        cut.resize(cut.size() - 6);
        EXPECT_FALSE(winapi::dialog::ParseAnyDialogTemplate(cut));
        EXPECT_TRUE(winapi::dialog::ParseAnyDialogTemplate(bytes.Bytes()));
    }

    const HWND stale = reinterpret_cast<HWND>(0x7FFF0);
    TemplateBytes good(kPopupDialog, 10, 10);
    EXPECT_EQ(nullptr, CreateDialogIndirectParamA(nullptr, good.Get(), stale, nullptr, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    EXPECT_EQ(0, DialogBoxIndirectParamA(nullptr, good.Get(), stale, nullptr, 0));
    EXPECT_EQ(-1, DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, nullptr, 0));
    EXPECT_EQ(nullptr, CreateDialogParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, nullptr, 0));

    HWND plain = CreateWindowExA(0, "TestEdit", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_FALSE(EndDialog(plain, 1));
    EXPECT_EQ(kErrorWindowNotDialog, GetLastError());
    RECT rect{};
    EXPECT_FALSE(MapDialogRect(plain, &rect));
    EXPECT_FALSE(EndDialog(stale, 1));
    EXPECT_FALSE(IsDialogMessageA(plain, nullptr));
}

// ---- DefDlgProc ----------------------------------------------------------------------------

// A dialog procedure answers in DWLP_MSGRESULT; WM_CTLCOLOR* answers are its return value.
TEST_F(DialogTest, DialogProcedureAnswersThroughMsgResult) {
    TemplateBytes bytes(kPopupDialog, 40, 20);
    HWND dialog = Modeless(bytes);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    g_procHandlers[WM_APP] = [](HWND hwnd, WPARAM wParam, LPARAM) {
        if (wParam)
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1234);
        return TRUE;
    };
    g_procHandlers[WM_CTLCOLORDLG] = [&](HWND, WPARAM, LPARAM) {
        return reinterpret_cast<INT_PTR>(red);
    };
    EXPECT_EQ(1234, SendMessageA(dialog, WM_APP, 1, 0));
    EXPECT_EQ(0, SendMessageA(dialog, WM_APP, 0, 0));  // reset before each message
    EXPECT_EQ(reinterpret_cast<LRESULT>(red), SendMessageA(dialog, WM_CTLCOLORDLG, 0, 0));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&ScriptedProc), GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    SetWindowLongPtrA(dialog, DWLP_USER, 77);
    EXPECT_EQ(77, GetWindowLongPtrA(dialog, DWLP_USER));
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(nullptr, WC_DIALOG, &wc));
    EXPECT_EQ(DLGWINDOWEXTRA, wc.cbWndExtra);
    EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS | CS_SAVEBITS), wc.style);
    EXPECT_EQ(nullptr, wc.hbrBackground);
}

// The background is the WM_CTLCOLORDLG brush, or the button face when the procedure gives none.
TEST_F(DialogTest, BackgroundIsPaintedWithTheCtlColorBrush) {
    TemplateBytes bytes(kPopupDialog | WS_VISIBLE, 40, 20, 50, 50);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    g_procHandlers[WM_CTLCOLORDLG] = [&](HWND, WPARAM, LPARAM) {
        return reinterpret_cast<INT_PTR>(blue);
    };
    HWND painted = Modeless(bytes);
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
}

// The last BS_DEFPUSHBUTTON is the default; DM_SETDEFID moves the id and the look.
TEST_F(DialogTest, DefaultPushButtonIdAndLook) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    bytes.Item(Button(u"a", 5, BS_DEFPUSHBUTTON, 0, 0))
        .Item(Button(u"b", 6, BS_DEFPUSHBUTTON, 0, 20))
        .Item(Button(u"c", 7, 0, 0, 40));
    HWND dialog = Modeless(bytes);
    EXPECT_EQ(MAKELONG(6, DC_HASDEFID), SendMessageA(dialog, DM_GETDEFID, 0, 0));
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(GetDlgItem(dialog, 5), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_TRUE(SendMessageA(dialog, DM_SETDEFID, 7, 0));
    EXPECT_EQ(MAKELONG(7, DC_HASDEFID), SendMessageA(dialog, DM_GETDEFID, 0, 0));
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(GetDlgItem(dialog, 6), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(dialog, 7), GWL_STYLE) & BS_TYPEMASK);

    TemplateBytes none(kPopupDialog, 100, 60);
    EXPECT_EQ(0, SendMessageA(Modeless(none), DM_GETDEFID, 0, 0));
}

// WM_CLOSE posts IDCANCEL with the Cancel button; a disabled Cancel button refuses.
TEST_F(DialogTest, CloseAsksForCancelThroughTheQueue) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    bytes.Item(Button(u"Cancel", IDCANCEL, 0, 0, 0));
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
    EXPECT_TRUE(IsWindow(dialog));
}

// ---- Focus and the keyboard ----------------------------------------------------------------

class DialogKeysTest : public DialogTest {
protected:
    // ok (default) | edit | apply | disabled | hidden | radio group of three | cancel
    HWND MakeForm() {
        m_bytes.Item(Button(u"OK", IDOK, BS_DEFPUSHBUTTON, 0, 0))
            .Item(Edit(20, ES_MULTILINE, 0, 16))
            .Item(Button(u"&Apply", 21, 0, 0, 32))
            .Item(Button(u"off", 22, WS_DISABLED, 0, 48))
            .Item({u"TestButton", u"unseen", WS_TABSTOP, 0, 64, 40, 14, 23, {}})
            .Item(Button(u"r1", 30, BS_AUTORADIOBUTTON | WS_GROUP, 50, 0))
            .Item(Button(u"r2", 31, BS_AUTORADIOBUTTON, 50, 16))
            .Item(Button(u"r3", 32, BS_AUTORADIOBUTTON, 50, 32))
            .Item(Button(u"Cancel", IDCANCEL, WS_GROUP, 50, 48));
        HWND dialog = Modeless(m_bytes);
        Pump();
        return dialog;
    }
    TemplateBytes m_bytes{kPopupDialog | WS_VISIBLE, 120, 90};
};

TEST_F(DialogKeysTest, TabOrderSkipsUnusableControlsAndWraps) {
    HWND d = MakeForm();
    auto item = [&](int id) { return GetDlgItem(d, id); };
    EXPECT_EQ(item(IDOK), GetNextDlgTabItem(d, nullptr, FALSE));
    EXPECT_EQ(nullptr, GetNextDlgTabItem(d, nullptr, TRUE));  // as Windows answers
    EXPECT_EQ(item(IDOK), GetNextDlgTabItem(d, d, FALSE));
    EXPECT_EQ(item(30), GetNextDlgTabItem(d, item(21), FALSE));  // past 22 (off) and 23 (hidden)
    EXPECT_EQ(item(IDOK), GetNextDlgTabItem(d, item(IDCANCEL), FALSE));
    EXPECT_EQ(item(IDCANCEL), GetNextDlgTabItem(d, item(IDOK), TRUE));
    // Groups: 30..32 and IDCANCEL on its own; the first group runs from IDOK to 23.
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
    auto item = [&](int id) { return GetDlgItem(d, id); };
    auto look = [&](int id) { return GetWindowLongA(item(id), GWL_STYLE) & BS_TYPEMASK; };
    ASSERT_EQ(item(IDOK), GetFocus());
    g_controlLog.clear();
    PressIn(d, VK_TAB);
    EXPECT_EQ(item(20), GetFocus());
    const auto selections = ControlMessages(EM_SETSEL);
    ASSERT_EQ(1u, selections.size());
    EXPECT_EQ(0u, selections[0].wParam);
    EXPECT_EQ(-1, selections[0].lParam);
    EXPECT_TRUE(ControlMessages(WM_CHAR).empty());  // the Tab was not dispatched
    PressIn(d, VK_TAB);
    EXPECT_EQ(item(21), GetFocus());
    EXPECT_EQ(BS_DEFPUSHBUTTON, look(21));
    EXPECT_EQ(BS_PUSHBUTTON, look(IDOK));
    Display().KeyDown(VK_SHIFT);
    PressIn(d, VK_TAB);
    Display().KeyUp(VK_SHIFT);
    EXPECT_EQ(item(20), GetFocus());
    EXPECT_EQ(BS_PUSHBUTTON, look(21));
    EXPECT_EQ(BS_DEFPUSHBUTTON, look(IDOK));
}

// Arrows stay in the group; arriving at an automatic radio button checks it.
TEST_F(DialogKeysTest, ArrowsMoveWithinAGroupAndCheckRadioButtons) {
    HWND d = MakeForm();
    SetFocus(GetDlgItem(d, 30));
    PressIn(d, VK_DOWN);
    EXPECT_EQ(GetDlgItem(d, 31), GetFocus());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, 31));
    PressIn(d, VK_UP);
    PressIn(d, VK_UP);
    EXPECT_EQ(GetDlgItem(d, 32), GetFocus());
    EXPECT_EQ(MAKEWPARAM(32, BN_CLICKED), Commands().back());
}

// Enter clicks the focused push button, else the default button; Esc cancels.
TEST_F(DialogKeysTest, EnterAndEscapeCommand) {
    HWND d = MakeForm();
    SetFocus(GetDlgItem(d, 21));
    PressIn(d, VK_RETURN);
    SetFocus(GetDlgItem(d, 20));
    PressIn(d, VK_RETURN);
    PressIn(d, VK_ESCAPE);
    EXPECT_EQ(
        (std::vector<WPARAM>{MAKEWPARAM(21, BN_CLICKED), MAKEWPARAM(IDOK, BN_CLICKED), IDCANCEL}),
        Commands());
    const auto commands = ProcMessages(WM_COMMAND);
    EXPECT_EQ(reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)), commands[1].lParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(GetDlgItem(d, IDCANCEL)), commands[2].lParam);

    // A disabled default button takes no Enter; with no default at all Enter means IDOK.
    EnableWindow(GetDlgItem(d, IDOK), FALSE);
    PressIn(d, VK_RETURN);
    EXPECT_EQ(3u, Commands().size());
    TemplateBytes bare(kPopupDialog | WS_VISIBLE, 80, 40);
    bare.Item(Edit(20, 0, 0, 0));
    g_procLog.clear();
    HWND other = Modeless(bare);
    PressIn(other, VK_RETURN);
    ASSERT_EQ((std::vector<WPARAM>{IDOK}), Commands());
    EXPECT_EQ(0, ProcMessages(WM_COMMAND)[0].lParam);
}

// An edit that wants Enter (ES_WANTRETURN) gets it as a key and a character.
TEST_F(DialogKeysTest, ControlThatWantsEnterKeepsIt) {
    TemplateBytes bytes(kPopupDialog | WS_VISIBLE, 80, 40);
    bytes.Item(Button(u"OK", IDOK, BS_DEFPUSHBUTTON, 0, 0))
        .Item(Edit(20, ES_MULTILINE | ES_WANTRETURN, 0, 20));
    HWND d = Modeless(bytes);
    Pump();
    SetFocus(GetDlgItem(d, 20));
    g_controlLog.clear();
    PressIn(d, VK_RETURN);
    EXPECT_TRUE(Commands().empty());
    const auto chars = ControlMessages(WM_CHAR);
    ASSERT_EQ(1u, chars.size());
    EXPECT_EQ(static_cast<WPARAM>('\r'), chars[0].wParam);
}

// Alt+letter clicks the button whose text marks that letter; a label's letter focuses the
// control after it.
TEST_F(DialogKeysTest, MnemonicsClickButtonsAndFollowLabels) {
    m_bytes.Item(Label(u"&Name", 40, 80, 0)).Item(Edit(41, 0, 80, 10));
    HWND d = MakeForm();
    Display().KeyDown(VK_MENU);
    PressIn(d, 'A', "a");
    PressIn(d, 'N', "n");
    Display().KeyUp(VK_MENU);
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(21, BN_CLICKED)}), Commands());
    EXPECT_EQ(GetDlgItem(d, 41), GetFocus());
}

// The focused control is remembered while the dialog is inactive and gets the focus back.
TEST_F(DialogKeysTest, FocusReturnsToTheLastControlOnActivation) {
    HWND d = MakeForm();
    SetFocus(GetDlgItem(d, 21));
    HWND other = CreateWindowExA(0, "TestEdit", "", WS_POPUP | WS_VISIBLE, 300, 300, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(other, GetFocus());
    SetActiveWindow(d);
    EXPECT_EQ(GetDlgItem(d, 21), GetFocus());
    // Focusing the dialog itself hands the focus to a control.
    SetFocus(d);
    EXPECT_EQ(GetDlgItem(d, IDOK), GetFocus());
}

// IsDialogMessage takes every message of the dialog and its controls, and no other.
TEST_F(DialogKeysTest, MessagesOfOtherWindowsAreNotTaken) {
    HWND d = MakeForm();
    HWND other = CreateWindowExA(0, "TestEdit", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr,
                                 nullptr);
    MSG foreign{other, WM_APP, 0, 0, 0, {}};
    EXPECT_FALSE(IsDialogMessageA(d, &foreign));
    MSG own{GetDlgItem(d, 20), WM_APP, 7, 0, 0, {}};
    g_controlLog.clear();
    EXPECT_TRUE(IsDialogMessageA(d, &own));
    EXPECT_EQ(1u, ControlMessages(WM_APP).size());
}

// ---- Modal dialogs -------------------------------------------------------------------------

class ModalTest : public DialogTest {
protected:
    ModalTest() {
        m_owner = CreateWindowExA(0, "TestEdit", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10,
                                  10, 200, 150, nullptr, nullptr, nullptr, nullptr);
        m_bytes.Item(Button(u"OK", IDOK, BS_DEFPUSHBUTTON, 0, 0))
            .Item(Button(u"Cancel", IDCANCEL, 0, 0, 20));
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
    EXPECT_EQ(42, DialogBoxIndirectParamA(nullptr, m_bytes.Get(), m_owner, &ScriptedProc, 0));
    Display().SetIdleHandler({});
    EXPECT_FALSE(ownerEnabledInInit);
    EXPECT_TRUE(ownerEnabledAtDestroy);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(m_owner, GetActiveWindow());
}

// A modal dialog without WS_VISIBLE is shown once the queue first runs empty; the owner
// hears WM_ENTERIDLE while the loop waits.
TEST_F(ModalTest, DialogIsShownAtTheFirstIdleMoment) {
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
    EXPECT_EQ(7, DialogBoxIndirectParamA(nullptr, hidden.Get(), m_owner, &ScriptedProc, 0));
    Display().SetIdleHandler({});
    EXPECT_TRUE(visibleWhenIdle);
}

// WM_QUIT ends the loop and goes back to the queue for the loop outside.
TEST_F(ModalTest, QuitEndsTheLoopAndIsPostedAgain) {
    Display().SetIdleHandler([&] {
        PostQuitMessage(5);
        Display().Advance(1);
    });
    EXPECT_EQ(0, DialogBoxIndirectParamA(nullptr, m_bytes.Get(), m_owner, &ScriptedProc, 0));
    Display().SetIdleHandler({});
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(5u, msg.wParam);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
}

// EndDialog during WM_INITDIALOG: the dialog is never shown.
TEST_F(ModalTest, EndingDuringInitDialogNeverShows) {
    g_procHandlers[WM_INITDIALOG] = [](HWND hwnd, WPARAM, LPARAM) {
        EndDialog(hwnd, 3);
        return TRUE;
    };
    EXPECT_EQ(3, DialogBoxIndirectParamA(nullptr, m_bytes.Get(), m_owner, &ScriptedProc, 0));
    EXPECT_TRUE(ProcMessages(WM_SHOWWINDOW).empty());
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
    bytes.Item(Edit(1, 0, 0, 0));
    HWND d = Modeless(bytes);
    struct Case {
        const char* text;
        BOOL isSigned;
        UINT value;
        BOOL translated;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SetDlgItemTextA(d, 1, c.text);
        BOOL translated = -1;
        EXPECT_EQ(c.value, GetDlgItemInt(d, 1, &translated, c.isSigned)) << c.text;
        EXPECT_EQ(c.translated, translated) << c.text;
    }
    EXPECT_TRUE(SetDlgItemInt(d, 1, static_cast<UINT>(-7), TRUE));
    char text[16];
    GetDlgItemTextA(d, 1, text, sizeof text);
    EXPECT_STREQ("-7", text);
    SetDlgItemInt(d, 1, static_cast<UINT>(-7), FALSE);
    GetDlgItemTextA(d, 1, text, sizeof text);
    EXPECT_STREQ("4294967289", text);
    EXPECT_EQ(0u, GetDlgItemTextA(d, 99, text, sizeof text));
    EXPECT_STREQ("", text);
    EXPECT_FALSE(SetDlgItemTextA(d, 99, "x"));
}

TEST_F(DialogTest, RadioAndCheckHelpersSetEveryButtonInTheRange) {
    TemplateBytes bytes(kPopupDialog, 100, 60);
    for (DWORD id : {10u, 11u, 12u, 13u})
        bytes.Item(Button(u"r", id, BS_AUTORADIOBUTTON, 0, 0));
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
// below the client area.
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

// The keyboard on the main window's real buttons: Tab carries the default look to the next
// push button, Enter clicks it, and Esc cancels with no Cancel button to name.
TEST_F(ProgramDialogTest, MainWindowKeysWorkTheRealButtons) {
    HWND d = Open(IDD_PICKER);
    Pump();
    auto look = [&](int id) { return GetWindowLongA(GetDlgItem(d, id), GWL_STYLE) & BS_TYPEMASK; };
    PressIn(d, VK_TAB);
    EXPECT_EQ(GetDlgItem(d, IDC_COPY), GetFocus());
    EXPECT_EQ(BS_DEFPUSHBUTTON, look(IDC_COPY));
    EXPECT_EQ(BS_PUSHBUTTON, look(IDOK));
    PressIn(d, VK_RETURN);
    PressIn(d, VK_ESCAPE);
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(IDC_COPY, BN_CLICKED), IDCANCEL}), Commands());
    EXPECT_EQ(0, ProcMessages(WM_COMMAND).back().lParam);
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
TEST_F(ProgramDialogTest, SliderWindowShowsBarsAndHidesTransfer) {
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
}

// The About box's icon static shows the program icon, loaded from the module by the ordinal
// its template gives for a title.
TEST_F(ProgramDialogTest, AboutBoxShowsTheProgramIcon) {
    HWND d = Open(IDD_ABOUTBOX);
    ASSERT_NE(d, nullptr);
    HWND icon = GetWindow(d, GW_CHILD);
    EXPECT_EQ(reinterpret_cast<LRESULT>(
                  LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
              SendMessageA(icon, STM_GETICON, 0, 0));
    const RECT place = PlaceOf(icon);
    EXPECT_EQ((RECT{9, 11, 9 + 32, 11 + 32}), place);
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
