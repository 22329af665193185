#include "platform/display/headless/headless_backend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace display {
namespace {

constexpr std::uint32_t kRed = 0x00FF0000;
constexpr std::uint32_t kGreen = 0x0000FF00;
constexpr std::uint32_t kBlue = 0x000000FF;
constexpr int kVkSpace = 0x20;
constexpr int kVkLeft = 0x25;

// A solid image of the surface's size.
struct Solid {
    Solid(const Rect& bounds, std::uint32_t colour)
        : pixels(std::size_t(bounds.Width()) * bounds.Height(), colour),
          view{pixels.data(), bounds.Width(), bounds.Height(), bounds.Width()} {}
    std::vector<std::uint32_t> pixels;
    PixelView view;
};

class HeadlessBackendTest : public ::testing::Test {
protected:
    // A shown surface showing one colour all over.
    SurfaceId Shown(const Rect& bounds, std::uint32_t colour, bool topmost = false,
                    SurfaceKind kind = SurfaceKind::Normal) {
        const SurfaceId id = backend.CreateSurface({bounds, kind, 0, topmost, "window"});
        PresentAll(id, colour);
        backend.ShowSurface(id, true);
        return id;
    }
    void PresentAll(SurfaceId id, std::uint32_t colour) {
        const Rect bounds = backend.FindSurface(id)->bounds;
        const Solid image(bounds, colour);
        const Rect all{0, 0, bounds.Width(), bounds.Height()};
        backend.Present(id, image.view, {&all, 1});
    }
    std::vector<Event> Drain() {
        std::vector<Event> events;
        while (auto e = backend.NextEvent()) {
            events.push_back(*e);
        }
        return events;
    }

    HeadlessBackend backend;
};

// --- The screen ---

// The default screen is 1280 x 1024 of classic teal; the desktop is paintable.
TEST_F(HeadlessBackendTest, DesktopDefaultsToTealAndCanBePainted) {
    EXPECT_EQ(backend.ScreenBounds(), (Rect{0, 0, 1280, 1024}));
    EXPECT_EQ(backend.PixelAt(0, 0), 0x00008080u);
    EXPECT_EQ(backend.PixelAt(1279, 1023), 0x00008080u);

    backend.FillDesktop({10, 10, 12, 11}, kRed);
    backend.SetDesktopPixel({5, 5}, kBlue);
    EXPECT_EQ(backend.Capture({9, 10, 13, 11}),
              (std::vector<std::uint32_t>{0x00008080, kRed, kRed, 0x00008080}));
    EXPECT_EQ(backend.PixelAt(5, 5), kBlue);
}

// New surfaces are hidden; shown but never presented they are black; hidden and minimised
// surfaces are not composed.
TEST_F(HeadlessBackendTest, OnlyShownUnminimisedSurfacesAreComposed) {
    SurfaceSpec spec;
    spec.bounds = {100, 100, 200, 200};
    const SurfaceId id = backend.CreateSurface(spec);
    EXPECT_EQ(backend.PixelAt(150, 150), HeadlessBackend::kDesktopColour);
    backend.ShowSurface(id, true);
    EXPECT_EQ(backend.PixelAt(150, 150), 0u);

    PresentAll(id, kRed);
    EXPECT_EQ(backend.PixelAt(150, 150), kRed);
    EXPECT_EQ(backend.PixelAt(200, 150), HeadlessBackend::kDesktopColour);  // right exclusive
    backend.MinimizeSurface(id, true);
    EXPECT_EQ(backend.PixelAt(150, 150), HeadlessBackend::kDesktopColour);
    backend.MinimizeSurface(id, false);
    backend.ShowSurface(id, false);
    EXPECT_EQ(backend.PixelAt(150, 150), HeadlessBackend::kDesktopColour);
}

// Only the changed rectangles of a present reach the screen; the presents are recorded.
TEST_F(HeadlessBackendTest, PresentCopiesOnlyChangedRects) {
    const SurfaceId id = Shown({0, 0, 10, 10}, kRed);
    backend.ClearPresentRecords();

    const Solid green({0, 0, 10, 10}, kGreen);
    const Rect changed[] = {{2, 2, 4, 3}, {8, 8, 20, 20}};
    backend.Present(id, green.view, changed);

    EXPECT_EQ(backend.Capture({1, 2, 5, 3}),
              (std::vector<std::uint32_t>{kRed, kGreen, kGreen, kRed}));
    EXPECT_EQ(backend.PixelAt(9, 9), kGreen);
    EXPECT_EQ(backend.PixelAt(7, 9), kRed);
    const SurfaceInfo* info = backend.FindSurface(id);
    EXPECT_EQ(info->presentCount, 1);
    EXPECT_EQ(info->presentedRects, (std::vector<Rect>{changed[0], changed[1]}));
}

// Resizing keeps the presented pixels at the top left; new pixels are black.
TEST_F(HeadlessBackendTest, ResizeKeepsContent) {
    const SurfaceId id = Shown({0, 0, 4, 4}, kRed);
    backend.SetSurfaceBounds(id, {10, 10, 16, 16});
    EXPECT_EQ(backend.Capture({12, 10, 16, 11}), (std::vector<std::uint32_t>{kRed, kRed, 0, 0}));
}

// A read that crosses the screen's edge delivers only the pixels on the screen.
TEST_F(HeadlessBackendTest, ReadScreenDeliversOnlyPixelsOnTheScreen) {
    Shown({1270, 0, 1290, 5}, kBlue);
    const Rect area{1278, -1, 1281, 1};  // 3 x 2: only (1278,0) and (1279,0) are on screen
    std::vector<std::uint32_t> pixels(6, 0xDEADBEEF);
    std::vector<std::uint8_t> delivered(6, 0);
    backend.ReadScreen(area, pixels, delivered);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0xDEADBEEF, 0xDEADBEEF, 0xDEADBEEF, kBlue, kBlue,
                                                  0xDEADBEEF}));
    EXPECT_EQ(delivered, (std::vector<std::uint8_t>{0, 0, 0, 1, 1, 0}));
}

// Two monitors of different heights: the screen is their union, and the corner below the
// smaller one, which no monitor shows, has no pixels to read.
TEST(HeadlessMonitorsTest, TheGapBetweenMonitorsDeliversNothing) {
    HeadlessBackend two;
    two.SetMonitors({{0, 0, 100, 80}, {100, 0, 160, 50}});
    EXPECT_EQ(two.ScreenBounds(), (Rect{0, 0, 160, 80}));
    two.FillDesktop({0, 0, 160, 80}, kBlue);
    const Rect area{99, 49, 101, 51};  // 2 x 2 around the corner of the smaller monitor
    std::vector<std::uint32_t> pixels(4, 0xDEADBEEF);
    std::vector<std::uint8_t> delivered(4, 0);
    two.ReadScreen(area, pixels, delivered);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{kBlue, kBlue, kBlue, 0xDEADBEEF}));
    EXPECT_EQ(delivered, (std::vector<std::uint8_t>{1, 1, 1, 0}));
}

// --- Stacking ---

// Bands bottom to top: normal, topmost, menu; a new surface goes on top of its own band.
TEST_F(HeadlessBackendTest, BandsKeepTopmostAndMenusAbove) {
    const Rect r{0, 0, 10, 10};
    const SurfaceId menu = Shown(r, kBlue, false, SurfaceKind::Menu);
    const SurfaceId top = Shown(r, kGreen, true);
    const SurfaceId normal = Shown(r, kRed);
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{menu, top, normal}));
    EXPECT_EQ(backend.PixelAt(5, 5), kBlue);

    backend.ShowSurface(menu, false);
    EXPECT_EQ(backend.PixelAt(5, 5), kGreen);
    backend.RaiseSurface(normal, 0);  // top of its band only
    EXPECT_EQ(backend.PixelAt(5, 5), kGreen);

    backend.SetSurfaceTopmost(normal, true);  // top of the topmost band
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{menu, normal, top}));
    EXPECT_EQ(backend.PixelAt(5, 5), kRed);
    backend.SetSurfaceTopmost(top, false);
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{menu, normal, top}));
    EXPECT_TRUE(backend.FindSurface(normal)->topmost);
}

// RaiseSurface(id, below) stacks directly below `below` in the same band, else on top.
TEST_F(HeadlessBackendTest, RaiseBelowStaysWithinTheBand) {
    const Rect r{0, 0, 10, 10};
    const SurfaceId a = Shown(r, kRed);
    const SurfaceId b = Shown(r, kGreen);
    const SurfaceId c = Shown(r, kBlue);
    const SurfaceId low = Shown(r, kBlue, true);
    const SurfaceId high = Shown(r, kBlue, true);

    backend.RaiseSurface(c, a);
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{high, low, b, a, c}));
    backend.RaiseSurface(c, high);  // another band: top of its own
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{high, low, c, b, a}));
    backend.RaiseSurface(a, 999);
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{high, low, a, c, b}));
    backend.RaiseSurface(high, low);
    EXPECT_EQ(backend.SurfacesTopToBottom(), (std::vector<SurfaceId>{low, high, a, c, b}));
}

// Unknown surface ids are ignored.
TEST_F(HeadlessBackendTest, UnknownSurfacesAreIgnored) {
    const SurfaceId ghost = 42;
    const Rect all{0, 0, 5, 5};
    const Solid image(all, kRed);
    backend.Present(ghost, image.view, {&all, 1});
    backend.SetSurfaceBounds(ghost, all);
    backend.SetSurfaceTopmost(ghost, true);
    backend.RaiseSurface(ghost, 0);
    backend.ShowSurface(ghost, true);
    backend.ActivateSurface(ghost);
    backend.FocusTo(ghost);
    backend.RequestClose(ghost);
    backend.DestroySurface(ghost);
    EXPECT_TRUE(backend.SurfacesTopToBottom().empty());
    EXPECT_EQ(backend.ActiveSurface(), 0u);
    EXPECT_EQ(backend.PendingEventCount(), 0u);
}

// --- Input ---

// Events carry the clock at injection; keys go to the active surface, pointer events to the
// surface under the pointer.
TEST_F(HeadlessBackendTest, InputEventsInOrderWithTimestamps) {
    const SurfaceId id = Shown({100, 100, 200, 200}, kRed);
    backend.ActivateSurface(id);
    const std::uint64_t t0 = backend.Clock();
    EXPECT_EQ(t0, HeadlessBackend::kClockStartMs);

    backend.KeyDown(kVkSpace, " ");
    backend.Advance(30);
    backend.KeyRepeat(kVkSpace, " ");
    backend.KeyUp(kVkSpace);
    backend.InputMethodText("あ");
    backend.Click(MouseButton::Right, {150, 160});
    backend.MovePointer(50, 50);

    const std::vector<Event> e = Drain();
    ASSERT_EQ(e.size(), 8u);
    EXPECT_EQ(e[0].type, EventType::KeyDown);
    EXPECT_FALSE(e[0].repeat);
    EXPECT_EQ(e[0].text, " ");
    EXPECT_EQ(e[0].timeMs, t0);
    EXPECT_TRUE(e[1].repeat);
    EXPECT_EQ(e[1].timeMs, t0 + 30);
    EXPECT_EQ(e[2].type, EventType::KeyUp);
    EXPECT_EQ(e[3].type, EventType::Char);
    EXPECT_EQ(e[3].text, "あ");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(e[i].surface, id);
    }
    EXPECT_EQ(e[4].type, EventType::PointerMove);
    EXPECT_EQ(e[5].type, EventType::ButtonDown);
    EXPECT_EQ(e[5].button, MouseButton::Right);
    EXPECT_EQ(e[6].type, EventType::ButtonUp);
    for (int i = 4; i < 7; ++i) {
        EXPECT_EQ(e[i].surface, id);
        EXPECT_EQ(e[i].screen, (Point{150, 160}));
    }
    EXPECT_EQ(e[7].surface, 0u);  // the desktop
}

// The pointer stays on the screen; a warp is seen as a motion, a non-move queues nothing.
TEST_F(HeadlessBackendTest, PointerIsClampedAndWarpsMove) {
    backend.MovePointer(-5, 5000);
    EXPECT_EQ(backend.PointerPosition(), (Point{0, 1023}));
    backend.WarpPointer({2000, -1});
    EXPECT_EQ(backend.PointerPosition(), (Point{1279, 0}));
    backend.WarpPointer({1279, 0});

    const std::vector<Event> e = Drain();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1].type, EventType::PointerMove);
    EXPECT_EQ(e[1].screen, (Point{1279, 0}));
}

// Focus moves out of the old surface before into the new; a foreign window takes it away.
TEST_F(HeadlessBackendTest, FocusEvents) {
    const SurfaceId a = Shown({0, 0, 10, 10}, kRed);
    const SurfaceId b = Shown({0, 0, 10, 10}, kRed);
    const ForeignWindowId other = backend.AddForeignWindow("Other");
    backend.FocusTo(a);
    backend.FocusTo(b);
    ASSERT_TRUE(backend.ActivateForeignWindow(other));

    const std::vector<Event> e = Drain();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_TRUE(e[0].type == EventType::FocusIn && e[0].surface == a);
    EXPECT_TRUE(e[1].type == EventType::FocusOut && e[1].surface == a);
    EXPECT_TRUE(e[2].type == EventType::FocusIn && e[2].surface == b);
    EXPECT_TRUE(e[3].type == EventType::FocusOut && e[3].surface == b);
    EXPECT_EQ(backend.ActiveSurface(), 0u);
    EXPECT_EQ(backend.ActiveForeignWindow(), other);
}

// The user's window-system actions change state and queue their events.
TEST_F(HeadlessBackendTest, UserWindowActions) {
    const SurfaceId id = Shown({0, 0, 10, 10}, kRed);
    backend.MinimizeByUser(id);
    EXPECT_TRUE(backend.FindSurface(id)->minimized);
    backend.RestoreByUser(id);
    backend.MoveByUser(id, {20, 30, 30, 40});
    backend.RequestClose(id);

    const std::vector<Event> e = Drain();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].type, EventType::Minimized);
    EXPECT_EQ(e[1].type, EventType::Restored);
    EXPECT_EQ(e[2].type, EventType::Moved);
    EXPECT_EQ(e[2].area, (Rect{20, 30, 30, 40}));
    EXPECT_EQ(e[3].type, EventType::CloseRequest);
    EXPECT_EQ(backend.PixelAt(25, 35), kRed);
}

// --- Clock and Wait ---

// A pending event returns at once; otherwise virtual time jumps to the deadline.
TEST_F(HeadlessBackendTest, WaitReturnsOnEventOrJumpsToDeadline) {
    const std::uint64_t t0 = backend.Clock();
    backend.KeyDown(kVkLeft);
    backend.Wait(t0 + 100);
    EXPECT_EQ(backend.Clock(), t0);

    Drain();
    backend.Wait(t0 + 100);
    EXPECT_EQ(backend.Clock(), t0 + 100);
    backend.Wait(t0 + 50);  // already past
    EXPECT_EQ(backend.Clock(), t0 + 100);
}

// The idle handler runs when nothing is pending and can inject what ends the wait.
TEST_F(HeadlessBackendTest, IdleHandlerDrivesTheWait) {
    const std::uint64_t t0 = backend.Clock();
    int calls = 0;
    std::vector<std::optional<std::uint64_t>> deadlines;
    backend.SetIdleHandler([&] {
        ++calls;
        deadlines.push_back(backend.IdleDeadline());
        backend.Advance(10);
        backend.Press(kVkSpace, " ");
    });
    backend.Wait(std::nullopt);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(backend.Clock(), t0 + 10);
    EXPECT_EQ(backend.PendingEventCount(), 2u);
    // The handler is told when the waiting loop has work due; outside it, nothing.
    Drain();
    backend.Wait(t0 + 500);
    EXPECT_EQ(deadlines, (std::vector<std::optional<std::uint64_t>>{std::nullopt, t0 + 500}));
    EXPECT_EQ(backend.IdleDeadline(), std::nullopt);
}

// A wait that can never end fails the test instead of hanging it.
TEST_F(HeadlessBackendTest, WaitThatCanNeverEndAborts) {
    EXPECT_DEATH(backend.Wait(std::nullopt), "headless display: Wait\\(\\) with no deadline");
    backend.SetIdleHandler([] {});
    EXPECT_DEATH(backend.Wait(std::nullopt), "idle handler queued no event");
    // A handler that never injects anything, in a loop that runs on timers alone.
    EXPECT_DEATH(
        {
            for (;;) {
                backend.Wait(backend.Clock() + 100);
            }
        },
        "waits in a row with no event queued");
}

// --- Clipboard and other processes ---

TEST_F(HeadlessBackendTest, ClipboardIsSharedWithOtherPrograms) {
    EXPECT_EQ(backend.ClipboardText(), std::nullopt);
    backend.CopyFromOtherProgram("from elsewhere");
    EXPECT_EQ(backend.ClipboardText(), "from elsewhere");
    backend.SetClipboardText("RGB(0, 128, 255)");
    EXPECT_EQ(backend.ClipboardContent(), "RGB(0, 128, 255)");
    EXPECT_EQ(backend.ClipboardWriteCount(), 1);
}

// Found by exact title, the top-most first; restored and activated on request.
TEST_F(HeadlessBackendTest, ForeignWindows) {
    const ForeignWindowId older = backend.AddForeignWindow("Tintaro LE", true);
    const ForeignWindowId newer = backend.AddForeignWindow("Tintaro LE", true);
    EXPECT_EQ(backend.FindForeignWindow("Tintaro LE"), newer);
    EXPECT_EQ(backend.FindForeignWindow("Tintaro"), std::nullopt);

    EXPECT_TRUE(backend.ActivateForeignWindow(older));
    EXPECT_EQ(backend.FindForeignWindow("Tintaro LE"), older);
    EXPECT_EQ(backend.FindForeignWindowInfo(older)->activationCount, 1);

    EXPECT_TRUE(backend.IsForeignWindowMinimized(older));
    EXPECT_TRUE(backend.RestoreForeignWindow(older));
    EXPECT_FALSE(backend.IsForeignWindowMinimized(older));
    EXPECT_TRUE(backend.IsForeignWindowMinimized(newer));
    EXPECT_FALSE(backend.RestoreForeignWindow(12345));
    EXPECT_FALSE(backend.ActivateForeignWindow(12345));
}

}  // namespace
}  // namespace display
