// The radio group a control belongs to, as Win32 reckons it among the control's siblings: from
// the nearest sibling at or before it with WS_GROUP up to, not including, the next sibling
// with WS_GROUP.
#pragma once

#include <vector>

#include <windows.h>

namespace winapi::controls {

class RadioGroup {
public:
    explicit RadioGroup(HWND member);

    const std::vector<HWND>& Members() const { return m_members; }

    // Unchecks every automatic radio button of the group but keep.
    void UncheckAllBut(HWND keep) const;

private:
    std::vector<HWND> m_members;
};

}  // namespace winapi::controls
