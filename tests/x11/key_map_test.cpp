// Key symbols to virtual keys, the text a key hands on, and the auto-repeat bookkeeping: the
// pure parts of keyboard input, without a server.
#include <gtest/gtest.h>

#include "platform/display/x11/key_map.h"
#include "platform/display/x11/key_repeat.h"
#include "platform/display/x11/xlib.h"

namespace display::x11 {
namespace {

struct KeyCase {
    KeySym unshifted;
    KeySym typed;
    int vk;
};

// Win32's codes for the keys the program and its dialogs handle, each named by the key's
// first symbol whatever the modifiers.
TEST(KeyMap, KeysMapToWin32VirtualKeys) {
    const KeyCase cases[] = {
        {XK_a, XK_a, 'A'},
        {XK_a, XK_A, 'A'},
        {XK_z, XK_Z, 'Z'},
        {XK_1, XK_exclam, '1'},
        {XK_0, XK_0, '0'},
        {XK_space, XK_space, 0x20},
        {XK_Left, XK_Left, 0x25},
        {XK_Up, XK_Up, 0x26},
        {XK_Right, XK_Right, 0x27},
        {XK_Down, XK_Down, 0x28},
        {XK_Home, XK_Home, 0x24},
        {XK_End, XK_End, 0x23},
        {XK_Prior, XK_Prior, 0x21},
        {XK_Next, XK_Next, 0x22},
        {XK_Insert, XK_Insert, 0x2D},
        {XK_Delete, XK_Delete, 0x2E},
        {XK_Return, XK_Return, 0x0D},
        {XK_Escape, XK_Escape, 0x1B},
        {XK_Tab, XK_ISO_Left_Tab, 0x09},
        {XK_BackSpace, XK_BackSpace, 0x08},
        {XK_Shift_L, XK_Shift_L, 0xA0},
        {XK_Shift_R, XK_Shift_R, 0xA1},
        {XK_Control_L, XK_Control_L, 0xA2},
        {XK_Control_R, XK_Control_R, 0xA3},
        {XK_Alt_L, XK_Alt_L, 0xA4},
        {XK_Alt_R, XK_Alt_R, 0xA5},
        {XK_F1, XK_F1, 0x70},
        {XK_F10, XK_F10, 0x79},
        {XK_F12, XK_F12, 0x7B},
        {XK_Menu, XK_Menu, 0x5D},
        {XK_comma, XK_less, 0xBC},
        {XK_minus, XK_minus, 0xBD},
        {XK_period, XK_period, 0xBE},
        {XK_slash, XK_question, 0xBF},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyOf(c.unshifted, c.typed), c.vk) << XKeysymToString(c.unshifted);
    }
}

// The keypad follows Num Lock: the typed symbol decides between digit and cursor key.
TEST(KeyMap, KeypadFollowsNumLock) {
    const KeyCase cases[] = {
        {XK_KP_End, XK_KP_1, 0x61},
        {XK_KP_End, XK_KP_End, 0x23},
        {XK_KP_Insert, XK_KP_0, 0x60},
        {XK_KP_Insert, XK_KP_Insert, 0x2D},
        {XK_KP_Up, XK_KP_8, 0x68},
        {XK_KP_Up, XK_KP_Up, 0x26},
        {XK_KP_Delete, XK_KP_Decimal, 0x6E},
        {XK_KP_Delete, XK_KP_Delete, 0x2E},
        {XK_KP_Begin, XK_KP_Begin, 0x0C},
        {XK_KP_Enter, XK_KP_Enter, 0x0D},
        {XK_KP_Add, XK_KP_Add, 0x6B},
        {XK_KP_Divide, XK_KP_Divide, 0x6F},
        {XK_KP_Multiply, XK_KP_Multiply, 0x6A},
        {XK_KP_Subtract, XK_KP_Subtract, 0x6D},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyOf(c.unshifted, c.typed), c.vk) << XKeysymToString(c.typed);
    }
}

// Keys Win32 has no code for give 0 (their text, if any, goes on as characters).
TEST(KeyMap, UnknownKeysHaveNoCode) {
    EXPECT_EQ(VirtualKeyOf(XK_eacute, XK_eacute), 0);
    EXPECT_EQ(VirtualKeyOf(XK_kana_A, XK_kana_A), 0);
    EXPECT_EQ(VirtualKeyOf(NoSymbol, NoSymbol), 0);
}

// Control characters are the window system's to derive from the key; printable text stays.
TEST(KeyMap, TypedTextDropsControlCharacters) {
    EXPECT_EQ(TypedText("a"), "a");
    EXPECT_EQ(TypedText("\r"), "");
    EXPECT_EQ(TypedText("\x7f"), "");
    EXPECT_EQ(TypedText("\x01"), "");
    EXPECT_EQ(TypedText("\xC3\xA9"), "\xC3\xA9");
    EXPECT_EQ(TypedText("\xE3\x82\xA2"), "\xE3\x82\xA2");
}

// A second press of a key that is down is a repeat; a release, or the focus leaving, ends it.
TEST(KeyRepeat, PressOfAKeyDownIsARepeat) {
    KeyRepeat keys;
    EXPECT_FALSE(keys.Press(38));
    EXPECT_TRUE(keys.Press(38));
    EXPECT_TRUE(keys.Press(38));
    EXPECT_FALSE(keys.Press(39));
    keys.Release(38);
    EXPECT_FALSE(keys.Press(38));
    keys.Clear();
    EXPECT_FALSE(keys.Press(38));
    EXPECT_FALSE(keys.Press(39));
}

// Without detectable auto-repeat, a repeat is a release and a press of one key at one time.
TEST(KeyRepeat, ReleaseAndPressAtOneTimeAreARepeatPair) {
    XKeyEvent release{};
    release.type = KeyRelease;
    release.keycode = 38;
    release.time = 1000;
    release.window = 7;
    XKeyEvent press = release;
    press.type = KeyPress;
    EXPECT_TRUE(KeyRepeat::IsRepeatPair(release, press));
    press.time = 1001;
    EXPECT_FALSE(KeyRepeat::IsRepeatPair(release, press));
    press.time = 1000;
    press.keycode = 39;
    EXPECT_FALSE(KeyRepeat::IsRepeatPair(release, press));
}

}  // namespace
}  // namespace display::x11
