// Windows on the headless display: geometry, creation and destruction order, stacking,
// showing and minimising, focus, texts and other processes' windows.
#include <windows.h>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

class WindowTest : public HeadlessTest {
protected:
    WindowTest() { MessageLog::Register(); }

    HWND Popup(int x, int y, int w, int h, HWND owner = nullptr, DWORD style = kDialogStyle) {
        return CreateWindowExA(WS_EX_DLGMODALFRAME, "LogWindow", "popup", style, x, y, w, h, owner,
                               nullptr, nullptr, nullptr);
    }
    HWND Child(HWND parent, int id, int x, int y, int w, int h, DWORD style = WS_VISIBLE) {
        return CreateWindowExA(0, "LogWindow", "", WS_CHILD | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    MessageLog& Log() { return MessageLog::Instance(); }
};

// A dialog frame of 3 px and a caption of 19 px leave 196 x 175 of a 202 x 200 window.
TEST_F(WindowTest, DialogFrameAndCaptionLeaveTheDesignedClientArea) {
    HWND hwnd = Popup(100, 50, 202, 200);
    RECT window, client;
    ASSERT_TRUE(GetWindowRect(hwnd, &window));
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(100, window.left);
    EXPECT_EQ(250, window.bottom);
    EXPECT_EQ(196, client.right);
    EXPECT_EQ(175, client.bottom);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(103, origin.x);
    EXPECT_EQ(50 + 3 + 19, origin.y);

    RECT adjusted{0, 0, 196, 175};
    AdjustWindowRectEx(&adjusted, kDialogStyle, FALSE, WS_EX_DLGMODALFRAME);
    EXPECT_EQ(202, adjusted.right - adjusted.left);
    EXPECT_EQ(200, adjusted.bottom - adjusted.top);
}

TEST_F(WindowTest, ChildCoordinatesMapThroughTheParentClientArea) {
    HWND parent = Popup(100, 50, 202, 200);
    HWND child = Child(parent, 7, 10, 20, 30, 40, WS_VISIBLE | WS_BORDER);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(103 + 10, rect.left);
    EXPECT_EQ(72 + 20, rect.top);
    GetClientRect(child, &rect);
    EXPECT_EQ(28, rect.right);  // a 1 px border on each side
    POINT p{114, 93};
    ScreenToClient(child, &p);
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);
    POINT q{0, 0};
    const int offset = MapWindowPoints(child, parent, &q, 1);
    EXPECT_EQ(11, q.x);
    EXPECT_EQ(21, q.y);
    EXPECT_EQ(11, static_cast<short>(LOWORD(offset)));
    EXPECT_EQ(child, GetDlgItem(parent, 7));
    EXPECT_EQ(7, GetDlgCtrlID(child));
    EXPECT_EQ(parent, GetParent(child));
}

TEST_F(WindowTest, CreationSendsItsMessagesInOrderAndShowsBeforeBecomingVisible) {
    bool visibleDuringShowWindow = true;
    Log().Handle(WM_SHOWWINDOW, [&](HWND hwnd, WPARAM, LPARAM) {
        visibleDuringShowWindow = IsWindowVisible(hwnd);
        return 0;
    });
    HWND hwnd = Popup(0, 0, 100, 100, nullptr, kDialogStyle | WS_VISIBLE);
    const std::vector<UINT> order = Log().Messages(
        hwnd, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
               WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS});
    const std::vector<UINT> expected{
        WM_NCCREATE,        WM_NCCALCSIZE,        WM_CREATE,     WM_SIZE,     WM_MOVE,
        WM_SHOWWINDOW,      WM_WINDOWPOSCHANGING, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS,
        WM_WINDOWPOSCHANGED};
    EXPECT_EQ(expected, order);
    EXPECT_FALSE(visibleDuringShowWindow);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(hwnd, GetActiveWindow());
    EXPECT_EQ(hwnd, GetFocus());
}

TEST_F(WindowTest, CreateFailsCleanlyWhenWmCreateRefuses) {
    Log().Handle(WM_CREATE, [](HWND, WPARAM, LPARAM) { return -1; });
    EXPECT_EQ(nullptr, Popup(0, 0, 50, 50));
    EXPECT_EQ(1u, Log().Of(WM_NCDESTROY).size());
    EXPECT_TRUE(Display().SurfacesTopToBottom().empty());
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS), GetLastError());
}

// Owned windows go first and completely; then WM_DESTROY runs down the tree and
// WM_NCDESTROY runs back up.
TEST_F(WindowTest, DestroyOrderIsOwnedThenParentThenChildren) {
    HWND owner = Popup(0, 0, 200, 200);
    HWND owned = Popup(10, 10, 50, 50, owner);
    HWND child = Child(owner, 1, 0, 0, 10, 10);
    HWND grandchild = Child(child, 2, 0, 0, 5, 5);
    EXPECT_EQ(owner, GetParent(owned));  // a popup's parent is its owner
    EXPECT_EQ(owner, GetWindow(owned, GW_OWNER));
    Log().Clear();
    ASSERT_TRUE(DestroyWindow(owner));
    std::vector<std::pair<HWND, UINT>> order;
    for (const LoggedMessage& e : Log().Entries())
        if (e.message == WM_DESTROY || e.message == WM_NCDESTROY)
            order.emplace_back(e.hwnd, e.message);
    const std::vector<std::pair<HWND, UINT>> expected{
        {owned, WM_DESTROY},   {owned, WM_NCDESTROY},    {owner, WM_DESTROY},
        {child, WM_DESTROY},   {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
        {child, WM_NCDESTROY}, {owner, WM_NCDESTROY}};
    EXPECT_EQ(expected, order);
    for (HWND hwnd : {owner, owned, child, grandchild})
        EXPECT_FALSE(IsWindow(hwnd));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(owner));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    EXPECT_EQ(0, SendMessageA(owner, WM_USER, 0, 0));
    EXPECT_TRUE(Display().SurfacesTopToBottom().empty());
}

TEST_F(WindowTest, TopmostTogglesAndOwnedWindowsFollowTheirOwner) {
    HWND other = Popup(0, 0, 50, 50, nullptr, kDialogStyle | WS_VISIBLE);
    HWND main = Popup(0, 0, 100, 100, nullptr, kDialogStyle | WS_VISIBLE);
    HWND tool = Popup(0, 0, 30, 30, main, kDialogStyle | WS_VISIBLE);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(other, GetWindow(main, GW_HWNDFIRST));

    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongA(tool, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Activating the other window does not lift it over the topmost band.
    SetActiveWindow(other);
    const auto surfaces = Display().SurfacesTopToBottom();
    ASSERT_EQ(3u, surfaces.size());
    EXPECT_TRUE(Display().FindSurface(surfaces[0])->topmost);
    EXPECT_TRUE(Display().FindSurface(surfaces[1])->topmost);
    EXPECT_FALSE(Display().FindSurface(surfaces[2])->topmost);
    EXPECT_EQ(tool, GetWindow(main, GW_HWNDFIRST));  // owned above owner

    SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(tool, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(WindowTest, SetWindowPosMovesSizesAndReportsWhatChanged) {
    HWND hwnd = Popup(0, 0, 100, 100, nullptr, kDialogStyle | WS_VISIBLE);
    Log().Clear();
    SetWindowPos(hwnd, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_EQ(1u, Log().Of(WM_MOVE).size());
    EXPECT_TRUE(Log().Of(WM_SIZE).empty());
    RECT rect;
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(110, rect.right);
    const display::SurfaceInfo* surface = Display().FindSurface(Display().SurfacesTopToBottom()[0]);
    EXPECT_EQ(display::Rect({10, 20, 110, 120}), surface->bounds);

    // WM_WINDOWPOSCHANGING may change the request.
    Log().Handle(WM_WINDOWPOSCHANGING, [](HWND, WPARAM, LPARAM lParam) {
        reinterpret_cast<WINDOWPOS*>(lParam)->cx = 150;
        return 0;
    });
    SetWindowPos(hwnd, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(150, rect.right - rect.left);
    EXPECT_EQ(80, rect.bottom - rect.top);
}

TEST_F(WindowTest, MinimisingHidesOwnedWindowsAndRestoringShowsThem) {
    HWND main = Popup(0, 0, 100, 100, nullptr, kDialogStyle | WS_VISIBLE);
    HWND tool = Popup(0, 0, 30, 30, main, kDialogStyle | WS_VISIBLE);
    HWND hiddenTool = Popup(0, 0, 30, 30, main);
    Log().Clear();
    ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(main));
    EXPECT_FALSE(IsWindowVisible(tool));
    EXPECT_FALSE(IsWindowVisible(hiddenTool));
    auto shows = Log().Of(WM_SHOWWINDOW);
    ASSERT_EQ(1u, shows.size());
    EXPECT_EQ(tool, shows[0].hwnd);
    EXPECT_EQ(static_cast<LPARAM>(SW_PARENTCLOSING), shows[0].lParam);
    EXPECT_EQ(nullptr, GetActiveWindow());

    Log().Clear();
    ShowWindow(main, SW_RESTORE);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(tool));
    EXPECT_FALSE(IsWindowVisible(hiddenTool));  // it was hidden before: it stays hidden
    shows = Log().Of(WM_SHOWWINDOW);
    ASSERT_EQ(1u, shows.size());
    EXPECT_EQ(static_cast<LPARAM>(SW_PARENTOPENING), shows[0].lParam);
    RECT rect;
    GetClientRect(main, &rect);
    EXPECT_EQ(94, rect.right);
    EXPECT_EQ(main, GetActiveWindow());
}

TEST_F(WindowTest, ShowWindowReturnsThePreviousVisibility) {
    HWND hwnd = Popup(0, 0, 50, 50);
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(Display().FindSurface(Display().SurfacesTopToBottom()[0])->visible);
}

// GetFocus already names the new window while the old one hears WM_KILLFOCUS.
TEST_F(WindowTest, FocusMovesWithKillBeforeSetFocus) {
    HWND dialog = Popup(0, 0, 100, 100, nullptr, kDialogStyle | WS_VISIBLE);
    HWND first = Child(dialog, 1, 0, 0, 10, 10);
    HWND second = Child(dialog, 2, 20, 0, 10, 10);
    SetFocus(first);
    HWND focusDuringKill = nullptr;
    Log().Handle(WM_KILLFOCUS, [&](HWND, WPARAM, LPARAM) {
        focusDuringKill = GetFocus();
        return 0;
    });
    Log().Clear();
    EXPECT_EQ(first, SetFocus(second));
    const auto kill = Log().Of(WM_KILLFOCUS);
    const auto set = Log().Of(WM_SETFOCUS);
    ASSERT_EQ(1u, kill.size());
    ASSERT_EQ(1u, set.size());
    EXPECT_EQ(first, kill[0].hwnd);
    EXPECT_EQ(reinterpret_cast<WPARAM>(second), kill[0].wParam);
    EXPECT_EQ(reinterpret_cast<WPARAM>(first), set[0].wParam);
    EXPECT_EQ(second, focusDuringKill);

    // A disabled window cannot keep the focus.
    EXPECT_FALSE(EnableWindow(second, FALSE));
    EXPECT_EQ(nullptr, GetFocus());
    EXPECT_TRUE(EnableWindow(second, TRUE));
}

// A dialog may put the focus on a control before it is shown; that activates it, hidden.
TEST_F(WindowTest, FocusInAHiddenWindowActivatesIt) {
    HWND other = Popup(0, 0, 50, 50, nullptr, kDialogStyle | WS_VISIBLE);
    HWND dialog = Popup(0, 0, 100, 100);
    HWND control = Child(dialog, 1, 0, 0, 10, 10);
    EXPECT_EQ(other, GetActiveWindow());
    SetFocus(control);
    EXPECT_EQ(control, GetFocus());
    EXPECT_EQ(dialog, GetActiveWindow());
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(control, GetFocus());
    // Hidden again, it hands the activation back to a visible window.
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(other, GetActiveWindow());
}

TEST_F(WindowTest, TextsTravelThroughMessagesAndReachTheDisplay) {
    HWND hwnd = Popup(0, 0, 100, 100);
    Log().Clear();
    ASSERT_TRUE(SetWindowTextA(hwnd, "Tintaro LE"));
    EXPECT_EQ(1u, Log().Of(WM_SETTEXT).size());
    char buffer[32];
    EXPECT_EQ(10, GetWindowTextA(hwnd, buffer, sizeof buffer));
    EXPECT_STREQ("Tintaro LE", buffer);
    EXPECT_EQ(1u, Log().Of(WM_GETTEXT).size());
    EXPECT_EQ("Tintaro LE", Display().FindSurface(Display().SurfacesTopToBottom()[0])->title);

    // Truncation keeps room for the terminator and never splits a character.
    SetWindowTextA(hwnd, "終了");  // two 3-byte characters
    EXPECT_EQ(3, GetWindowTextA(hwnd, buffer, 6));
    EXPECT_STREQ("終", buffer);
    EXPECT_EQ(6, GetWindowTextLengthA(hwnd));
}

TEST_F(WindowTest, FindWindowFindsOursAndOtherProcessesWindowsByTitle) {
    HWND ours = Popup(0, 0, 100, 100);
    SetWindowTextA(ours, "Ours");
    EXPECT_EQ(ours, FindWindowA(nullptr, "Ours"));
    EXPECT_EQ(ours, FindWindowA("logwindow", nullptr));  // class names ignore case
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Nobody"));

    const auto id = Display().AddForeignWindow("Tintaro LE", true);
    HWND theirs = FindWindowA(nullptr, "Tintaro LE");
    ASSERT_NE(nullptr, theirs);
    EXPECT_TRUE(IsWindow(theirs));
    EXPECT_TRUE(IsIconic(theirs));
    ShowWindow(theirs, SW_RESTORE);
    EXPECT_FALSE(Display().FindForeignWindowInfo(id)->minimized);
    EXPECT_TRUE(SetForegroundWindow(theirs));
    EXPECT_EQ(id, Display().ActiveForeignWindow());
    char title[32];
    EXPECT_EQ(10, GetWindowTextA(theirs, title, sizeof title));
    EXPECT_FALSE(DestroyWindow(theirs));
}

TEST_F(WindowTest, WindowLongsHoldStylesIdsAndExtraBytes) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.cbWndExtra = 24;
    wc.lpszClassName = "Extra";
    ASSERT_NE(0, RegisterClassA(&wc));
    EXPECT_EQ(0, RegisterClassA(&wc));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
    HWND hwnd = CreateWindowExA(0, "Extra", "", WS_POPUP | WS_DISABLED, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_DISABLED);
    SetWindowLongPtrA(hwnd, 16, 0x1234);
    EXPECT_EQ(0x1234, GetWindowLongPtrA(hwnd, 16));
    SetLastError(0);
    EXPECT_EQ(0, GetWindowLongPtrA(hwnd, 20));  // would read past the extra bytes
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_INDEX), GetLastError());
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 42);
    EXPECT_EQ(42, GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace
