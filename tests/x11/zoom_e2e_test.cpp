// The zoom window of the real program on a private X server: another client shows a pattern
// with a colour of its own for every pixel, the zoom window is opened with its button, the
// pointer is put on a pixel of the pattern, and the zoom window's client area, read from the
// screen, shows the 21 x 21 pixels around it ten times enlarged, block by block.
#include <cstdlib>

#include "tests/x11/picker_e2e_fixture.h"

namespace x11test {
namespace {

constexpr char kZoomTitle[] = "ズーム";
// The Zoom button, in the main window's client area.
constexpr Rect kZoomButton = DialogRect(70, 80, 56, 15);
constexpr int kBlock = 10;
constexpr int kImage = 210;

// Red and green the low bytes of x and y, blue from their high bits: every pixel of the screen
// its own colour, and never white.
std::uint32_t Pattern(int x, int y) {
    return std::uint32_t(x & 0xFF) << 16 | std::uint32_t(y & 0xFF) << 8 |
           (0x40u | std::uint32_t(x >> 8 & 3) << 2 | std::uint32_t(y >> 8 & 3));
}

class ZoomEndToEndTest : public PickerTest {
protected:
    // An override-redirect window of another client whose background is the pattern, so the
    // server itself paints it whenever it is exposed.
    Window PatternFromOtherClient(const Rect& area) {
        Display* x = Observer();
        const int screen = DefaultScreen(x);
        const Pixmap pixmap =
            XCreatePixmap(x, DefaultRootWindow(x), unsigned(area.Width()), unsigned(area.Height()),
                          unsigned(DefaultDepth(x, screen)));
        XImage* image =
            XCreateImage(x, DefaultVisual(x, screen), unsigned(DefaultDepth(x, screen)), ZPixmap, 0,
                         nullptr, unsigned(area.Width()), unsigned(area.Height()), 32, 0);
        image->data = static_cast<char*>(
            std::malloc(std::size_t(image->bytes_per_line) * std::size_t(area.Height())));
        for (int y = 0; y < area.Height(); ++y) {
            for (int col = 0; col < area.Width(); ++col) {
                XPutPixel(image, col, y, Pattern(area.left + col, area.top + y));
            }
        }
        const GC gc = XCreateGC(x, pixmap, 0, nullptr);
        XPutImage(x, pixmap, gc, image, 0, 0, 0, 0, unsigned(area.Width()),
                  unsigned(area.Height()));
        XFreeGC(x, gc);
        XDestroyImage(image);

        XSetWindowAttributes attributes{};
        attributes.background_pixmap = pixmap;
        attributes.override_redirect = True;
        const Window window =
            XCreateWindow(x, DefaultRootWindow(x), area.left, area.top, unsigned(area.Width()),
                          unsigned(area.Height()), 0, CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixmap | CWOverrideRedirect, &attributes);
        XFreePixmap(x, pixmap);
        XMapWindow(x, window);
        XSync(x, False);
        return window;
    }

    // The one zoom window, once it is viewable.

    // The part of the enlarged image that the zoom window's client area shows, on the screen.
    Rect ShownImage(Window zoom) {
        Window root = None;
        int x = 0, y = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        XGetGeometry(Observer(), zoom, &root, &x, &y, &width, &height, &border, &depth);
        const int clientWidth = int(width) - 2 * kClientLeft;
        const int clientHeight = int(height) - kClientTop - kClientLeft;
        return OnScreen(zoom,
                        {0, 0, std::min(kImage, clientWidth), std::min(kImage, clientHeight)});
    }

    // "" when every shown pixel is its block's pattern colour around centre; else the first
    // blocks that differ.
    std::string CompareWithPattern(const Rect& shown, int centreX, int centreY) {
        const std::vector<std::uint32_t> pixels = ReadScreen(shown);
        std::string differences;
        for (int y = 0; y < shown.Height(); ++y) {
            for (int x = 0; x < shown.Width(); ++x) {
                const std::uint32_t expected =
                    Pattern(centreX - 10 + x / kBlock, centreY - 10 + y / kBlock);
                const std::uint32_t seen = pixels[std::size_t(y) * shown.Width() + x];
                if (seen != expected && differences.size() < 200) {
                    char text[80];
                    std::snprintf(text, sizeof text, "(%d, %d) %06X not %06X; ", x, y, seen,
                                  expected);
                    differences += text;
                }
            }
        }
        return differences;
    }
};

// The zoom window's client pixels are the pattern around the pointer, each pixel one 10 x 10
// block, once the overlay is switched off (v in the zoom window) and a tick has passed.
TEST_P(ZoomEndToEndTest, ShowsTheScreenAroundThePointerBlockByBlock) {
    const Rect patterned{80, 80, 240, 240};
    PatternFromOtherClient(patterned);
    ASSERT_TRUE(PollUntil([&] { return PixelAt(150, 150) == Pattern(150, 150); }))
        << "the other client's pattern never showed";

    const auto program = Start();
    const Window main = WaitForPicker();
    ASSERT_NE(main, None);
    const Rect button = OnScreen(main, kZoomButton);
    Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    const Window zoom = WaitForWindowTitled(kZoomTitle);
    ASSERT_NE(zoom, None) << "no window titled " << kZoomTitle << " was shown";
    ASSERT_TRUE(WaitForFocus(zoom)) << "the zoom window did not take the keys";
    // A window manager sees a dialog that belongs to the main window. (Wine's own X driver
    // marks its owned windows in its own way, so this holds for our layer only.)
    if (GetParam() == Program::Native) {
        Window transientFor = None;
        EXPECT_TRUE(XGetTransientForHint(Observer(), zoom, &transientFor));
        EXPECT_EQ(transientFor, main);
        const auto type = PropertyOf(Observer(), zoom, "_NET_WM_WINDOW_TYPE");
        EXPECT_TRUE(type && type->HasItem(AtomOf(Observer(), "_NET_WM_WINDOW_TYPE_DIALOG")));
    }

    MovePointer(150, 150);
    Press(XK_v);
    const Rect shown = ShownImage(zoom);
    ASSERT_GT(shown.Width(), 160);
    ASSERT_GT(shown.Height(), 160);
    std::string differences;
    EXPECT_TRUE(PollUntil([&] {
        return (differences = CompareWithPattern(shown, 150, 150)).empty();
    })) << differences;

    // The next pixel: the image follows the pointer at the next tick.
    MovePointer(163, 141);
    EXPECT_TRUE(PollUntil([&] {
        return (differences = CompareWithPattern(shown, 163, 141)).empty();
    })) << differences;
}

INSTANTIATE_TEST_SUITE_P(, ZoomEndToEndTest, BothPrograms(), ProgramName);

}  // namespace
}  // namespace x11test
