// The slider window of the picker program on a private X server, used as a person would: the
// main window's ダイアログ button opens it, clicks on a bar's arrow change the colour in its
// preview, Space in it hands the colour to the main window, and コピー puts it on the clipboard.
#include "tests/x11/picker_e2e_fixture.h"

namespace x11test {
namespace {

constexpr char kSliderTitle[] = "カラーダイアログ";
constexpr Rect kDialogButton = DialogRect(5, 100, 56, 15);

// Dialog units to client pixels in the slider window: its proportional font's base units are
// 7 x 12.
constexpr Rect SliderDialogRect(int x, int y, int width, int height) {
    return {x * 7 / 4, y * 12 / 8, (x + width) * 7 / 4, (y + height) * 12 / 8};
}
// The preview's inside, and the red bar, whose right arrow is the last 16 pixels.
constexpr Rect kPreview = Inset(SliderDialogRect(5, 5, 99, 65), 3);
constexpr Rect kRedBar = SliderDialogRect(20, 80, 70, 10);

std::pair<int, int> Middle(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class SliderEndToEndTest : public PickerTest {};

TEST_P(SliderEndToEndTest, ArrowClicksComposeAColourThatSpaceTransfersAndCopyCopies) {
    const auto program = Start();
    const Window main = WaitForPicker();
    ASSERT_NE(main, None) << "no window titled " << kTitle << " was shown";

    const auto [buttonX, buttonY] = Middle(OnScreen(main, kDialogButton));
    Click(buttonX, buttonY);
    const Window sliders = WaitForWindowTitled(kSliderTitle);
    ASSERT_NE(sliders, None) << "ダイアログ showed no slider window";
    const Rect preview = OnScreen(sliders, kPreview);
    ASSERT_TRUE(PollUntil([&] { return AllOf(preview, 0x808080); }))
        << "the preview never showed grey 128";

    const Rect bar = OnScreen(sliders, kRedBar);
    const int arrowX = bar.right - 8;
    const int arrowY = (bar.top + bar.bottom) / 2;
    for (const std::uint32_t colour : {0x818080u, 0x828080u, 0x838080u}) {
        Click(arrowX, arrowY);
        // Wine on a loaded machine can take seconds to answer its first click.
        ASSERT_TRUE(PollUntil([&] { return AllOf(preview, colour); }, ShowTimeoutMs()))
            << "after a click on the red arrow the preview shows " << std::hex
            << PixelAt(Middle(preview).first, Middle(preview).second) << ", not " << colour;
    }

    ASSERT_TRUE(WaitForFocus(sliders)) << "the slider window has no keyboard focus";
    Press(XK_space);
    ASSERT_TRUE(PollUntil([&] { return AllOf(OnScreen(main, kStrip), 0x838080); }))
        << "Space in the slider window did not hand its colour over";

    const auto [copyX, copyY] = Middle(OnScreen(main, kCopyButton));
    Click(copyX, copyY);
    std::string text;
    EXPECT_TRUE(
        PollUntil([&] { return (text = Clipboard()) == "RGB(131, 128, 128)"; }, ShowTimeoutMs()))
        << "the clipboard holds \"" << text << "\"";
}

INSTANTIATE_TEST_SUITE_P(, SliderEndToEndTest, BothPrograms(), ProgramName);

}  // namespace
}  // namespace x11test
