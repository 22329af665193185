// Our windows as other clients and the window manager see them: the hints that make them
// undecorated, typed and owned; exact rectangles; stacking with and without a manager;
// activation, minimising, moves and close requests coming back as events.
#include <unistd.h>

#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

using display::SurfaceKind;
using display::SurfaceSpec;

constexpr std::uint32_t kRed = 0x00FF0000;
constexpr std::uint32_t kBlue = 0x000000FF;

using WindowTest = X11Fixture;

bool HasAtom(const std::optional<display::x11::PropertyValue>& value, Atom atom) {
    return value && value->format == 32 && value->HasItem(atom);
}

// A normal surface: both titles (UTF-8 in _NET_WM_NAME), class, pid, no decoration, the
// delete protocol, a normal type, and exactly the rectangle asked for.
TEST_F(WindowTest, NormalSurfaceCarriesItsHints) {
    const std::string title = "\xE3\x82\xB9\xE3\x83\x9D\xE3\x82\xA4\xE3\x83\x88 Tintaro";
    const SurfaceId id =
        Backend().CreateSurface({{30, 40, 232, 240}, SurfaceKind::Normal, 0, false, title});
    XSync(Backend().XDisplay(), False);
    Display* x = Observer();
    const Window window = Backend().XWindowOf(id);

    const auto netName = PropertyOf(x, window, "_NET_WM_NAME");
    ASSERT_TRUE(netName);
    EXPECT_EQ(netName->type, AtomOf(x, "UTF8_STRING"));
    EXPECT_EQ(netName->Text(), title);
    const auto name = PropertyOf(x, window, "WM_NAME");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Text(), title);  // beyond Latin-1: UTF8_STRING

    Backend().SetSurfaceTitle(id, "caf\xC3\xA9");
    XSync(Backend().XDisplay(), False);
    EXPECT_EQ(PropertyOf(x, window, "WM_NAME")->type, XA_STRING);
    EXPECT_EQ(PropertyOf(x, window, "WM_NAME")->Text(), "caf\xE9");
    EXPECT_EQ(PropertyOf(x, window, "_NET_WM_NAME")->Text(), "caf\xC3\xA9");

    XClassHint classHint{};
    ASSERT_TRUE(XGetClassHint(x, window, &classHint));
    EXPECT_STREQ(classHint.res_class, "TintaroLE");
    EXPECT_STREQ(classHint.res_name, "x11_tests");
    XFree(classHint.res_name);
    XFree(classHint.res_class);

    const auto pid = PropertyOf(x, window, "_NET_WM_PID");
    ASSERT_TRUE(pid);
    EXPECT_EQ(pid->items, std::vector<unsigned long>{static_cast<unsigned long>(getpid())});
    EXPECT_TRUE(PropertyOf(x, window, "WM_CLIENT_MACHINE"));

    const auto motif = PropertyOf(x, window, "_MOTIF_WM_HINTS");
    ASSERT_TRUE(motif);
    ASSERT_EQ(motif->items.size(), 5u);
    EXPECT_EQ(motif->items[0] & 2, 2u);  // decorations given...
    EXPECT_EQ(motif->items[2], 0u);      // ...and none of them

    EXPECT_TRUE(HasAtom(PropertyOf(x, window, "WM_PROTOCOLS"), AtomOf(x, "WM_DELETE_WINDOW")));
    EXPECT_TRUE(HasAtom(PropertyOf(x, window, "_NET_WM_WINDOW_TYPE"),
                        AtomOf(x, "_NET_WM_WINDOW_TYPE_NORMAL")));
    EXPECT_FALSE(PropertyOf(x, window, "WM_TRANSIENT_FOR"));

    Window root = None;
    int wx = 0, wy = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(x, window, &root, &wx, &wy, &width, &height, &border, &depth);
    EXPECT_EQ((Rect{wx, wy, wx + int(width), wy + int(height)}), (Rect{30, 40, 232, 240}));
    EXPECT_EQ(border, 0u);
}

// A tool window: transient for its owner, a dialog, and off the task bar and pager.
TEST_F(WindowTest, ToolSurfaceIsTransientForItsOwner) {
    const SurfaceId owner =
        Backend().CreateSurface({{0, 0, 100, 100}, SurfaceKind::Normal, 0, false, "main"});
    const SurfaceId tool =
        Backend().CreateSurface({{0, 0, 50, 50}, SurfaceKind::Tool, owner, false, "zoom"});
    XSync(Backend().XDisplay(), False);
    Display* x = Observer();
    const Window window = Backend().XWindowOf(tool);
    Window transientFor = None;
    ASSERT_TRUE(XGetTransientForHint(x, window, &transientFor));
    EXPECT_EQ(transientFor, Backend().XWindowOf(owner));
    EXPECT_TRUE(HasAtom(PropertyOf(x, window, "_NET_WM_WINDOW_TYPE"),
                        AtomOf(x, "_NET_WM_WINDOW_TYPE_DIALOG")));
    const auto state = PropertyOf(x, window, "_NET_WM_STATE");
    EXPECT_TRUE(HasAtom(state, AtomOf(x, "_NET_WM_STATE_SKIP_TASKBAR")));
    EXPECT_TRUE(HasAtom(state, AtomOf(x, "_NET_WM_STATE_SKIP_PAGER")));
}

// A menu is override-redirect: no manager ever touches it.
TEST_F(WindowTest, MenuSurfaceIsOverrideRedirect) {
    const SurfaceId menu =
        Backend().CreateSurface({{0, 0, 80, 120}, SurfaceKind::Menu, 0, false, ""});
    XSync(Backend().XDisplay(), False);
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(Observer(), Backend().XWindowOf(menu), &attributes));
    EXPECT_TRUE(attributes.override_redirect);
}

// The icon goes as width, height and ARGB rows; an empty one removes it.
TEST_F(WindowTest, IconIsWidthHeightAndArgbPixels) {
    const SurfaceId id =
        Backend().CreateSurface({{0, 0, 10, 10}, SurfaceKind::Normal, 0, false, "i"});
    const std::uint32_t pixels[] = {0xFF112233, 0x80445566, 0x00000000, 0xFFFFFFFF, 0, 0};
    Backend().SetSurfaceIcon(id, {pixels, 2, 2, 3});  // stride 3: the third column is not icon
    XSync(Backend().XDisplay(), False);
    const Window window = Backend().XWindowOf(id);
    const auto icon = PropertyOf(Observer(), window, "_NET_WM_ICON");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->items,
              (std::vector<unsigned long>{2, 2, 0xFF112233, 0x80445566, 0xFFFFFFFF, 0}));
    Backend().SetSurfaceIcon(id, {});
    XSync(Backend().XDisplay(), False);
    EXPECT_FALSE(PropertyOf(Observer(), window, "_NET_WM_ICON"));
}

// Topmost before mapping is a property the manager reads when it takes the window on.
TEST_F(WindowTest, TopmostIsAStatePropertyBeforeMapping) {
    const SurfaceId id =
        Backend().CreateSurface({{0, 0, 10, 10}, SurfaceKind::Normal, 0, true, "t"});
    XSync(Backend().XDisplay(), False);
    const Window window = Backend().XWindowOf(id);
    const Atom above = AtomOf(Observer(), "_NET_WM_STATE_ABOVE");
    EXPECT_TRUE(HasAtom(PropertyOf(Observer(), window, "_NET_WM_STATE"), above));
    Backend().SetSurfaceTopmost(id, false);
    XSync(Backend().XDisplay(), False);
    EXPECT_FALSE(HasAtom(PropertyOf(Observer(), window, "_NET_WM_STATE"), above));
}

// Without a manager we stack ourselves: a topmost window stays above a raised normal one,
// and loses that place when it stops being topmost.
TEST_F(WindowTest, WithoutManagerTopmostStaysAbove) {
    const SurfaceId top = ShowSolid({100, 100, 200, 200}, kRed, SurfaceKind::Normal, true);
    const SurfaceId normal = ShowSolid({150, 150, 250, 250}, kBlue);
    // A raised window's newly visible part is put back when its Expose is handled.
    const auto overlapShows = [&](std::uint32_t colour) {
        return WaitUntil([&] { return PixelAt(175, 175) == colour; });
    };
    Backend().RaiseSurface(normal, 0);
    EXPECT_TRUE(overlapShows(kRed));
    EXPECT_EQ(PixelAt(225, 225), kBlue);
    Backend().SetSurfaceTopmost(top, false);
    Backend().RaiseSurface(normal, 0);
    EXPECT_TRUE(overlapShows(kBlue));
    Backend().RaiseSurface(top, 0);
    EXPECT_TRUE(overlapShows(kRed));
    Backend().RaiseSurface(top, normal);  // directly below
    EXPECT_TRUE(overlapShows(kBlue));
}

// Another client moving our window is reported with the new rectangle; our own moves are not.
TEST_F(WindowTest, MovesByOthersAreReportedOursAreNot) {
    const Rect bounds{100, 100, 140, 130};
    const SurfaceId id = ShowSolid(bounds, kRed);
    Backend().SetSurfaceBounds(id, {300, 310, 340, 340});
    XSync(Backend().XDisplay(), False);
    XMoveWindow(Observer(), Backend().XWindowOf(id), 500, 400);
    XSync(Observer(), False);
    const auto moved = WaitForEvent(EventType::Moved);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->surface, id);
    EXPECT_EQ(moved->area, (Rect{500, 400, 540, 430}));
    for (const Event& e : Seen()) {
        EXPECT_FALSE(e.type == EventType::Moved && e.area.left == 300);
    }
    EXPECT_EQ(PixelAt(510, 410), kRed);
}

// WM_DELETE_WINDOW from the manager (here another client) is a close request.
TEST_F(WindowTest, DeleteWindowMessageIsACloseRequest) {
    const SurfaceId id = ShowSolid({0, 0, 30, 30}, kRed);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = Backend().XWindowOf(id);
    message.xclient.message_type = AtomOf(Observer(), "WM_PROTOCOLS");
    message.xclient.format = 32;
    message.xclient.data.l[0] = long(AtomOf(Observer(), "WM_DELETE_WINDOW"));
    XSendEvent(Observer(), message.xclient.window, False, NoEventMask, &message);
    XFlush(Observer());
    const auto close = WaitForEvent(EventType::CloseRequest);
    ASSERT_TRUE(close);
    EXPECT_EQ(close->surface, id);
}

// Without a manager, another client unmapping a shown window minimises it and mapping it
// restores it; hiding or minimising it ourselves reports nothing.
TEST_F(WindowTest, WithoutManagerUnmapByOthersMinimises) {
    const SurfaceId id = ShowSolid({0, 0, 30, 30}, kRed);
    const Window window = Backend().XWindowOf(id);
    Backend().MinimizeSurface(id, true);
    Backend().MinimizeSurface(id, false);
    Backend().ShowSurface(id, false);
    Backend().ShowSurface(id, true);
    EXPECT_TRUE(WaitUntil([&] { return IsShownOnScreen(window); }));
    XUnmapWindow(Observer(), window);
    XFlush(Observer());
    const auto minimized = WaitForEvent([](const Event& e) {
        return e.type == EventType::Minimized || e.type == EventType::Restored;
    });
    ASSERT_TRUE(minimized);
    EXPECT_EQ(minimized->type, EventType::Minimized);
    EXPECT_EQ(minimized->surface, id);
    XMapWindow(Observer(), window);
    XFlush(Observer());
    const auto restored = WaitForEvent(EventType::Restored);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->surface, id);
    // Only the other client's unmap counted, not our own hiding and minimising before it.
    EXPECT_EQ(std::count_if(Seen().begin(), Seen().end(),
                            [](const Event& e) { return e.type == EventType::Minimized; }),
              1);
}

// Without a manager WM_STATE still tells other clients (a second copy of the program) whether
// a window is iconic: whoever minimised it, until it is shown again or hidden.
TEST_F(WindowTest, WithoutManagerIconicStateIsPublished) {
    const SurfaceId id = ShowSolid({0, 0, 30, 30}, kRed);
    const Window window = Backend().XWindowOf(id);
    const auto state = [&]() -> long {
        XSync(Backend().XDisplay(), False);
        const auto value = PropertyOf(Observer(), window, "WM_STATE");
        return value && !value->items.empty() ? long(value->items[0]) : -1;
    };
    EXPECT_EQ(state(), NormalState);
    Backend().MinimizeSurface(id, true);
    EXPECT_EQ(state(), IconicState);
    Backend().MinimizeSurface(id, false);
    EXPECT_EQ(state(), NormalState);
    Backend().ShowSurface(id, false);
    EXPECT_EQ(state(), -1) << "a hidden window is withdrawn, not iconic";
    Backend().ShowSurface(id, true);
    EXPECT_TRUE(WaitUntil([&] { return IsShownOnScreen(window); }));

    XUnmapWindow(Observer(), window);
    XFlush(Observer());
    ASSERT_TRUE(WaitForEvent(EventType::Minimized));
    EXPECT_EQ(state(), IconicState);
    XMapWindow(Observer(), window);
    XFlush(Observer());
    ASSERT_TRUE(WaitForEvent(EventType::Restored));
    EXPECT_EQ(state(), NormalState);
}

// Activation without a manager is the input focus, and focus changes come back as events.
TEST_F(WindowTest, WithoutManagerActivationSetsTheFocus) {
    const SurfaceId a = ShowSolid({0, 0, 30, 30}, kRed);
    const SurfaceId b = ShowSolid({50, 0, 80, 30}, kBlue);
    Backend().ActivateSurface(a);
    const auto in = WaitForEvent(EventType::FocusIn);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->surface, a);
    Backend().ActivateSurface(b);
    const auto out = WaitForEvent(EventType::FocusOut);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->surface, a);
    const auto inB = WaitForEvent(EventType::FocusIn);
    ASSERT_TRUE(inB);
    EXPECT_EQ(inB->surface, b);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(Observer(), &focus, &revert);
    EXPECT_EQ(focus, Backend().XWindowOf(b));
    // Without a manager nobody can move the window for us: the window system drags it.
    EXPECT_FALSE(Backend().BeginMoveDrag(b, {60, 10}));
}

// Two activations before the server answers: the focus events the first one caused are
// stale and not reported, or the layer above would activate that window again, the server
// would answer with the other's stale events, and the two would take the focus in turns.
TEST_F(WindowTest, FocusEventsOlderThanTheLatestActivationAreNotReported) {
    const SurfaceId a = ShowSolid({0, 0, 30, 30}, kRed);
    const SurfaceId b = ShowSolid({50, 0, 80, 30}, kBlue);
    Backend().ActivateSurface(a);
    Backend().ActivateSurface(b);
    const auto in = WaitForEvent(EventType::FocusIn);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->surface, b);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(Observer(), &focus, &revert);
    EXPECT_EQ(focus, Backend().XWindowOf(b));
    // The server sent a's FocusIn and FocusOut before b's FocusIn.
    for (const Event& seen : Seen()) {
        EXPECT_FALSE(seen.surface == a &&
                     (seen.type == EventType::FocusIn || seen.type == EventType::FocusOut));
    }
}

// The input method is opened when the first frame is out and the program waits, not before
// the window shows; the first key opens it too (the input tests type before any wait).
TEST_F(WindowTest, InputMethodOpensAfterTheFirstFrame) {
    const Rect bounds{0, 0, 30, 30};
    const SurfaceId id =
        Backend().CreateSurface({bounds, display::SurfaceKind::Normal, 0, false, "a"});
    Backend().Wait(Backend().Clock() + 5);
    EXPECT_FALSE(Backend().InputMethodOpened());
    PresentSolid(id, bounds, kRed);
    Backend().Wait(Backend().Clock() + 5);
    EXPECT_TRUE(Backend().InputMethodOpened());
}

// Wait returns at its deadline when nothing happens, and as soon as an event comes when it
// has none; the clock is monotonic milliseconds and stamps the events.
TEST_F(WindowTest, WaitEndsAtTheDeadlineOrOnAnEvent) {
    const SurfaceId id = ShowSolid({0, 0, 30, 30}, kRed);
    while (Backend().NextEvent()) {
    }
    const std::uint64_t start = Backend().Clock();
    Backend().Wait(start + 150);
    const std::uint64_t waited = Backend().Clock() - start;
    EXPECT_GE(waited, 150u);
    EXPECT_LT(waited, 1000u);

    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = Backend().XWindowOf(id);
    message.xclient.message_type = AtomOf(Observer(), "WM_PROTOCOLS");
    message.xclient.format = 32;
    message.xclient.data.l[0] = long(AtomOf(Observer(), "WM_DELETE_WINDOW"));
    XSendEvent(Observer(), message.xclient.window, False, NoEventMask, &message);
    XFlush(Observer());
    const std::uint64_t sent = Backend().Clock();
    Backend().Wait(std::nullopt);
    const auto event = Backend().NextEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->type, EventType::CloseRequest);
    EXPECT_GE(event->timeMs, sent);
    EXPECT_LE(event->timeMs, Backend().Clock());
}

using WindowManagerTest = X11WithWindowManager;

// Under a manager the window keeps exactly our rectangle: no frame, no placement of its own.
TEST_F(WindowManagerTest, ManagedWindowKeepsItsExactRectangle) {
    const Rect bounds{210, 160, 210 + 202, 160 + 200};
    const SurfaceId id = ShowSolid(bounds, kRed);
    const Window window = Backend().XWindowOf(id);
    EXPECT_TRUE(WaitUntil([&] { return PropertyOf(Observer(), window, "WM_STATE").has_value(); }));
    XSync(Observer(), False);
    int x = 0, y = 0;
    Window child = None;
    XTranslateCoordinates(Observer(), window, DefaultRootWindow(Observer()), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, bounds.left);
    EXPECT_EQ(y, bounds.top);
    EXPECT_EQ(ReadScreen({bounds.left - 1, bounds.top - 1, bounds.left + 2, bounds.top + 2}),
              (std::vector<std::uint32_t>{
                  PixelAt(bounds.left - 1, bounds.top - 1), PixelAt(bounds.left, bounds.top - 1),
                  PixelAt(bounds.left + 1, bounds.top - 1), PixelAt(bounds.left - 1, bounds.top),
                  kRed, kRed, PixelAt(bounds.left - 1, bounds.top + 1), kRed, kRed}));
    for (const Event& e : Seen()) {
        EXPECT_NE(e.type, EventType::Moved) << "the manager moved the window";
    }
}

// Topmost of a mapped window is asked of the manager, which then shows it in the state.
TEST_F(WindowManagerTest, TopmostIsAskedOfTheManager) {
    const SurfaceId id = ShowSolid({0, 0, 50, 50}, kRed);
    const Window window = Backend().XWindowOf(id);
    const Atom above = AtomOf(Observer(), "_NET_WM_STATE_ABOVE");
    Backend().SetSurfaceTopmost(id, true);
    EXPECT_TRUE(
        WaitUntil([&] { return HasAtom(PropertyOf(Observer(), window, "_NET_WM_STATE"), above); }));
    Backend().SetSurfaceTopmost(id, false);
    EXPECT_TRUE(WaitUntil(
        [&] { return !HasAtom(PropertyOf(Observer(), window, "_NET_WM_STATE"), above); }));
}

// Activation goes through _NET_ACTIVE_WINDOW; the manager focuses the window.
TEST_F(WindowManagerTest, ActivationGoesThroughTheManager) {
    const SurfaceId a = ShowSolid({0, 0, 50, 50}, kRed);
    const SurfaceId b = ShowSolid({100, 0, 150, 50}, kBlue);
    Backend().ActivateSurface(a);
    ASSERT_TRUE(WaitForEvent(
        [&](const Event& e) { return e.type == EventType::FocusIn && e.surface == a; }));
    Backend().ActivateSurface(b);
    ASSERT_TRUE(WaitForEvent(
        [&](const Event& e) { return e.type == EventType::FocusIn && e.surface == b; }));
    // The manager publishes the active window after it has moved the focus, so it is waited for.
    EXPECT_TRUE(WaitUntil([&] {
        const auto now =
            PropertyOf(Observer(), DefaultRootWindow(Observer()), "_NET_ACTIVE_WINDOW");
        return now && !now->items.empty() && now->items[0] == Backend().XWindowOf(b);
    }));
}

// Minimising asks the manager to iconify; the user iconifying (a WM_CHANGE_STATE from any
// client, as a task bar sends) and restoring come back as events, our own request does not.
TEST_F(WindowManagerTest, IconifyingGoesBothWays) {
    const SurfaceId id = ShowSolid({0, 0, 50, 50}, kRed);
    const Window window = Backend().XWindowOf(id);
    const auto isIconic = [&] {
        const auto state = PropertyOf(Observer(), window, "WM_STATE");
        return state && !state->items.empty() && state->items[0] == IconicState;
    };
    // A state change the manager wrote before it saw our request, read only after we asked,
    // is not the user restoring the window.
    const Atom netWmState = AtomOf(Observer(), "_NET_WM_STATE");
    XChangeProperty(Observer(), window, netWmState, XA_ATOM, 32, PropModeAppend, nullptr, 0);
    XSync(Observer(), False);
    Backend().MinimizeSurface(id, true);
    Backend().ProcessServerEvents(0);
    EXPECT_TRUE(WaitUntil(isIconic));
    XChangeProperty(Observer(), window, netWmState, XA_ATOM, 32, PropModeAppend, nullptr, 0);
    XSync(Observer(), False);
    Backend().MinimizeSurface(id, false);
    Backend().ProcessServerEvents(0);
    EXPECT_TRUE(WaitUntil([&] { return !isIconic(); }));
    Backend().ActivateSurface(id);
    EXPECT_FALSE(WaitForEvent(
        [](const Event& e) {
            return e.type == EventType::Minimized || e.type == EventType::Restored;
        },
        300));

    XEvent change{};
    change.xclient.type = ClientMessage;
    change.xclient.window = window;
    change.xclient.message_type = AtomOf(Observer(), "WM_CHANGE_STATE");
    change.xclient.format = 32;
    change.xclient.data.l[0] = IconicState;
    XSendEvent(Observer(), DefaultRootWindow(Observer()), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &change);
    XFlush(Observer());
    const auto minimized = WaitForEvent([](const Event& e) {
        return e.type == EventType::Minimized || e.type == EventType::Restored;
    });
    ASSERT_TRUE(minimized);
    EXPECT_EQ(minimized->type, EventType::Minimized);

    XEvent activate{};
    activate.xclient.type = ClientMessage;
    activate.xclient.window = window;
    activate.xclient.message_type = AtomOf(Observer(), "_NET_ACTIVE_WINDOW");
    activate.xclient.format = 32;
    activate.xclient.data.l[0] = 2;
    XSendEvent(Observer(), DefaultRootWindow(Observer()), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &activate);
    XFlush(Observer());
    const auto restored = WaitForEvent(EventType::Restored);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->surface, id);
}

// A manager that moves windows takes the move-drag; a move it makes is reported.
TEST_F(WindowManagerTest, ManagerMovesAreReported) {
    const SurfaceId id = ShowSolid({100, 100, 150, 150}, kRed);
    EXPECT_TRUE(Backend().BeginMoveDrag(id, {110, 110}));
    XMoveWindow(Observer(), Backend().XWindowOf(id), 400, 300);  // to the manager, redirected
    XFlush(Observer());
    const auto moved = WaitForEvent(EventType::Moved);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->area, (Rect{400, 300, 450, 350}));
}

}  // namespace
}  // namespace x11test
