// Input as the server delivers it, injected through XTest: keys as virtual keys with their
// text, auto-repeat, input-method text of keys without a code, the pointer and its buttons.
#include "tests/x11/x11_fixture.h"
// After gtest (in the fixture): X.h's None would rename one of its types.
#include <X11/extensions/XTest.h>

namespace x11test {
namespace {

class InputTest : public X11Fixture {
protected:
    void SetUp() override {
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(Observer(), &event, &error, &major, &minor)) {
            GTEST_SKIP() << "no XTest on the server";
        }
        m_surface = ShowSolid({100, 100, 300, 300}, 0x00808080);
        Backend().ActivateSurface(m_surface);
        ASSERT_TRUE(WaitForEvent(EventType::FocusIn));
    }

    KeyCode Code(KeySym keysym) { return XKeysymToKeycode(Observer(), keysym); }
    void Key(KeySym keysym, bool down) {
        XTestFakeKeyEvent(Observer(), Code(keysym), down ? True : False, CurrentTime);
        XFlush(Observer());
    }
    // The next key event (KeyDown, KeyUp or Char).
    std::optional<Event> NextKey() {
        return WaitForEvent([](const Event& e) {
            return e.type == EventType::KeyDown || e.type == EventType::KeyUp ||
                   e.type == EventType::Char;
        });
    }

    SurfaceId m_surface = 0;
};

struct Stroke {
    KeySym keysym;
    int vk;
    const char* text;
};

// Each key's press gives its virtual key and text, its release the same key.
TEST_F(InputTest, KeysArriveAsVirtualKeysWithTheirText) {
    const Stroke strokes[] = {
        {XK_a, 'A', "a"},       {XK_7, '7', "7"},         {XK_space, 0x20, " "},
        {XK_Return, 0x0D, ""},  {XK_Escape, 0x1B, ""},    {XK_BackSpace, 0x08, ""},
        {XK_Tab, 0x09, ""},     {XK_Left, 0x25, ""},      {XK_Down, 0x28, ""},
        {XK_Home, 0x24, ""},    {XK_Next, 0x22, ""},      {XK_Delete, 0x2E, ""},
        {XK_Insert, 0x2D, ""},  {XK_F5, 0x74, ""},        {XK_F12, 0x7B, ""},
        {XK_Shift_L, 0xA0, ""}, {XK_Control_R, 0xA3, ""}, {XK_Alt_L, 0xA4, ""},
        {XK_Menu, 0x5D, ""},    {XK_KP_Add, 0x6B, "+"},   {XK_comma, 0xBC, ","},
    };
    for (const Stroke& stroke : strokes) {
        SCOPED_TRACE(XKeysymToString(stroke.keysym));
        ASSERT_NE(Code(stroke.keysym), 0) << "no key for it in the server's map";
        Key(stroke.keysym, true);
        Key(stroke.keysym, false);
        const auto down = NextKey();
        ASSERT_TRUE(down);
        EXPECT_EQ(down->type, EventType::KeyDown);
        EXPECT_EQ(down->vk, stroke.vk);
        EXPECT_EQ(down->text, stroke.text);
        EXPECT_FALSE(down->repeat);
        EXPECT_EQ(down->surface, m_surface);
        const auto up = NextKey();
        ASSERT_TRUE(up);
        EXPECT_EQ(up->type, EventType::KeyUp);
        EXPECT_EQ(up->vk, stroke.vk);
    }
}

// Shift changes the text, not the key.
TEST_F(InputTest, ShiftChangesTheTextNotTheKey) {
    Key(XK_Shift_L, true);
    Key(XK_a, true);
    Key(XK_a, false);
    Key(XK_1, true);
    Key(XK_1, false);
    Key(XK_Shift_L, false);
    std::vector<Event> downs;
    while (downs.size() < 3) {
        const auto e = NextKey();
        ASSERT_TRUE(e);
        if (e->type == EventType::KeyDown) {
            downs.push_back(*e);
        }
    }
    EXPECT_EQ(downs[1].vk, 'A');
    EXPECT_EQ(downs[1].text, "A");
    EXPECT_EQ(downs[2].vk, '1');
    EXPECT_EQ(downs[2].text, "!");
}

// A held key repeats as presses marked repeat, with no release between them, then one
// release. The server's own auto-repeat, made quick for the test.
TEST_F(InputTest, HeldKeyRepeatsWithoutReleases) {
    ASSERT_TRUE(Backend().HasDetectableAutoRepeat());
    XkbSetAutoRepeatRate(Observer(), XkbUseCoreKbd, 50, 20);
    XSync(Observer(), False);
    Key(XK_Right, true);
    std::vector<Event> keys;
    while (keys.size() < 4) {
        const auto e = NextKey();
        ASSERT_TRUE(e) << "the server did not repeat the held key";
        keys.push_back(*e);
    }
    Key(XK_Right, false);
    for (;;) {
        const auto e = NextKey();
        ASSERT_TRUE(e);
        keys.push_back(*e);
        if (e->type == EventType::KeyUp) {
            break;
        }
    }
    EXPECT_FALSE(keys.front().repeat);
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        EXPECT_EQ(keys[i].type, EventType::KeyDown) << i;
        EXPECT_EQ(keys[i].vk, 0x27);
        EXPECT_EQ(keys[i].repeat, i > 0) << i;
    }
    EXPECT_EQ(keys.back().vk, 0x27);
}

// The same with the tools a user reaches for: xset makes the server repeat sooner, xdotool
// holds the key down and lets it go. After the release no late repeat follows.
TEST_F(InputTest, HeldKeyRepeatsUnderXdotool) {
    if (!HasProgram("xdotool") || !HasProgram("xset")) {
        GTEST_SKIP() << "no xdotool or xset";
    }
    Run({"xset", "r", "rate", "100", "50"});
    unsigned delay = 0, interval = 0;
    ASSERT_TRUE(XkbGetAutoRepeatRate(Observer(), XkbUseCoreKbd, &delay, &interval));
    ASSERT_EQ(delay, 100u);
    ASSERT_EQ(interval, 20u);

    Run({"xdotool", "keydown", "Right"});
    std::vector<Event> keys;
    while (keys.size() < 4) {
        const auto e = NextKey();
        ASSERT_TRUE(e) << "the server did not repeat the held key";
        keys.push_back(*e);
    }
    Run({"xdotool", "keyup", "Right"});
    for (;;) {
        const auto e = NextKey();
        ASSERT_TRUE(e) << "no release";
        keys.push_back(*e);
        if (e->type == EventType::KeyUp) {
            break;
        }
    }
    EXPECT_FALSE(keys.front().repeat);
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        EXPECT_EQ(keys[i].type, EventType::KeyDown) << i;
        EXPECT_EQ(keys[i].vk, 0x27) << i;
        EXPECT_EQ(keys[i].repeat, i > 0) << i;
    }
    EXPECT_EQ(keys.back().vk, 0x27);
    // Ten repeat intervals without a key event: the release ended the repeats.
    EXPECT_EQ(WaitForEvent(
                  [](const Event& e) {
                      return e.type == EventType::KeyDown || e.type == EventType::KeyUp;
                  },
                  10 * interval),
              std::nullopt);
}

// A key Win32 has no code for still types: its text arrives as characters, in UTF-8.
TEST_F(InputTest, KeysWithoutACodeTypeTheirCharacters) {
    // Give two unused key codes a Latin-1 and a kana symbol.
    int low = 0, high = 0;
    XDisplayKeycodes(Observer(), &low, &high);
    KeyCode spare[2] = {0, 0};
    int found = 0;
    for (int code = high; code >= low && found < 2; --code) {
        if (XkbKeycodeToKeysym(Observer(), KeyCode(code), 0, 0) == NoSymbol) {
            spare[found++] = KeyCode(code);
        }
    }
    ASSERT_EQ(found, 2);
    KeySym eacute = XK_eacute;
    KeySym kana = XK_kana_A;
    XChangeKeyboardMapping(Observer(), spare[0], 1, &eacute, 1);
    XChangeKeyboardMapping(Observer(), spare[1], 1, &kana, 1);
    XSync(Observer(), False);
    ASSERT_TRUE(WaitUntil(
        [&] { return XkbKeycodeToKeysym(Backend().XDisplay(), spare[1], 0, 0) == XK_kana_A; }));
    for (const KeyCode code : spare) {
        XTestFakeKeyEvent(Observer(), code, True, CurrentTime);
        XTestFakeKeyEvent(Observer(), code, False, CurrentTime);
    }
    XFlush(Observer());
    const auto first = NextKey();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->type, EventType::Char);
    EXPECT_EQ(first->text, "\xC3\xA9");
    const auto second = NextKey();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->type, EventType::Char);
    EXPECT_EQ(second->text, "\xE3\x82\xA2");
}

// Warping moves the pointer where PointerPosition finds it; over our window the move is an
// event in screen coordinates.
TEST_F(InputTest, PointerWarpsAndMoves) {
    Backend().WarpPointer({640, 700});
    EXPECT_EQ(Backend().PointerPosition(), (display::Point{640, 700}));
    Backend().WarpPointer({150, 160});
    EXPECT_EQ(Backend().PointerPosition(), (display::Point{150, 160}));
    const auto move = WaitForEvent([](const Event& e) {
        return e.type == EventType::PointerMove && e.screen == display::Point{150, 160};
    });
    ASSERT_TRUE(move);
    EXPECT_EQ(move->surface, m_surface);
}

// Buttons 1 to 3 are left, middle and right; 4 and 5 are one wheel notch away and toward.
TEST_F(InputTest, ButtonsAndWheel) {
    Backend().WarpPointer({120, 130});
    // The server takes the two connections' requests in either order: the warp first.
    XSync(Backend().XDisplay(), False);
    struct Press {
        unsigned button;
        display::MouseButton expected;
    };
    const Press presses[] = {{1, display::MouseButton::Left},
                             {2, display::MouseButton::Middle},
                             {3, display::MouseButton::Right}};
    for (const Press& press : presses) {
        XTestFakeButtonEvent(Observer(), press.button, True, CurrentTime);
        XTestFakeButtonEvent(Observer(), press.button, False, CurrentTime);
        XFlush(Observer());
        const auto down = WaitForEvent(EventType::ButtonDown);
        ASSERT_TRUE(down);
        EXPECT_EQ(down->button, press.expected);
        EXPECT_EQ(down->screen, (display::Point{120, 130}));
        EXPECT_EQ(down->surface, m_surface);
        const auto up = WaitForEvent(EventType::ButtonUp);
        ASSERT_TRUE(up);
        EXPECT_EQ(up->button, press.expected);
    }
    for (const unsigned button : {4u, 5u}) {
        XTestFakeButtonEvent(Observer(), button, True, CurrentTime);
        XTestFakeButtonEvent(Observer(), button, False, CurrentTime);
    }
    XFlush(Observer());
    const auto away = WaitForEvent(EventType::Wheel);
    const auto toward = WaitForEvent(EventType::Wheel);
    ASSERT_TRUE(away && toward);
    EXPECT_EQ(away->wheelDelta, 120);
    EXPECT_EQ(toward->wheelDelta, -120);
    for (const Event& e : Seen()) {
        EXPECT_FALSE(e.type == EventType::ButtonUp && e.screen.x != 120);
    }
}

}  // namespace
}  // namespace x11test
