// The picker's palette on a private X server, used from outside as a person would: パレット
// opens it, a click on a swatch puts that colour's text on the clipboard for another program,
// and in 登録 mode Space shows the colour under the pointer in the newest history swatch.
#include "tests/x11/picker_e2e_fixture.h"

namespace x11test {
namespace {

constexpr char kPaletteTitle[] = "パレット";
constexpr Rect kPaletteButton = DialogRect(6, 80, 56, 15);
// The palette's proportional dialog font has base units of 7 x 12.
constexpr Rect PaletteRect(int x, int y, int width, int height) {
    return {x * 7 / 4, y * 12 / 8, (x + width) * 7 / 4, (y + height) * 12 / 8};
}
constexpr Rect kRegisterRadio = PaletteRect(118, 49, 44, 10);
// A fresh palette's newest history swatch shows this colour, and no other swatch does.
constexpr std::uint32_t kNewestDefault = 0xFF6464;

class PaletteEndToEndTest : public PickerTest {
protected:
    // The middle of a radio button's circle, where only the checked dot is black.
    static Rect DotOf(const Rect& radio) {
        return {radio.left + 5, radio.top + 6, radio.left + 8, radio.top + 9};
    }
    bool HasBlack(const Rect& area) {
        const auto pixels = ReadScreen(area);
        return std::find(pixels.begin(), pixels.end(), 0u) != pixels.end();
    }

    void ClickMiddleOf(const Rect& r) { Click((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

    Window WaitForPalette() { return WaitForWindowTitled(kPaletteTitle); }

    // Where the screen shows colour within the window's client area: the smallest rectangle
    // around those pixels, empty if there are none.
    Rect AreaOf(Window window, std::uint32_t colour) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(Observer(), window, &attributes);
        const Rect client = OnScreen(window, {0, 0, attributes.width - 2 * kClientLeft,
                                              attributes.height - kClientTop - kClientLeft});
        const auto pixels = ReadScreen(client);
        Rect found{client.right, client.bottom, client.left, client.top};
        for (int y = client.top; y < client.bottom; ++y) {
            for (int x = client.left; x < client.right; ++x) {
                if (pixels[std::size_t(y - client.top) * client.Width() + (x - client.left)] !=
                    colour) {
                    continue;
                }
                found = {std::min(found.left, x), std::min(found.top, y),
                         std::max(found.right, x + 1), std::max(found.bottom, y + 1)};
            }
        }
        return found.left < found.right ? found : Rect{};
    }
};

TEST_P(PaletteEndToEndTest, ASwatchClickCopiesItsColourAndSpaceRegistersTheColourUnderThePointer) {
    constexpr std::uint32_t kColour = 0x2080C0;
    const Rect target{100, 100, 200, 200};
    SolidFromOtherClient(target, kColour);
    const auto program = Start();
    const Window window = WaitForPicker();
    ASSERT_NE(window, None) << "no window titled " << kTitle << " was shown";

    ClickMiddleOf(OnScreen(window, kPaletteButton));
    const Window palette = WaitForPalette();
    ASSERT_NE(palette, None) << "パレット opened no palette";
    Rect newest;
    ASSERT_TRUE(PollUntil([&] { return (newest = AreaOf(palette, kNewestDefault)).Width() > 2; }))
        << "the palette never showed its newest history swatch";

    ClickMiddleOf(newest);
    std::string text;
    EXPECT_TRUE(
        PollUntil([&] { return (text = Clipboard()) == "RGB(255, 100, 100)"; }, ShowTimeoutMs()))
        << "the clipboard holds \"" << text << "\"";

    // The pointer moves on once 登録 shows its dot, as a person sees it checked. Under Wine a
    // click whose pointer left the radio at once was lost: the radio stayed empty and Space
    // found the palette still in copy mode.
    const Rect radio = OnScreen(palette, kRegisterRadio);
    ClickMiddleOf(radio);
    ASSERT_TRUE(PollUntil([&] { return HasBlack(DotOf(radio)); }, ShowTimeoutMs()))
        << "登録 never showed checked";
    MovePointer(150, 150);
    ASSERT_TRUE(PollUntil([&] { return AllOf(OnScreen(window, kLiveSwatch), kColour); }))
        << "the live swatch never showed the colour under the pointer: " << Describe(window);
    ASSERT_TRUE(WaitForFocus(palette)) << "the palette does not have the keyboard";
    Press(XK_space);
    EXPECT_TRUE(PollUntil([&] { return AllOf(newest, kColour); }))
        << "the newest history swatch shows " << std::hex << PixelAt(newest.left, newest.top);
}

INSTANTIATE_TEST_SUITE_P(, PaletteEndToEndTest, BothPrograms(), ProgramName);

}  // namespace
}  // namespace x11test
