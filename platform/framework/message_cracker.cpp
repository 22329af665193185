#include "platform/framework/message_cracker.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#if defined(__GNUC__) || defined(__clang__)
#include <cxxabi.h>
#endif

#include "platform/framework/controls.h"
#include "platform/framework/dc.h"
#include "platform/framework/menu.h"
#include "platform/framework/wnd.h"

namespace framework {
namespace {

template <class Signature>
CrackerRow Row(UINT message, const char* name, const char* expected,
               typename HandlerSignature<Signature>::Unpack unpack) {
    return {message, name, &typeid(Signature), expected, reinterpret_cast<ErasedUnpack>(unpack)};
}

CWnd* Window(WPARAM handle) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(handle));
}
CWnd* Window(LPARAM handle) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(handle));
}
// Coordinates are signed 16-bit values: left of or above the origin they are negative.
int SignedLow(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}
int SignedHigh(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}
CPoint PointOf(LPARAM lParam) {
    return CPoint(SignedLow(lParam), SignedHigh(lParam));
}

using KeyHandler = void(UINT nChar, UINT nRepCnt, UINT nFlags);
std::tuple<UINT, UINT, UINT> KeyArguments(UINT, WPARAM wParam, LPARAM lParam) {
    return {static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)};
}

using MouseHandler = void(UINT nFlags, CPoint point);
std::tuple<UINT, CPoint> MouseArguments(UINT, WPARAM wParam, LPARAM lParam) {
    return {static_cast<UINT>(wParam), PointOf(lParam)};
}

using NcMouseHandler = void(UINT nHitTest, CPoint point);

using ScrollHandler = void(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
std::tuple<UINT, UINT, CScrollBar*> ScrollArguments(UINT, WPARAM wParam, LPARAM lParam) {
    return {LOWORD(wParam), HIWORD(wParam), CScrollBar::FromHandle(reinterpret_cast<HWND>(lParam))};
}

using CtlColorHandler = HBRUSH(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
std::tuple<CDC*, CWnd*, UINT> CtlColorArguments(UINT message, WPARAM wParam, LPARAM lParam) {
    return {CDC::FromHandle(reinterpret_cast<HDC>(wParam)), Window(lParam),
            message - WM_CTLCOLORMSGBOX};
}

using NoArguments = std::tuple<>;
NoArguments Nothing(UINT, WPARAM, LPARAM) {
    return {};
}

using WindowPosHandler = void(WINDOWPOS* lpwndpos);
std::tuple<WINDOWPOS*> WindowPosArguments(UINT, WPARAM, LPARAM lParam) {
    return {reinterpret_cast<WINDOWPOS*>(lParam)};
}

using MenuLoopHandler = void(BOOL bIsTrackPopupMenu);
std::tuple<BOOL> BoolArgument(UINT, WPARAM wParam, LPARAM) {
    return {static_cast<BOOL>(wParam)};
}

using FocusHandler = void(CWnd* pWnd);
std::tuple<CWnd*> WindowArgument(UINT, WPARAM wParam, LPARAM) {
    return {Window(wParam)};
}

const std::vector<CrackerRow>& Table() {
    static const std::vector<CrackerRow> table = {
        Row<void(UINT, CWnd*, BOOL)>(
            WM_ACTIVATE, "WM_ACTIVATE",
            "void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)",
            [](UINT, WPARAM w, LPARAM l) {
                return std::tuple<UINT, CWnd*, BOOL>(LOWORD(w), Window(l), HIWORD(w) != 0);
            }),
        Row<void(BOOL, DWORD)>(
            WM_ACTIVATEAPP, "WM_ACTIVATEAPP", "void OnActivateApp(BOOL bActive, DWORD dwThreadID)",
            [](UINT, WPARAM w, LPARAM l) {
                return std::tuple<BOOL, DWORD>(static_cast<BOOL>(w), static_cast<DWORD>(l));
            }),
        Row<void()>(WM_CANCELMODE, "WM_CANCELMODE", "void OnCancelMode()", Nothing),
        Row<void(CWnd*)>(WM_CAPTURECHANGED, "WM_CAPTURECHANGED",
                         "void OnCaptureChanged(CWnd* pWnd)",
                         [](UINT, WPARAM, LPARAM l) { return std::tuple<CWnd*>(Window(l)); }),
        Row<KeyHandler>(WM_CHAR, "WM_CHAR", "void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)",
                        KeyArguments),
        Row<void()>(WM_CLOSE, "WM_CLOSE", "void OnClose()", Nothing),
        Row<void(CWnd*, CPoint)>(WM_CONTEXTMENU, "WM_CONTEXTMENU",
                                 "void OnContextMenu(CWnd* pWnd, CPoint pos)",
                                 [](UINT, WPARAM w, LPARAM l) {
                                     return std::tuple<CWnd*, CPoint>(Window(w), PointOf(l));
                                 }),
        Row<int(CREATESTRUCT*)>(
            WM_CREATE, "WM_CREATE", "int OnCreate(CREATESTRUCT* lpCreateStruct)",
            [](UINT, WPARAM, LPARAM l) {
                return std::tuple<CREATESTRUCT*>(reinterpret_cast<CREATESTRUCT*>(l));
            }),
        Row<CtlColorHandler>(WM_CTLCOLORMSGBOX, "WM_CTLCOLORMSGBOX",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<CtlColorHandler>(WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<CtlColorHandler>(WM_CTLCOLORLISTBOX, "WM_CTLCOLORLISTBOX",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<CtlColorHandler>(WM_CTLCOLORBTN, "WM_CTLCOLORBTN",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<CtlColorHandler>(WM_CTLCOLORDLG, "WM_CTLCOLORDLG",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<CtlColorHandler>(WM_CTLCOLORSCROLLBAR, "WM_CTLCOLORSCROLLBAR",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<CtlColorHandler>(WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC",
                             "HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)",
                             CtlColorArguments),
        Row<void()>(WM_DESTROY, "WM_DESTROY", "void OnDestroy()", Nothing),
        Row<void(BOOL)>(WM_ENABLE, "WM_ENABLE", "void OnEnable(BOOL bEnable)", BoolArgument),
        Row<MenuLoopHandler>(WM_ENTERMENULOOP, "WM_ENTERMENULOOP",
                             "void OnEnterMenuLoop(BOOL bIsTrackPopupMenu)", BoolArgument),
        Row<void()>(WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE", "void OnEnterSizeMove()", Nothing),
        Row<BOOL(CDC*)>(WM_ERASEBKGND, "WM_ERASEBKGND", "BOOL OnEraseBkgnd(CDC* pDC)",
                        [](UINT, WPARAM w, LPARAM) {
                            return std::tuple<CDC*>(CDC::FromHandle(reinterpret_cast<HDC>(w)));
                        }),
        Row<MenuLoopHandler>(WM_EXITMENULOOP, "WM_EXITMENULOOP",
                             "void OnExitMenuLoop(BOOL bIsTrackPopupMenu)", BoolArgument),
        Row<void()>(WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE", "void OnExitSizeMove()", Nothing),
        Row<UINT()>(WM_GETDLGCODE, "WM_GETDLGCODE", "UINT OnGetDlgCode()", Nothing),
        Row<void(MINMAXINFO*)>(WM_GETMINMAXINFO, "WM_GETMINMAXINFO",
                               "void OnGetMinMaxInfo(MINMAXINFO* lpMMI)",
                               [](UINT, WPARAM, LPARAM l) {
                                   return std::tuple<MINMAXINFO*>(reinterpret_cast<MINMAXINFO*>(l));
                               }),
        Row<ScrollHandler>(WM_HSCROLL, "WM_HSCROLL",
                           "void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)",
                           ScrollArguments),
        Row<void(CMenu*)>(WM_INITMENU, "WM_INITMENU", "void OnInitMenu(CMenu* pMenu)",
                          [](UINT, WPARAM w, LPARAM) {
                              return std::tuple<CMenu*>(
                                  CMenu::FromHandle(reinterpret_cast<HMENU>(w)));
                          }),
        Row<void(CMenu*, UINT, BOOL)>(
            WM_INITMENUPOPUP, "WM_INITMENUPOPUP",
            "void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)",
            [](UINT, WPARAM w, LPARAM l) {
                return std::tuple<CMenu*, UINT, BOOL>(CMenu::FromHandle(reinterpret_cast<HMENU>(w)),
                                                      LOWORD(l), HIWORD(l) != 0);
            }),
        Row<KeyHandler>(WM_KEYDOWN, "WM_KEYDOWN",
                        "void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)", KeyArguments),
        Row<KeyHandler>(WM_KEYUP, "WM_KEYUP", "void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)",
                        KeyArguments),
        Row<FocusHandler>(WM_KILLFOCUS, "WM_KILLFOCUS", "void OnKillFocus(CWnd* pNewWnd)",
                          WindowArgument),
        Row<MouseHandler>(WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK",
                          "void OnLButtonDblClk(UINT nFlags, CPoint point)", MouseArguments),
        Row<MouseHandler>(WM_LBUTTONDOWN, "WM_LBUTTONDOWN",
                          "void OnLButtonDown(UINT nFlags, CPoint point)", MouseArguments),
        Row<MouseHandler>(WM_LBUTTONUP, "WM_LBUTTONUP",
                          "void OnLButtonUp(UINT nFlags, CPoint point)", MouseArguments),
        Row<MouseHandler>(WM_MBUTTONDOWN, "WM_MBUTTONDOWN",
                          "void OnMButtonDown(UINT nFlags, CPoint point)", MouseArguments),
        Row<MouseHandler>(WM_MBUTTONUP, "WM_MBUTTONUP",
                          "void OnMButtonUp(UINT nFlags, CPoint point)", MouseArguments),
        Row<int(CWnd*, UINT, UINT)>(
            WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE",
            "int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)",
            [](UINT, WPARAM w, LPARAM l) {
                return std::tuple<CWnd*, UINT, UINT>(Window(w), LOWORD(l), HIWORD(l));
            }),
        Row<MouseHandler>(WM_MOUSEMOVE, "WM_MOUSEMOVE",
                          "void OnMouseMove(UINT nFlags, CPoint point)", MouseArguments),
        Row<BOOL(UINT, short, CPoint)>(WM_MOUSEWHEEL, "WM_MOUSEWHEEL",
                                       "BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)",
                                       [](UINT, WPARAM w, LPARAM l) {
                                           return std::tuple<UINT, short, CPoint>(
                                               LOWORD(w), GET_WHEEL_DELTA_WPARAM(w), PointOf(l));
                                       }),
        Row<void(int, int)>(WM_MOVE, "WM_MOVE", "void OnMove(int x, int y)",
                            [](UINT, WPARAM, LPARAM l) {
                                return std::tuple<int, int>(SignedLow(l), SignedHigh(l));
                            }),
        Row<void(UINT, LPRECT)>(WM_MOVING, "WM_MOVING", "void OnMoving(UINT fwSide, LPRECT pRect)",
                                [](UINT, WPARAM w, LPARAM l) {
                                    return std::tuple<UINT, LPRECT>(static_cast<UINT>(w),
                                                                    reinterpret_cast<LPRECT>(l));
                                }),
        Row<BOOL(BOOL)>(WM_NCACTIVATE, "WM_NCACTIVATE", "BOOL OnNcActivate(BOOL bActive)",
                        BoolArgument),
        Row<void()>(WM_NCDESTROY, "WM_NCDESTROY", "void OnNcDestroy()", Nothing),
        Row<LRESULT(CPoint)>(WM_NCHITTEST, "WM_NCHITTEST", "LRESULT OnNcHitTest(CPoint point)",
                             [](UINT, WPARAM, LPARAM l) { return std::tuple<CPoint>(PointOf(l)); }),
        Row<NcMouseHandler>(WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK",
                            "void OnNcLButtonDblClk(UINT nHitTest, CPoint point)", MouseArguments),
        Row<NcMouseHandler>(WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN",
                            "void OnNcLButtonDown(UINT nHitTest, CPoint point)", MouseArguments),
        Row<NcMouseHandler>(WM_NCLBUTTONUP, "WM_NCLBUTTONUP",
                            "void OnNcLButtonUp(UINT nHitTest, CPoint point)", MouseArguments),
        Row<NcMouseHandler>(WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE",
                            "void OnNcMouseMove(UINT nHitTest, CPoint point)", MouseArguments),
        Row<NcMouseHandler>(WM_NCRBUTTONDOWN, "WM_NCRBUTTONDOWN",
                            "void OnNcRButtonDown(UINT nHitTest, CPoint point)", MouseArguments),
        Row<NcMouseHandler>(WM_NCRBUTTONUP, "WM_NCRBUTTONUP",
                            "void OnNcRButtonUp(UINT nHitTest, CPoint point)", MouseArguments),
        Row<void()>(WM_PAINT, "WM_PAINT", "void OnPaint()", Nothing),
        Row<HCURSOR()>(WM_QUERYDRAGICON, "WM_QUERYDRAGICON", "HCURSOR OnQueryDragIcon()", Nothing),
        Row<MouseHandler>(WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK",
                          "void OnRButtonDblClk(UINT nFlags, CPoint point)", MouseArguments),
        Row<MouseHandler>(WM_RBUTTONDOWN, "WM_RBUTTONDOWN",
                          "void OnRButtonDown(UINT nFlags, CPoint point)", MouseArguments),
        Row<MouseHandler>(WM_RBUTTONUP, "WM_RBUTTONUP",
                          "void OnRButtonUp(UINT nFlags, CPoint point)", MouseArguments),
        Row<BOOL(CWnd*, UINT, UINT)>(WM_SETCURSOR, "WM_SETCURSOR",
                                     "BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)",
                                     [](UINT, WPARAM w, LPARAM l) {
                                         return std::tuple<CWnd*, UINT, UINT>(Window(w), LOWORD(l),
                                                                              HIWORD(l));
                                     }),
        Row<FocusHandler>(WM_SETFOCUS, "WM_SETFOCUS", "void OnSetFocus(CWnd* pOldWnd)",
                          WindowArgument),
        Row<void(BOOL, UINT)>(
            WM_SHOWWINDOW, "WM_SHOWWINDOW", "void OnShowWindow(BOOL bShow, UINT nStatus)",
            [](UINT, WPARAM w, LPARAM l) {
                return std::tuple<BOOL, UINT>(static_cast<BOOL>(w), static_cast<UINT>(l));
            }),
        Row<void(UINT, int, int)>(WM_SIZE, "WM_SIZE", "void OnSize(UINT nType, int cx, int cy)",
                                  [](UINT, WPARAM w, LPARAM l) {
                                      return std::tuple<UINT, int, int>(static_cast<UINT>(w),
                                                                        LOWORD(l), HIWORD(l));
                                  }),
        Row<KeyHandler>(WM_SYSCHAR, "WM_SYSCHAR",
                        "void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags)", KeyArguments),
        Row<void(UINT, LPARAM)>(WM_SYSCOMMAND, "WM_SYSCOMMAND",
                                "void OnSysCommand(UINT nID, LPARAM lParam)",
                                [](UINT, WPARAM w, LPARAM l) {
                                    return std::tuple<UINT, LPARAM>(static_cast<UINT>(w), l);
                                }),
        Row<KeyHandler>(WM_SYSKEYDOWN, "WM_SYSKEYDOWN",
                        "void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)", KeyArguments),
        Row<KeyHandler>(WM_SYSKEYUP, "WM_SYSKEYUP",
                        "void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)", KeyArguments),
        Row<void(UINT_PTR)>(WM_TIMER, "WM_TIMER", "void OnTimer(UINT_PTR nIDEvent)",
                            [](UINT, WPARAM w, LPARAM) { return std::tuple<UINT_PTR>(w); }),
        Row<ScrollHandler>(WM_VSCROLL, "WM_VSCROLL",
                           "void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)",
                           ScrollArguments),
        Row<WindowPosHandler>(WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED",
                              "void OnWindowPosChanged(WINDOWPOS* lpwndpos)", WindowPosArguments),
        Row<WindowPosHandler>(WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING",
                              "void OnWindowPosChanging(WINDOWPOS* lpwndpos)", WindowPosArguments),
    };
    return table;
}

std::string Readable(const char* mangled) {
#if defined(__GNUC__) || defined(__clang__)
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    if (status == 0 && name) {
        return name.get();
    }
#endif
    return mangled;
}

}  // namespace

const CrackerRow* FindCracker(UINT message) {
    for (const CrackerRow& row : Table()) {
        if (row.message == message) {
            return &row;
        }
    }
    return nullptr;
}

void FailMessageMap(const char* owner, UINT message, const char* problem) {
    const CrackerRow* row = FindCracker(message);
    std::fprintf(stderr, "message map of %s: the handler of %s (0x%04X) %s\n",
                 Readable(owner).c_str(), row != nullptr ? row->name : "the message", message,
                 problem);
    std::fflush(stderr);
    std::abort();
}

}  // namespace framework
