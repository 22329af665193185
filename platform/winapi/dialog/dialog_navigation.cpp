#include "platform/winapi/dialog/dialog_navigation.h"

#include <algorithm>

namespace winapi::dialog {
namespace {

DWORD StyleOf(HWND control) {
    return static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
}

bool IsTabStop(HWND control) {
    return IsUsableControl(control) && (StyleOf(control) & WS_TABSTOP);
}

// The first control from position start (exclusive) round the cycle [begin, end) that
// qualifies; end - begin steps at most.
template <typename Qualifies>
HWND Cycle(const std::vector<HWND>& controls, std::size_t begin, std::size_t end, std::size_t start,
           bool previous, Qualifies qualifies) {
    const std::size_t count = end - begin;
    const std::size_t offset = start - begin;
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t at = previous ? (offset + count - step) % count : (offset + step) % count;
        if (qualifies(controls[begin + at]))
            return controls[begin + at];
    }
    return nullptr;
}

}  // namespace

std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

bool IsUsableControl(HWND control) {
    return (StyleOf(control) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

UINT DialogCodeOf(HWND control) {
    return static_cast<UINT>(SendMessageA(control, WM_GETDLGCODE, 0, 0));
}

bool IsPushButton(HWND control) {
    return control != nullptr &&
           (DialogCodeOf(control) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

HWND NextTabItem(HWND dialog, HWND from, bool previous) {
    const std::vector<HWND> controls = ControlsOf(dialog);
    const auto at = std::find(controls.begin(), controls.end(), from);
    if (at == controls.end()) {
        if (previous) {
            const auto last = std::find_if(controls.rbegin(), controls.rend(), IsTabStop);
            return last == controls.rend() ? nullptr : *last;
        }
        const auto first = std::find_if(controls.begin(), controls.end(), IsTabStop);
        return first == controls.end() ? nullptr : *first;
    }
    const HWND next = Cycle(controls, 0, controls.size(),
                            static_cast<std::size_t>(at - controls.begin()), previous, IsTabStop);
    // With no other tab stop the search comes back to where it started.
    return next != nullptr ? next : from;
}

HWND NextGroupItem(HWND dialog, HWND from, bool previous) {
    const std::vector<HWND> controls = ControlsOf(dialog);
    if (from == nullptr || from == dialog) {
        if (previous || controls.empty())
            return nullptr;
        from = controls.front();
        if (IsUsableControl(from))
            return from;
    }
    const auto at = std::find(controls.begin(), controls.end(), from);
    if (at == controls.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::size_t index = static_cast<std::size_t>(at - controls.begin());
    std::size_t begin = index;
    while (begin > 0 && !(StyleOf(controls[begin]) & WS_GROUP))
        --begin;
    std::size_t end = index + 1;
    while (end < controls.size() && !(StyleOf(controls[end]) & WS_GROUP))
        ++end;
    const HWND next = Cycle(controls, begin, end, index, previous, IsUsableControl);
    return next != nullptr ? next : from;
}

HWND FirstFocusCandidate(HWND dialog) {
    if (HWND tabStop = NextTabItem(dialog, nullptr, false))
        return tabStop;
    return NextGroupItem(dialog, nullptr, false);
}

}  // namespace winapi::dialog

using namespace winapi::dialog;

// Windows answers a search back from no control with nothing, and takes the dialog itself
// for no control, whatever the documentation says of a null hCtl.
HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (hCtl == hDlg)
        hCtl = nullptr;
    if (hCtl == nullptr && bPrevious)
        return nullptr;
    return NextTabItem(hDlg, hCtl, bPrevious != FALSE);
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return NextGroupItem(hDlg, hCtl, bPrevious != FALSE);
}
