#include "platform/winapi/controls/radio_group.h"

namespace winapi::controls {
namespace {

bool StartsGroup(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_STYLE) & WS_GROUP) != 0;
}

bool IsAutomaticRadioButton(HWND hwnd) {
    if ((SendMessageA(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) == 0)
        return false;
    return (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

}  // namespace

RadioGroup::RadioGroup(HWND member) {
    HWND first = member;
    while (!StartsGroup(first)) {
        const HWND previous = GetWindow(first, GW_HWNDPREV);
        if (previous == nullptr)
            break;
        first = previous;
    }
    m_members.push_back(first);
    for (HWND next = GetWindow(first, GW_HWNDNEXT); next != nullptr && !StartsGroup(next);
         next = GetWindow(next, GW_HWNDNEXT))
        m_members.push_back(next);
}

void RadioGroup::UncheckAllBut(HWND keep) const {
    for (HWND member : m_members)
        if (member != keep && IsWindow(member) && IsAutomaticRadioButton(member))
            SendMessageA(member, BM_SETCHECK, BST_UNCHECKED, 0);
}

}  // namespace winapi::controls
