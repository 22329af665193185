// Other processes' top-level windows, found by exact title (our own skipped), their iconic
// state read, restored and activated, with and without a window manager.
#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

// A top-level window of "another process": the observer's.
Window OtherWindow(Display* x, const std::string& title, Window parent = None) {
    const Window window = XCreateSimpleWindow(x, parent != None ? parent : DefaultRootWindow(x), 10,
                                              10, 100, 80, 0, 0, 0xFFFFFF);
    display::x11::WriteBytes(x, window, AtomOf(x, "_NET_WM_NAME"), AtomOf(x, "UTF8_STRING"), title);
    XSelectInput(x, window, FocusChangeMask | StructureNotifyMask);
    XMapWindow(x, window);
    XSync(x, False);
    return window;
}

const std::string kTitle = "\xE8\x89\xB2\xE3\x81\xAE\xE6\x8A\xBD\xE5\x87\xBA Tintaro LE";

using ForeignWindowTest = X11Fixture;

// The exact title finds the other client's window, inside a frame too; our own window with
// that title and a longer or shorter title do not count.
TEST_F(ForeignWindowTest, FoundByExactTitleOnly) {
    Backend().CreateSurface({{0, 0, 10, 10}, display::SurfaceKind::Normal, 0, false, kTitle});
    EXPECT_EQ(Backend().FindForeignWindow(kTitle), std::nullopt);

    const Window other = OtherWindow(Observer(), kTitle);
    EXPECT_EQ(Backend().FindForeignWindow(kTitle), display::ForeignWindowId(other));
    EXPECT_EQ(Backend().FindForeignWindow(kTitle + " "), std::nullopt);
    EXPECT_EQ(Backend().FindForeignWindow("Tintaro LE"), std::nullopt);

    const Window frame =
        XCreateSimpleWindow(Observer(), DefaultRootWindow(Observer()), 0, 0, 50, 50, 0, 0, 0);
    const Window framed = OtherWindow(Observer(), "framed", frame);
    XStoreName(Observer(), framed, "framed");  // WM_NAME alone, as older clients set it
    XDeleteProperty(Observer(), framed, AtomOf(Observer(), "_NET_WM_NAME"));
    XSync(Observer(), False);
    EXPECT_EQ(Backend().FindForeignWindow("framed"), display::ForeignWindowId(framed));
}

// WM_STATE iconic or _NET_WM_STATE_HIDDEN reads as minimised; a vanished window as not.
TEST_F(ForeignWindowTest, MinimisedFromEitherState) {
    Display* x = Observer();
    const Window other = OtherWindow(x, kTitle);
    EXPECT_FALSE(Backend().IsForeignWindowMinimized(other));
    const unsigned long iconic[] = {IconicState, None};
    XChangeProperty(x, other, AtomOf(x, "WM_STATE"), AtomOf(x, "WM_STATE"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(iconic), 2);
    XSync(x, False);
    EXPECT_TRUE(Backend().IsForeignWindowMinimized(other));
    XDeleteProperty(x, other, AtomOf(x, "WM_STATE"));
    const Atom hidden = AtomOf(x, "_NET_WM_STATE_HIDDEN");
    display::x11::WriteAtoms(x, other, AtomOf(x, "_NET_WM_STATE"), {&hidden, 1});
    XSync(x, False);
    EXPECT_TRUE(Backend().IsForeignWindowMinimized(other));
    XDestroyWindow(x, other);
    XSync(x, False);
    EXPECT_FALSE(Backend().IsForeignWindowMinimized(other));
    EXPECT_FALSE(Backend().RestoreForeignWindow(other));
    EXPECT_FALSE(Backend().ActivateForeignWindow(other));
}

// Without a manager: restoring maps and raises, activating raises and focuses.
TEST_F(ForeignWindowTest, WithoutManagerRestoreMapsAndActivateFocuses) {
    Display* x = Observer();
    const Window other = OtherWindow(x, kTitle);
    XUnmapWindow(x, other);
    XSync(x, False);
    ASSERT_TRUE(Backend().RestoreForeignWindow(other));
    EXPECT_TRUE(WaitUntil([&] { return IsShownOnScreen(other); }));
    ASSERT_TRUE(Backend().ActivateForeignWindow(other));
    EXPECT_TRUE(WaitUntil([&] {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(x, &focus, &revert);
        return focus == other;
    }));
}

using ForeignWindowManagerTest = X11WithWindowManager;

// Under a manager the client list finds the window; restoring an iconified one and
// activating it go through the manager.
TEST_F(ForeignWindowManagerTest, RestoreAndActivateThroughTheManager) {
    Display* x = Observer();
    const Window other = OtherWindow(x, kTitle);
    ASSERT_TRUE(WaitUntil([&] { return PropertyOf(x, other, "WM_STATE").has_value(); }));
    const auto found = Backend().FindForeignWindow(kTitle);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, display::ForeignWindowId(other));

    XIconifyWindow(x, other, DefaultScreen(x));
    XSync(x, False);
    ASSERT_TRUE(WaitUntil([&] { return Backend().IsForeignWindowMinimized(other); }));
    ASSERT_TRUE(Backend().RestoreForeignWindow(other));
    EXPECT_TRUE(WaitUntil([&] { return !Backend().IsForeignWindowMinimized(other); }));

    const SurfaceId ours = ShowSolid({300, 300, 350, 350}, 0x00FF0000);
    Backend().ActivateSurface(ours);
    ASSERT_TRUE(WaitForEvent(EventType::FocusIn));
    ASSERT_TRUE(Backend().ActivateForeignWindow(other));
    const auto out = WaitForEvent(EventType::FocusOut);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->surface, ours);
    EXPECT_TRUE(WaitUntil([&] {
        const auto active = PropertyOf(x, DefaultRootWindow(x), "_NET_ACTIVE_WINDOW");
        return active && !active->items.empty() && active->items[0] == other;
    }));
}

}  // namespace
}  // namespace x11test
