// The Win32 layer on the X11 backend as a whole program: the stand-in picker's window appears
// with its title, exact size and colours, its timer follows the screen, and a second copy of
// the program finds the first, minimised, and brings it back to the top with the focus. All
// seen from another client through Xlib.
#include <cstdio>

#include "tests/x11/reporting_process.h"
#include "tests/x11/x11_fixture.h"

namespace x11test {
namespace {

constexpr char kTitle[] = "Tintaro LE";
constexpr std::uint32_t kClientColour = 0x2080C0;
constexpr std::uint32_t kSampledColour = 0xFF8000;
constexpr Rect kSwatch{8, 8, 18, 18};  // in the client area
constexpr int kLeft = 400;
constexpr int kTop = 300;

class StandInPickerTest : public X11Fixture {
protected:
    void SetUp() override {
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        XSelectInput(Observer(), DefaultRootWindow(Observer()), SubstructureNotifyMask);
        XSync(Observer(), False);
    }

    std::unique_ptr<ReportingProcess> Start(std::vector<std::string> args = {}) {
        args.insert(args.begin(), {TINTARO_STAND_IN_PICKER, "--at",
                                   std::to_string(kLeft) + "," + std::to_string(kTop)});
        return std::make_unique<ReportingProcess>(DisplayName(), args);
    }

    // The top-level window titled kTitle, once it is mapped.
    Window WaitForMappedWindow() {
        Window found = None;
        WaitUntil([&] {
            for (const XEvent& e : ObserverEvents()) {
                if (e.type != MapNotify || e.xmap.override_redirect) {
                    continue;
                }
                const auto title = display::x11::ReadTitle(Observer(), e.xmap.window,
                                                           AtomOf(Observer(), "_NET_WM_NAME"),
                                                           AtomOf(Observer(), "UTF8_STRING"));
                if (title == kTitle) {
                    found = e.xmap.window;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    // The screen as the root window holds it, 0x00RRGGBB.
    std::vector<std::uint32_t> RootPixels(const Rect& area) {
        XImage* image =
            XGetImage(Observer(), DefaultRootWindow(Observer()), area.left, area.top,
                      unsigned(area.Width()), unsigned(area.Height()), AllPlanes, ZPixmap);
        std::vector<std::uint32_t> pixels;
        if (image == nullptr) {
            return pixels;
        }
        for (int y = 0; y < area.Height(); ++y) {
            for (int x = 0; x < area.Width(); ++x) {
                pixels.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
        return pixels;
    }

    bool AllOf(const Rect& area, std::uint32_t colour) {
        const auto pixels = RootPixels(area);
        return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(),
                                              [&](std::uint32_t p) { return p == colour; });
    }

    // Polls the screen until area is all colour; the program draws on its own time.
    bool WaitForColour(const Rect& area, std::uint32_t colour) {
        return PollUntil([&] { return AllOf(area, colour); });
    }

    // The topmost viewable child of the root.
    Window TopWindow() {
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(Observer(), DefaultRootWindow(Observer()), &root, &parent, &children, &count);
        Window top = None;
        for (unsigned i = count; i-- > 0 && top == None;) {
            if (IsShownOnScreen(children[i])) {
                top = children[i];
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return top;
    }

    Window Focus() {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(Observer(), &focus, &revert);
        return focus;
    }
};

// "painted L T R B" as the program reports its client area on screen.
std::optional<Rect> ClientArea(const std::optional<std::string>& line) {
    Rect r;
    if (!line || std::sscanf(line->c_str(), "painted %d %d %d %d", &r.left, &r.top, &r.right,
                             &r.bottom) != 4) {
        return std::nullopt;
    }
    return r;
}

// The window comes with its title, exactly 202 x 200 where it was put, its client area in the
// class brush's colour inside a frame of another, and a swatch that follows the screen pixel
// the timer reads.
TEST_F(StandInPickerTest, WindowShowsItsTitleSizeAndColours) {
    SolidFromOtherClient({0, 0, 20, 20}, kSampledColour);  // where the program samples, at (0, 0)
    const auto program = Start();
    const Window window = WaitForMappedWindow();
    ASSERT_NE(window, None) << "no window titled " << kTitle << " was mapped";

    char* name = nullptr;
    ASSERT_TRUE(XFetchName(Observer(), window, &name));
    EXPECT_STREQ(name, kTitle);
    XFree(name);
    Window root = None;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    ASSERT_TRUE(XGetGeometry(Observer(), window, &root, &x, &y, &width, &height, &border, &depth));
    EXPECT_EQ(width, 202u);
    EXPECT_EQ(height, 200u);
    EXPECT_EQ(border, 0u);
    EXPECT_EQ(x, kLeft);
    EXPECT_EQ(y, kTop);

    const auto client = ClientArea(program->WaitForLine("painted", kTimeoutMs));
    ASSERT_TRUE(client) << "the program never painted";
    const Rect outer{kLeft, kTop, kLeft + 202, kTop + 200};
    ASSERT_EQ(client->Intersect(outer), *client);
    EXPECT_GT(client->top, outer.top) << "no caption above the client area";

    const Rect swatch = kSwatch.Offset(client->left, client->top);
    ASSERT_TRUE(WaitForColour(swatch, kSampledColour)) << "the swatch never showed the screen";
    // Around the swatch: the client colour, on every side and to the client area's edges.
    EXPECT_TRUE(AllOf({client->left, client->top, client->right, swatch.top}, kClientColour));
    EXPECT_TRUE(AllOf({client->left, swatch.bottom, client->right, client->bottom}, kClientColour));
    EXPECT_TRUE(AllOf({client->left, swatch.top, swatch.left, swatch.bottom}, kClientColour));
    EXPECT_TRUE(AllOf({swatch.right, swatch.top, client->right, swatch.bottom}, kClientColour));
    // The frame is drawn too, and not in the client colour.
    const std::uint32_t desktop = RootPixels({1279, 1023, 1280, 1024}).front();
    for (const Rect& frameStrip : {Rect{outer.left, outer.top, outer.right, outer.top + 1},
                                   Rect{outer.left, client->top - 1, outer.right, client->top}}) {
        const auto pixels = RootPixels(frameStrip);
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kClientColour), 0);
        EXPECT_LT(std::count(pixels.begin(), pixels.end(), desktop), frameStrip.Width())
            << "frame left unpainted";
    }

    // The screen changes under the sampled point; the next ticks repaint the swatch.
    SolidFromOtherClient({0, 0, 20, 20}, 0x00FF00);
    EXPECT_TRUE(WaitForColour(swatch, 0x00FF00));
}

// A second run with nothing to find fails; with the first minimised (without a manager:
// unmapped) it maps it again above what covered it, gives it the focus, and the first learns
// it was restored and activated.
TEST_F(StandInPickerTest, SecondRunRestoresAndRaisesTheFirst) {
    {
        ReportingProcess alone(DisplayName(), {TINTARO_STAND_IN_PICKER, "--raise"});
        EXPECT_EQ(alone.WaitForExit(kTimeoutMs), 1) << "found a window that does not exist";
    }

    const auto first = Start({"--minimize"});
    const Window window = WaitForMappedWindow();
    ASSERT_NE(window, None);
    const auto client = ClientArea(first->WaitForLine("painted", kTimeoutMs));
    ASSERT_TRUE(client);
    ASSERT_TRUE(first->WaitForLine("minimized", kTimeoutMs));
    ASSERT_TRUE(WaitUntil([&] { return !IsShownOnScreen(window); }));
    const auto wmState = PropertyOf(Observer(), window, "WM_STATE");
    ASSERT_TRUE(wmState && !wmState->items.empty()) << "other programs cannot tell it is minimised";
    EXPECT_EQ(wmState->items[0], static_cast<unsigned long>(IconicState));
    const Window cover =
        SolidFromOtherClient({kLeft - 50, kTop - 50, kLeft + 300, kTop + 300}, 0x404040);
    ASSERT_EQ(TopWindow(), cover);

    ReportingProcess second(DisplayName(), {TINTARO_STAND_IN_PICKER, "--raise"});
    EXPECT_EQ(second.WaitForExit(kTimeoutMs), 0);

    EXPECT_TRUE(WaitUntil([&] { return IsShownOnScreen(window); })) << "not mapped again";
    EXPECT_TRUE(WaitUntil([&] { return TopWindow() == window; })) << "not raised";
    EXPECT_TRUE(PollUntil([&] { return Focus() == window; })) << "not focused";
    const std::size_t sinceMinimized = first->Taken();
    EXPECT_TRUE(first->WaitForLine("restored", kTimeoutMs));
    first->RewindTo(sinceMinimized);
    EXPECT_TRUE(first->WaitForLine("active", kTimeoutMs));
    // Back on top, it shows its own pixels again where the cover was.
    EXPECT_TRUE(WaitForColour({client->left, client->bottom - 20, client->right, client->bottom},
                              kClientColour));
}

}  // namespace
}  // namespace x11test
