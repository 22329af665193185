#include "platform/display/x11/key_map.h"

#include "platform/display/x11/xlib.h"

#include <array>

namespace display::x11 {

namespace {

struct KeyEntry {
    KeySym keysym;
    int vk;
};

constexpr std::array kKeys = std::to_array<KeyEntry>({
    {XK_BackSpace, 0x08},
    {XK_Tab, 0x09},
    {XK_ISO_Left_Tab, 0x09},
    {XK_Clear, 0x0C},
    {XK_Return, 0x0D},
    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},
    {XK_Escape, 0x1B},
    {XK_space, 0x20},
    {XK_Prior, 0x21},
    {XK_Next, 0x22},
    {XK_End, 0x23},
    {XK_Home, 0x24},
    {XK_Left, 0x25},
    {XK_Up, 0x26},
    {XK_Right, 0x27},
    {XK_Down, 0x28},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_Delete, 0x2E},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D},
    {XK_KP_0, 0x60},
    {XK_KP_1, 0x61},
    {XK_KP_2, 0x62},
    {XK_KP_3, 0x63},
    {XK_KP_4, 0x64},
    {XK_KP_5, 0x65},
    {XK_KP_6, 0x66},
    {XK_KP_7, 0x67},
    {XK_KP_8, 0x68},
    {XK_KP_9, 0x69},
    {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E},
    {XK_KP_Divide, 0x6F},
    {XK_KP_Enter, 0x0D},
    {XK_KP_Space, 0x20},
    {XK_KP_Tab, 0x09},
    {XK_KP_Equal, 0xBB},
    {XK_KP_Home, 0x24},
    {XK_KP_Left, 0x25},
    {XK_KP_Up, 0x26},
    {XK_KP_Right, 0x27},
    {XK_KP_Down, 0x28},
    {XK_KP_Prior, 0x21},
    {XK_KP_Next, 0x22},
    {XK_KP_End, 0x23},
    {XK_KP_Begin, 0x0C},
    {XK_KP_Insert, 0x2D},
    {XK_KP_Delete, 0x2E},
    {XK_F1, 0x70},
    {XK_F2, 0x71},
    {XK_F3, 0x72},
    {XK_F4, 0x73},
    {XK_F5, 0x74},
    {XK_F6, 0x75},
    {XK_F7, 0x76},
    {XK_F8, 0x77},
    {XK_F9, 0x78},
    {XK_F10, 0x79},
    {XK_F11, 0x7A},
    {XK_F12, 0x7B},
    {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    {XK_Shift_L, 0xA0},
    {XK_Shift_R, 0xA1},
    {XK_Control_L, 0xA2},
    {XK_Control_R, 0xA3},
    {XK_Alt_L, 0xA4},
    {XK_Meta_L, 0xA4},
    {XK_Alt_R, 0xA5},
    {XK_Meta_R, 0xA5},
    {XK_ISO_Level3_Shift, 0xA5},
    // The US layout's punctuation keys, named by their unshifted symbol as Win32's OEM codes.
    {XK_semicolon, 0xBA},
    {XK_equal, 0xBB},
    {XK_comma, 0xBC},
    {XK_minus, 0xBD},
    {XK_period, 0xBE},
    {XK_slash, 0xBF},
    {XK_grave, 0xC0},
    {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC},
    {XK_bracketright, 0xDD},
    {XK_apostrophe, 0xDE},
});

bool IsKeypad(KeySym keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_9;
}

}  // namespace

int VirtualKeyOf(KeySym unshifted, KeySym typed) {
    const KeySym keysym = IsKeypad(unshifted) && IsKeypad(typed) ? typed : unshifted;
    if (keysym >= XK_a && keysym <= XK_z) {
        return int('A' + (keysym - XK_a));
    }
    if (keysym >= XK_A && keysym <= XK_Z) {
        return int(keysym);
    }
    if (keysym >= XK_0 && keysym <= XK_9) {
        return int(keysym);
    }
    for (const KeyEntry& entry : kKeys) {
        if (entry.keysym == keysym) {
            return entry.vk;
        }
    }
    return 0;
}

std::string TypedText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            continue;
        }
        text += c;
    }
    return text;
}

}  // namespace display::x11
