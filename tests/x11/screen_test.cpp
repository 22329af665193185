// Drawing and reading the screen: presented pixels reach the screen exactly, only the changed
// rectangles travel, exposed areas are put back from our copy, and reads clip to the monitors.
#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

constexpr std::uint32_t kRed = 0x00FF0000;
constexpr std::uint32_t kBlue = 0x000000FF;
constexpr std::uint32_t kGreen = 0x0000FF00;

class ScreenTest : public X11Fixture, public ::testing::WithParamInterface<bool> {
protected:
    display::X11Options BackendOptions() const override {
        display::X11Options options = X11Fixture::BackendOptions();
        options.allowSharedMemory = GetParam();
        return options;
    }
};

// A pattern in which every pixel differs from its neighbours, so a shifted or swapped
// channel shows.
std::vector<std::uint32_t> Pattern(int width, int height) {
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[std::size_t(y) * width + x] = std::uint32_t((x * 7) & 0xFF) << 16 |
                                                 std::uint32_t((y * 13) & 0xFF) << 8 |
                                                 std::uint32_t((x + y) & 0xFF);
        }
    }
    return pixels;
}

// What Present sends is what ReadScreen reads back, pixel for pixel, through MIT-SHM or not.
TEST_P(ScreenTest, PresentedPixelsReadBackExactly) {
    EXPECT_EQ(Backend().UsesSharedMemory(), GetParam());
    const Rect bounds{100, 120, 100 + 202, 120 + 200};
    const SurfaceId id = ShowSolid(bounds, 0);
    const auto pattern = Pattern(bounds.Width(), bounds.Height());
    const display::PixelView view{pattern.data(), bounds.Width(), bounds.Height(), bounds.Width()};
    const Rect all{0, 0, bounds.Width(), bounds.Height()};
    Backend().Present(id, view, {&all, 1});
    EXPECT_EQ(ReadScreen(bounds), pattern);
}

// Only the changed rectangles reach the screen: the rest keeps what was presented before,
// even though the image passed holds other pixels there.
TEST_P(ScreenTest, OnlyChangedRectanglesArePut) {
    const Rect bounds{10, 10, 60, 50};
    const SurfaceId id = ShowSolid(bounds, kRed);
    std::vector<std::uint32_t> blue(std::size_t(bounds.Width()) * bounds.Height(), kBlue);
    const display::PixelView view{blue.data(), bounds.Width(), bounds.Height(), bounds.Width()};
    const Rect changed[] = {{5, 5, 10, 8}, {0, 39, 50, 40}};
    Backend().Present(id, view, changed);
    EXPECT_EQ(PixelAt(10 + 5, 10 + 5), kBlue);
    EXPECT_EQ(PixelAt(10 + 9, 10 + 7), kBlue);
    EXPECT_EQ(PixelAt(10 + 10, 10 + 7), kRed);
    EXPECT_EQ(PixelAt(10 + 4, 10 + 5), kRed);
    EXPECT_EQ(PixelAt(10 + 0, 10 + 39), kBlue);
    EXPECT_EQ(PixelAt(10 + 0, 10 + 38), kRed);
}

// A window of another client covering ours and going away exposes our pixels: they come
// back from our copy, with no Expose for the window system to answer.
TEST_P(ScreenTest, ExposedAreaIsPutBackFromTheCopy) {
    const Rect bounds{200, 200, 300, 300};
    ShowSolid(bounds, kGreen);
    Display* other = Observer();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0xFFFFFF;
    const Window cover =
        XCreateWindow(other, DefaultRootWindow(other), 220, 220, 40, 40, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(other, cover);
    XSync(other, False);
    EXPECT_EQ(PixelAt(230, 230), 0x00FFFFFFu);
    XDestroyWindow(other, cover);
    XSync(other, False);
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(230, 230) == kGreen; }));
    EXPECT_EQ(ReadScreen({220, 220, 260, 260}), std::vector<std::uint32_t>(40 * 40, kGreen));
    for (const Event& e : Seen()) {
        EXPECT_NE(e.type, EventType::Expose);
    }
}

INSTANTIATE_TEST_SUITE_P(SharedMemory, ScreenTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Shm" : "Plain"; });

using ScreenReadTest = X11Fixture;

// Before anything was presented, the window system is asked to present the exposed area.
TEST_F(ScreenReadTest, ExposeOfAnUnpresentedSurfaceGoesToTheWindowSystem) {
    const Rect bounds{50, 50, 90, 80};
    const SurfaceId id =
        Backend().CreateSurface({bounds, display::SurfaceKind::Normal, 0, false, "t"});
    Backend().ShowSurface(id, true);
    const auto expose = WaitForEvent(EventType::Expose);
    ASSERT_TRUE(expose);
    EXPECT_EQ(expose->surface, id);
    EXPECT_EQ(expose->area, (Rect{0, 0, 40, 30}));
}

// A small read inside the last one may be answered from it within the same millisecond, but
// never across a drawing of ours: the pixel read after it is the new one.
TEST_F(ScreenReadTest, NoReadIsAnsweredFromBeforeOurOwnDrawing) {
    const Rect bounds{300, 300, 320, 320};
    const SurfaceId id = ShowSolid(bounds, kRed);
    std::vector<std::uint32_t> pixels(20 * 20);
    std::vector<std::uint8_t> delivered(20 * 20);
    Backend().ReadScreen(bounds, pixels, delivered);
    ASSERT_EQ(pixels[0], kRed);
    PresentSolid(id, bounds, kBlue);
    std::uint32_t pixel = 0;
    std::uint8_t got = 0;
    Backend().ReadScreen({305, 305, 306, 306}, {&pixel, 1}, {&got, 1});
    EXPECT_EQ(got, 1);
    EXPECT_EQ(pixel, kBlue);
}

// A read that crosses the screen's edge delivers the part on the screen only; one wholly off
// it delivers nothing (XGetImage would fail the whole read otherwise).
TEST_F(ScreenReadTest, ReadsAcrossTheEdgeDeliverOnlyWhatIsOnTheScreen) {
    EXPECT_EQ(Backend().ScreenBounds(), (Rect{0, 0, 1280, 1024}));
    const Rect bounds{0, 0, 20, 20};
    ShowSolid(bounds, kRed);
    const Rect corner{-5, -5, 5, 5};
    std::vector<std::uint32_t> pixels(100, 7);
    std::vector<std::uint8_t> delivered(100, 0);
    Backend().ReadScreen(corner, pixels, delivered);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 5 && y >= 5;
            EXPECT_EQ(delivered[y * 10 + x], inside ? 1 : 0) << x << "," << y;
            EXPECT_EQ(pixels[y * 10 + x], inside ? kRed : 7u) << x << "," << y;
        }
    }
    const Rect bottomRight{1275, 1020, 1285, 1030};
    std::fill(delivered.begin(), delivered.end(), 0);
    Backend().ReadScreen(bottomRight, pixels, delivered);
    EXPECT_EQ(std::count(delivered.begin(), delivered.end(), 1), 5 * 4);

    const Rect outside{2000, 2000, 2010, 2010};
    std::fill(delivered.begin(), delivered.end(), 0);
    Backend().ReadScreen(outside, pixels, delivered);
    EXPECT_EQ(std::count(delivered.begin(), delivered.end(), 1), 0);
}

// Monitors set by another client, here LEFT (640 x 512 at the origin, claiming the server's
// only output) and, unless leftOnly, RIGHT (600 x 500 at 640, 512); false when the server has
// no output to build them on.
bool SetMonitors(Display* other, bool leftOnly = false) {
    const Window root = DefaultRootWindow(other);
    XRRScreenResources* resources = XRRGetScreenResources(other, root);
    if (resources == nullptr || resources->noutput == 0) {
        return false;
    }
    // The first monitor claims the output, which removes the one the server made for it.
    RROutput output = resources->outputs[0];
    XRRMonitorInfo left{};
    left.name = AtomOf(other, "LEFT");
    left.x = 0;
    left.y = 0;
    left.width = 640;
    left.height = 512;
    left.noutput = 1;
    left.outputs = &output;
    XRRSetMonitor(other, root, &left);
    if (!leftOnly) {
        XRRMonitorInfo right{};
        right.name = AtomOf(other, "RIGHT");
        right.x = 640;
        right.y = 512;
        right.width = 600;
        right.height = 500;
        XRRSetMonitor(other, root, &right);
    }
    XSync(other, False);
    XRRFreeScreenResources(resources);
    return true;
}

// The monitor list asked afresh on every use (no time bound): the X11 backend as it reads
// monitors that other clients change without any event.
class FreshMonitorsTest : public X11Fixture {
protected:
    display::X11Options BackendOptions() const override {
        display::X11Options options = X11Fixture::BackendOptions();
        options.monitorRefreshMs = 0;
        return options;
    }
};

// With two monitors the screen is their union; the gap between them is not on the screen.
TEST_F(FreshMonitorsTest, GapsBetweenMonitorsReadAsOffTheScreen) {
    EXPECT_EQ(Backend().ScreenBounds(), (Rect{0, 0, 1280, 1024}));
    if (!SetMonitors(Observer())) {
        GTEST_SKIP() << "no RandR output to build monitors on";
    }
    Backend().ProcessServerEvents(0);
    EXPECT_EQ(Backend().ScreenBounds(), (Rect{0, 0, 1240, 1012}));
    // A read straddling the corner where the monitors meet: two quarters on, two in the gap.
    const Rect area{630, 502, 650, 522};
    std::vector<std::uint32_t> pixels(400, 0);
    std::vector<std::uint8_t> delivered(400, 0);
    Backend().ReadScreen(area, pixels, delivered);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool onLeft = x < 10 && y < 10;
            const bool onRight = x >= 10 && y >= 10;
            EXPECT_EQ(delivered[y * 20 + x], onLeft || onRight ? 1 : 0) << x << "," << y;
        }
    }
}

// The monitor list kept far longer than any test runs, so only an event can renew it.
class KeptMonitorsTest : public X11Fixture {
protected:
    display::X11Options BackendOptions() const override {
        display::X11Options options = X11Fixture::BackendOptions();
        options.monitorRefreshMs = 3'600'000;
        return options;
    }
};

// Between RandR's events the list is kept (a tick costs no round trip for it); a change of a
// CRTC, which RandR does announce, is seen from the next turn of the event loop on, together
// with the monitors a client set before it.
TEST_F(KeptMonitorsTest, RandrChangeEventsRenewTheMonitors) {
    EXPECT_EQ(Backend().ScreenBounds(), (Rect{0, 0, 1280, 1024}));
    Display* other = Observer();
    if (!SetMonitors(other, true)) {
        GTEST_SKIP() << "no RandR output to build monitors on";
    }
    Backend().ProcessServerEvents(0);
    EXPECT_EQ(Backend().ScreenBounds(), (Rect{0, 0, 1280, 1024}));

    // The CRTC turned off and on again with its mode, as a display settings tool does.
    const Window root = DefaultRootWindow(other);
    XRRScreenResources* resources = XRRGetScreenResources(other, root);
    ASSERT_NE(resources, nullptr);
    ASSERT_GT(resources->ncrtc, 0);
    const RRCrtc crtc = resources->crtcs[0];
    XRRCrtcInfo* info = XRRGetCrtcInfo(other, resources, crtc);
    ASSERT_NE(info, nullptr);
    XRRSetCrtcConfig(other, resources, crtc, CurrentTime, 0, 0, None, RR_Rotate_0, nullptr, 0);
    XRRSetCrtcConfig(other, resources, crtc, CurrentTime, info->x, info->y, info->mode,
                     info->rotation, info->outputs, info->noutput);
    XSync(other, False);
    XRRFreeCrtcInfo(info);
    XRRFreeScreenResources(resources);

    ASSERT_TRUE(WaitUntil([&] { return Backend().ScreenBounds() == Rect{0, 0, 640, 512}; }));
    // Reads follow the renewed list: beyond LEFT is off the screen now.
    std::vector<std::uint32_t> pixels(4, 0);
    std::vector<std::uint8_t> delivered(4, 0);
    Backend().ReadScreen({639, 0, 641, 2}, pixels, delivered);
    EXPECT_EQ(delivered, (std::vector<std::uint8_t>{1, 0, 1, 0}));
}

}  // namespace
}  // namespace x11test
