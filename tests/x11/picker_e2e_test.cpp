// The picker program itself on a private X server, used from outside as a person would: a
// colour on the screen under the pointer reaches its swatch, Space takes it, コピー puts it on
// the clipboard for another program to read; the arrow keys nudge the pointer; a second start
// brings back the first; an argument or a missing display ends it at once.
#include "tests/x11/picker_e2e_fixture.h"

namespace x11test {
namespace {

TEST_P(PickerTest, WindowIsCentredWithItsSize) {
    const auto program = Start();
    const Window window = WaitForPicker();
    ASSERT_NE(window, None);
    Window root = None;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    ASSERT_TRUE(XGetGeometry(Observer(), window, &root, &x, &y, &width, &height, &border, &depth));
    // On the screen, wherever a window manager has put it in a frame of its own.
    Window child = None;
    XTranslateCoordinates(Observer(), window, root, 0, 0, &x, &y, &child);
    EXPECT_EQ(width, kOuterWidth);
    EXPECT_EQ(height, kOuterHeight);
    EXPECT_EQ(x, (1280 - int(kOuterWidth)) / 2);
    EXPECT_EQ(y, (1024 - int(kOuterHeight)) / 2);
}

TEST_P(PickerTest, SpaceTakesTheColourUnderThePointerAndCopyPutsItOnTheClipboard) {
    PickAndCopy(0x3366CC, "RGB(51, 102, 204)");
}

TEST_P(PickerUnderManagerTest, SpaceTakesTheColourUnderThePointerAndCopyPutsItOnTheClipboard) {
    PickAndCopy(0xC08040, "RGB(192, 128, 64)");
}

// Each arrow moves the pointer by exactly one pixel: a key that moved it twice, or not at all,
// leaves it off the expected point for the rest of the walk.
TEST_P(PickerTest, ArrowKeysMoveThePointerByOnePixel) {
    const auto program = Start();
    const Window window = WaitForPicker();
    ASSERT_NE(window, None);
    ASSERT_TRUE(WaitForFocus(window));
    // The walk starts over the live swatch: Wine learns where the pointer is from the motion
    // events of its own windows, and takes a pointer position it has not seen move for a tenth
    // of a second before it asks the server again.
    const Rect swatch = OnScreen(window, kLiveSwatch);
    const int x = swatch.left + 20;
    const int y = swatch.top + 10;
    MovePointer(x, y);
    const struct {
        KeySym key;
        std::pair<int, int> to;
    } kWalk[] = {{XK_Right, {x + 1, y}}, {XK_Down, {x + 1, y + 1}}, {XK_Left, {x, y + 1}},
                 {XK_Up, {x, y}},        {XK_Up, {x, y - 1}},       {XK_Left, {x - 1, y - 1}}};
    for (const auto& step : kWalk) {
        Press(step.key);
        EXPECT_TRUE(PollUntil([&] { return Pointer() == step.to; }))
            << "after " << XKeysymToString(step.key) << " the pointer is at " << Pointer().first
            << ", " << Pointer().second << ", not " << step.to.first << ", " << step.to.second;
    }
}

TEST_P(PickerTest, SecondStartLeavesTheFirstWindowAlone) {
    auto first = Start();
    const Window window = WaitForPicker();
    ASSERT_NE(window, None);

    const std::size_t mark = EventsSoFar();
    auto second = Start();
    EXPECT_EQ(ExitOf(second), 0);
    EXPECT_TRUE(MapsSince(mark).empty());
    EXPECT_EQ(PickerWindows(), std::vector<Window>{window});
    EXPECT_TRUE(IsShownOnScreen(window));
}

TEST_P(PickerUnderManagerTest, SecondStartRestoresTheIconifiedFirst) {
    auto first = Start();
    const Window window = WaitForPicker();
    ASSERT_NE(window, None);
    ASSERT_TRUE(XIconifyWindow(Observer(), window, DefaultScreen(Observer())));
    XSync(Observer(), False);
    ASSERT_TRUE(PollUntil([&] { return !IsShownOnScreen(window); })) << "never iconified";

    auto second = Start();
    EXPECT_EQ(ExitOf(second), 0);
    EXPECT_TRUE(PollUntil([&] { return IsShownOnScreen(window); })) << "not restored";
    EXPECT_EQ(PickerWindows(), std::vector<Window>{window});
}

// No window is ever mapped: the root hears of every map on the server.
TEST_P(PickerTest, AnArgumentEndsTheProgramWithoutAWindow) {
    auto program = Start("--help");
    EXPECT_TRUE(ExitOf(program).has_value()) << "still running";
    EXPECT_TRUE(MapsSince(0).empty());
    EXPECT_TRUE(PickerWindows().empty());
}

TEST_P(PickerTest, EnterAndEscEndTheProgram) {
    for (const KeySym key : {XK_Return, XK_Escape}) {
        auto program = Start();
        const Window window = WaitForPicker();
        ASSERT_NE(window, None);
        ASSERT_TRUE(WaitForFocus(window));
        Press(key);
        EXPECT_EQ(ExitOf(program), 0) << XKeysymToString(key);
        EXPECT_TRUE(PollUntil([&] { return PickerWindows().empty(); }));
    }
}

INSTANTIATE_TEST_SUITE_P(, PickerTest, BothPrograms(), ProgramName);
INSTANTIATE_TEST_SUITE_P(, PickerUnderManagerTest, BothPrograms(), ProgramName);

// A display nobody serves: one line on standard error that says how to run without a screen,
// and exit status 1.
TEST(PickerWithoutDisplayTest, SaysHowToRunWithoutAScreen) {
    // A running server holds a lock file named after its number. A number freed by a server of
    // our own could be taken at once by a test starting beside this one; one far above theirs
    // is not.
    int number = 4000;
    while (std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock") ||
           std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
        ++number;
    }
    LockDirectory lock;

    const Finished finished = RunToEnd(":" + std::to_string(number), lock.Path());
    EXPECT_EQ(finished.status, 1);
    const std::string& text = finished.errorOutput;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.rfind("tintaro: ", 0), 0u) << text;
    EXPECT_NE(text.find("xvfb-run " TINTARO_PROGRAM), std::string::npos) << text;
}

}  // namespace
}  // namespace x11test
