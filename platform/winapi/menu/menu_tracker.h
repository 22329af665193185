// The tracking of a popup menu, as TrackPopupMenu and the window menu run it: its own modal
// loop with the capture on the menu window, the owner told by WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP and WM_EXITMENULOOP in Win32's order,
// submenus cascading to the right, and the choice posted to the owner once everything is
// closed: WM_COMMAND, or WM_SYSCOMMAND for the window menu.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <windows.h>

#include "platform/winapi/menu/popup_window.h"

namespace winapi::menu {

struct TrackRequest {
    HMENU menu = nullptr;
    UINT flags = 0;  // TPM_*
    POINT at{};
    HWND owner = nullptr;
    bool byTrackPopupMenu = true;  // WM_ENTERMENULOOP's and WM_EXITMENULOOP's wParam
    bool fromKeyboard = false;     // the first item starts selected
    // The window menu opened by a press on the caption icon at this message time: a second
    // press there within the double-click time closes the window.
    bool fromIconClick = false;
    DWORD openTime = 0;
};

class MenuTracker {
public:
    explicit MenuTracker(const TrackRequest& request);
    ~MenuTracker();
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;

    // Shows the menu and tracks it until a choice or a dismissal. The command chosen (0 for
    // none), or nullopt when there was nothing to show.
    std::optional<UINT_PTR> Run();

    // The menu being tracked now, if any: one at a time, as in Win32.
    static MenuTracker* Active();
    // EndMenu: the tracking ends as if dismissed.
    void End();

private:
    enum class Outcome { Tracking, Chosen, Dismissed };
    using Level = std::unique_ptr<PopupWindow>;

    bool Notifies() const { return !(m_request.flags & TPM_NONOTIFY); }
    bool IsRunning() const;
    void Finish();

    // Levels: the top popup, then each open submenu.
    bool OpenTop();
    void OpenSubmenu(std::size_t parent, bool selectFirst);
    void CloseFrom(std::size_t level);
    PopupWindow& Deepest() { return *m_levels.back(); }
    std::optional<std::size_t> LevelAt(POINT screen) const;

    void Select(std::size_t level, int index, bool byMouse);
    void Step(int direction);
    void Execute(std::size_t level, int index, bool byMouse, POINT screen);
    void Choose(UINT_PTR command, LPARAM systemParam);
    void Dismiss() { m_outcome = Outcome::Dismissed; }

    // Input, dispatched by table.
    void OnMouseMove(const MSG& msg);
    void OnButtonDown(const MSG& msg);
    void OnButtonUp(const MSG& msg);
    void OnKeyDown(const MSG& msg);
    void OnChar(const MSG& msg);
    void OnMnemonic(char letter);

    // Keys.
    void SelectPrevious() { Step(-1); }
    void SelectNext() { Step(1); }
    void CloseSubmenu();
    void OpenSelectedSubmenu();
    void ExecuteSelected();
    void Escape();

    TrackRequest m_request;
    bool m_system = false;
    HWND m_activeAtStart = nullptr;
    std::vector<Level> m_levels;
    Outcome m_outcome = Outcome::Tracking;
    UINT_PTR m_choice = 0;
    LPARAM m_choiceParam = 0;
    POINT m_startPointer{};
    bool m_mouseActed = false;  // the pointer moved or a button went down since the opening
    bool m_holdsCapture = false;
};

}  // namespace winapi::menu
