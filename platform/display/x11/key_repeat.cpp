#include "platform/display/x11/key_repeat.h"

namespace display::x11 {

bool KeyRepeat::Press(unsigned keycode) {
    if (keycode >= m_down.size()) {
        return false;
    }
    const bool repeat = m_down.test(keycode);
    m_down.set(keycode);
    return repeat;
}

void KeyRepeat::Release(unsigned keycode) {
    if (keycode < m_down.size()) {
        m_down.reset(keycode);
    }
}

bool KeyRepeat::IsRepeatPair(const XKeyEvent& release, const XKeyEvent& next) {
    return release.type == KeyRelease && next.type == KeyPress && next.keycode == release.keycode &&
           next.time == release.time && next.window == release.window;
}

}  // namespace display::x11
