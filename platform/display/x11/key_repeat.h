// Which keys are down, so that a press of a key already down reads as auto-repeat. With
// detectable auto-repeat the server sends a held key as presses alone; without it, each repeat
// is a release and a press with the same time stamp, and the backend drops that release.
#pragma once

#include "platform/display/x11/xlib.h"

#include <bitset>

namespace display::x11 {

class KeyRepeat {
public:
    // True when the key was already down: an auto-repeat.
    bool Press(unsigned keycode);
    void Release(unsigned keycode);
    // Keys released while another window had the focus never tell us.
    void Clear() { m_down.reset(); }

    // Whether a release followed by a press is one auto-repeat rather than two strokes.
    static bool IsRepeatPair(const XKeyEvent& release, const XKeyEvent& next);

private:
    std::bitset<256> m_down;
};

}  // namespace display::x11
