// The zoom window as a user meets it: the screen square around the pointer ten times enlarged,
// block by block; the overlay to the pixel and the ways to switch it; the keys that aim and
// take; where the window stands, what it does with its owner, and what it leaves behind.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "picker/picker_dlg.h"
#include "picker_test.h"
#include "tools/zoom_dlg.h"

namespace {

constexpr std::uint32_t kWhitePixel = 0x00FFFFFF;
// The overlay's colours as the screen shows them (0x00RRGGBB).
constexpr std::uint32_t kArm = 0x000000FF;          // blue
constexpr std::uint32_t kCentreFrame = 0x00101080;  // dark blue
constexpr std::uint32_t kAreaFrame = 0x004040FF;    // light blue
constexpr int kBlock = 10;
constexpr int kImage = 210;

// A colour of its own for every screen pixel: red and green the low bytes of x and y, blue in
// 0x40..0x4F from their high bits. Never white, never one of the overlay's colours.
std::uint32_t Pattern(int x, int y) {
    return std::uint32_t(x & 0xFF) << 16 | std::uint32_t(y & 0xFF) << 8 |
           (0x40u | std::uint32_t(x >> 8 & 3) << 2 | std::uint32_t(y >> 8 & 3));
}

// A COLORREF as the screen shows it.
std::uint32_t PixelOf(COLORREF colour) {
    return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

std::string Hex(std::uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", pixel);
    return text;
}

// The overlay, painted in drawing order: the four arms of the two-pixel pen, then the two
// frames. Each arm is two pixels thick, the extra one above or left of its path; its round ends
// take in the far end's row or column whole and one pixel on the path before the start (see
// the GDI test of two-pixel lines). The arms' inner ends lie under the small frame.
struct Paint {
    RECT area;
    std::uint32_t colour;
};
const Paint kOverlay[] = {
    {{105, 50, 107, 101}, kArm},  // top arm, (106, 50) to (106, 100)
    {{106, 49, 107, 50}, kArm},
    {{50, 104, 102, 106}, kArm},  // left arm, (50, 105) to (101, 105)
    {{49, 105, 50, 106}, kArm},
    {{105, 110, 107, 161}, kArm},  // bottom arm, (106, 110) to (106, 160)
    {{106, 109, 107, 110}, kArm},
    {{111, 104, 161, 106}, kArm},  // right arm, (111, 105) to (160, 105)
    {{110, 105, 111, 106}, kArm},
    {{101, 100, 111, 101}, kCentreFrame},  // FrameRect (101, 100, 111, 110)
    {{101, 109, 111, 110}, kCentreFrame},
    {{101, 100, 102, 110}, kCentreFrame},
    {{110, 100, 111, 110}, kCentreFrame},
    {{81, 80, 131, 81}, kAreaFrame},  // FrameRect (81, 80, 131, 130)
    {{81, 129, 131, 130}, kAreaFrame},
    {{81, 80, 82, 130}, kAreaFrame},
    {{130, 80, 131, 130}, kAreaFrame},
};

std::optional<std::uint32_t> OverlayAt(int x, int y) {
    std::optional<std::uint32_t> colour;
    for (const Paint& paint : kOverlay) {
        const RECT& r = paint.area;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            colour = paint.colour;
    }
    return colour;
}

class ZoomTest : public PickerTest {
protected:
    ~ZoomTest() override { AfxGetApp()->m_pMainWnd = nullptr; }

    // Runs a fresh main window through the steps; it ends one millisecond after the last. The
    // clock runs from tick to tick: steps at 0 run before the first tick, steps at 1 to 100
    // right after it, one after the other, and so on.
    void RunPicker(std::vector<Step> steps) {
        CPickerDlg dlg;
        m_pDlg = &dlg;
        AfxGetApp()->m_pMainWnd = &dlg;
        const std::uint64_t end = steps.empty() ? 0 : steps.back().atMs + 1;
        steps.push_back({end, [&] { dlg.EndDialog(IDCANCEL); }});
        Script(std::move(steps));
        dlg.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        m_pDlg = nullptr;
        // The main window's end posted the quit message that ends a program; the next run must
        // not find it.
        Display().SetIdleHandler(nullptr);
        Pump();
    }

    CPickerDlg& Dlg() { return *m_pDlg; }
    HWND Main() { return m_pDlg->m_hWnd; }
    HWND Zoom() { return m_pDlg->m_pZoomDlg != nullptr ? m_pDlg->m_pZoomDlg->m_hWnd : nullptr; }
    bool Crosshair() {
        return m_pDlg->m_pZoomDlg != nullptr && m_pDlg->m_pZoomDlg->m_bCrosshair != FALSE;
    }

    // Every pixel of area in the pattern.
    void PaintPattern(const RECT& area) {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                Display().SetDesktopPixel({x, y}, Pattern(x, y));
    }

    void OpenZoom() { ClickOn(Main(), IDC_ZOOM); }
    static RECT WindowRect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    POINT ZoomOrigin() {
        POINT origin{0, 0};
        ClientToScreen(Zoom(), &origin);
        return origin;
    }
    // The part of the enlarged image the client area shows.
    SIZE ShownImage() {
        RECT client{};
        GetClientRect(Zoom(), &client);
        return {std::min<LONG>(kImage, client.right), std::min<LONG>(kImage, client.bottom)};
    }
    // What the screen shows at a client pixel of the zoom window.
    std::uint32_t SeenInZoom(int x, int y) {
        const POINT origin = ZoomOrigin();
        return ScreenPixel(origin.x + x, origin.y + y);
    }
    // The shown image compared with the blocks of `square` (21 x 21, row-major) and, when
    // `overlay`, the overlay over them: "" when every pixel is as expected, else the first
    // differences.
    std::string CompareImage(const std::vector<std::uint32_t>& square, bool overlay) {
        const SIZE shown = ShownImage();
        const POINT origin = ZoomOrigin();
        const std::vector<std::uint32_t> seen =
            Display().Capture({origin.x, origin.y, origin.x + shown.cx, origin.y + shown.cy});
        std::string differences;
        int count = 0;
        for (int y = 0; y < shown.cy; ++y) {
            for (int x = 0; x < shown.cx; ++x) {
                std::uint32_t expected = square[std::size_t(y / kBlock) * 21 + x / kBlock];
                if (overlay)
                    expected = OverlayAt(x, y).value_or(expected);
                const std::uint32_t got = seen[std::size_t(y) * shown.cx + x];
                if (got != expected && ++count <= 5)
                    differences += "(" + std::to_string(x) + ", " + std::to_string(y) + ") " +
                                   Hex(got) + " not " + Hex(expected) + "; ";
            }
        }
        if (count > 5)
            differences += std::to_string(count) + " pixels in all";
        return differences;
    }
    // The 21 x 21 screen pixels centred on a point as the pattern has them, white wherever
    // no monitor shows a pixel.
    static std::vector<std::uint32_t> PatternSquare(POINT centre,
                                                    const std::vector<RECT>& monitors) {
        std::vector<std::uint32_t> square;
        for (int y = centre.y - 10; y <= centre.y + 10; ++y) {
            for (int x = centre.x - 10; x <= centre.x + 10; ++x) {
                const bool shown =
                    std::any_of(monitors.begin(), monitors.end(), [&](const RECT& m) {
                        return x >= m.left && x < m.right && y >= m.top && y < m.bottom;
                    });
                square.push_back(shown ? Pattern(x, y) : kWhitePixel);
            }
        }
        return square;
    }
    // A caption box, found as the window itself finds it, clicked in its middle.
    void ClickCaptionBox(HWND window, LRESULT hit) {
        const RECT rect = WindowRect(window);
        RECT box{rect.right, rect.bottom, rect.left, rect.top};
        for (int y = rect.top; y < rect.top + 30; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != hit)
                    continue;
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
        ASSERT_LT(box.left, box.right) << "no caption box " << hit;
        Display().Click(display::MouseButton::Left,
                        {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    }
    display::SurfaceId SurfaceTitled(const std::string& title) {
        for (const display::SurfaceId id : Display().SurfacesTopToBottom())
            if (Display().FindSurface(id)->title == title)
                return id;
        return 0;
    }

private:
    CPickerDlg* m_pDlg = nullptr;
};

// --- The image ---

// Each captured pixel fills one 10 x 10 block of the client area; the pointer's pixel is the
// centre block; wherever no monitor shows a pixel, beyond an edge or beside the smaller of two
// monitors, the block is white.
TEST_F(ZoomTest, EachCapturedPixelIsOneBlockAndWhiteWhereTheScreenHasNone) {
    const std::vector<RECT> oneMonitor{{0, 0, 1280, 1024}};
    const std::vector<RECT> twoMonitors{{0, 0, 1280, 1024}, {1280, 0, 1920, 300}};
    const struct {
        const char* name;
        std::vector<RECT> monitors;
        POINT pointer;
    } kCases[] = {
        {"middle of the screen", oneMonitor, {300, 300}},
        {"top left corner", oneMonitor, {4, 6}},
        {"bottom right corner", oneMonitor, {1276, 1020}},
        {"beside the smaller monitor", twoMonitors, {1284, 296}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<display::Rect> monitors;
        for (const RECT& m : c.monitors)
            monitors.push_back({m.left, m.top, m.right, m.bottom});
        Display().SetMonitors(monitors);
        PaintPattern({c.pointer.x - 10, c.pointer.y - 10, c.pointer.x + 11, c.pointer.y + 11});
        std::string image;
        bool overlayOff = false;
        RunPicker({{0, [&] { OpenZoom(); }},
                   {0,
                    [&] {
                        Display().Press('V', "v");  // the overlay off, to see every block
                        Display().MovePointer(c.pointer.x, c.pointer.y);
                    }},
                   {1, [&] {
                        overlayOff = !Crosshair();
                        image = CompareImage(PatternSquare(c.pointer, c.monitors), false);
                    }}});
        EXPECT_TRUE(overlayOff);
        EXPECT_EQ("", image);
    }
}

// Before the first tick the image holds what the opening captured: the main window's own
// pixels around its client point (100, 100), with the overlay.
TEST_F(ZoomTest, OpeningShowsTheMainWindowAroundItsClientPoint) {
    std::vector<std::uint32_t> around;
    std::string image;
    RunPicker(
        {{0, [&] { OpenZoom(); }},
         {0, [&] {
              POINT point{100, 100};
              ClientToScreen(Main(), &point);
              around = Display().Capture({point.x - 10, point.y - 10, point.x + 11, point.y + 11});
              image = CompareImage(around, true);
          }}});
    ASSERT_EQ(441u, around.size());
    EXPECT_EQ("", image);
    // The square holds the output field's white and the window's face both, so a square read
    // from elsewhere would not match.
    EXPECT_NE(around.front(), around.back());
}

// The overlay to the pixel, over the pattern; switched off, the next tick's image covers every
// pixel it drew.
TEST_F(ZoomTest, TheOverlayIsDrawnToThePixelAndGoesWithoutErasing) {
    const POINT pointer{400, 300};
    PaintPattern({390, 290, 411, 311});
    std::string withOverlay, afterSwitch, withoutOverlay;
    RunPicker(
        {{0, [&] { OpenZoom(); }},
         {0, [&] { Display().MovePointer(pointer.x, pointer.y); }},
         {1,
          [&] {
              withOverlay = CompareImage(PatternSquare(pointer, {{0, 0, 1280, 1024}}), true);
              Display().Press('V', "v");
          }},
         {1,
          [&] {
              afterSwitch = CompareImage(PatternSquare(pointer, {{0, 0, 1280, 1024}}), true);
          }},
         {101, [&] {
              withoutOverlay = CompareImage(PatternSquare(pointer, {{0, 0, 1280, 1024}}), false);
          }}});
    EXPECT_EQ("", withOverlay);
    EXPECT_EQ("", afterSwitch) << "the switch showed before the next tick";
    EXPECT_EQ("", withoutOverlay);
}

// One pointer reading per tick serves the zoom and the sample: the centre block is always the
// live colour, however the pointer moves between ticks.
TEST_F(ZoomTest, TheCentreBlockIsTheSampledPixelAtEveryTick) {
    PaintPattern({480, 380, 530, 430});
    std::vector<std::string> centres, readouts;
    const auto note = [&] {
        centres.push_back(Hex(SeenInZoom(104, 102)));
        readouts.push_back(Hex(PixelOf(Dlg().m_crLive)));
    };
    RunPicker({{0, [&] { OpenZoom(); }},
               {0, [&] { Display().MovePointer(500, 400); }},
               {1,
                [&] {
                    note();
                    Display().MovePointer(511, 403);
                }},
               {101,
                [&] {
                    note();
                    Display().MovePointer(490, 420);
                }},
               {201, note}});
    EXPECT_EQ((std::vector<std::string>{Hex(Pattern(500, 400)), Hex(Pattern(511, 403)),
                                        Hex(Pattern(490, 420))}),
              centres);
    EXPECT_EQ(centres, readouts);
}

// --- Switching the overlay, and the keys ---

// Every trigger flips the overlay once, Shift on each auto-repeat too; the change shows at the
// next tick, not at once. Enter, Esc and other keys change nothing and end nothing.
TEST_F(ZoomTest, ShiftVAndAClickFlipTheOverlayAtTheNextTick) {
    const struct {
        const char* name;
        std::function<void()> act;
        int flips;
    } kCases[] = {
        {"Shift", [&] { Display().Press(VK_SHIFT); }, 1},
        {"Shift held through two repeats",
         [&] {
             Display().KeyDown(VK_SHIFT);
             Display().KeyRepeat(VK_SHIFT);
             Display().KeyRepeat(VK_SHIFT);
             Display().KeyUp(VK_SHIFT);
         },
         3},
        {"v", [&] { Display().Press('V', "v"); }, 1},
        {"V with Caps Lock", [&] { Display().Press('V', "V"); }, 1},
        {"Shift+V",
         [&] {
             Display().KeyDown(VK_SHIFT);
             Display().Press('V', "V");
             Display().KeyUp(VK_SHIFT);
         },
         2},
        {"a click in the image",
         [&] {
             const POINT origin = ZoomOrigin();
             Display().Click(display::MouseButton::Left, {origin.x + 30, origin.y + 170});
         },
         1},
        {"Enter", [&] { Display().Press(VK_RETURN); }, 0},
        {"Esc", [&] { Display().Press(VK_ESCAPE); }, 0},
        {"x", [&] { Display().Press('X', "x"); }, 0},
    };
    const POINT pointer{700, 200};
    PaintPattern({690, 190, 711, 211});
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const bool on = c.flips % 2 == 0;
        bool zoomActive = false, atOnce = false, atTick = false, stillOpen = false;
        RunPicker({{0, [&] { OpenZoom(); }},
                   {0, [&] { Display().MovePointer(pointer.x, pointer.y); }},
                   {1,
                    [&] {
                        zoomActive = GetActiveWindow() == Zoom();
                        c.act();
                    }},
                   {1, [&] { atOnce = SeenInZoom(106, 60) == kArm; }},
                   {101, [&] {
                        atTick = SeenInZoom(106, 60) == kArm;
                        stillOpen = IsWindowVisible(Zoom()) && IsWindowVisible(Main());
                    }}});
        EXPECT_TRUE(zoomActive);
        EXPECT_TRUE(atOnce) << "the overlay went before the next tick";
        EXPECT_EQ(on, atTick);
        EXPECT_TRUE(stillOpen);
    }
}

// Each arrow key-down, auto-repeats included, moves the pointer by exactly one pixel.
TEST_F(ZoomTest, ArrowsMoveThePointerOnePixelPerKeyDown) {
    const struct {
        int vk;
        int repeats;
        POINT to;
    } kWalk[] = {{VK_LEFT, 2, {297, 300}},
                 {VK_UP, 0, {297, 299}},
                 {VK_RIGHT, 4, {302, 299}},
                 {VK_DOWN, 1, {302, 301}}};
    std::vector<POINT> seen;
    std::vector<Step> steps{{0, [&] { OpenZoom(); }},
                            {1, [&] { Display().MovePointer(300, 300); }}};
    std::uint64_t at = 2;
    for (const auto& step : kWalk) {
        steps.push_back({at++, [&] {
                             Display().KeyDown(step.vk);
                             for (int i = 0; i < step.repeats; ++i)
                                 Display().KeyRepeat(step.vk);
                             Display().KeyUp(step.vk);
                         }});
        steps.push_back({at++, [&] {
                             POINT p{};
                             GetCursorPos(&p);
                             seen.push_back(p);
                         }});
    }
    RunPicker(std::move(steps));
    ASSERT_EQ(std::size(kWalk), seen.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(kWalk[i].to.x, seen[i].x) << i;
        EXPECT_EQ(kWalk[i].to.y, seen[i].y) << i;
    }
}

// Space in the zoom window: the main window takes the live colour, text and strip.
TEST_F(ZoomTest, SpaceMakesTheMainWindowTakeTheLiveColour) {
    PaintPattern({590, 190, 611, 211});
    std::string output;
    COLORREF strip = 0;
    bool zoomActive = false;
    RunPicker({{0, [&] { OpenZoom(); }},
               {0, [&] { Display().MovePointer(600, 200); }},
               {1,
                [&] {
                    zoomActive = GetActiveWindow() == Zoom();
                    Display().Press(VK_SPACE, " ");
                }},
               {1, [&] {
                    output = TextOf(Main(), IDC_OUTPUT);
                    strip = SeenInside(Main(), IDC_STRIP);
                }}});
    const std::uint32_t p = Pattern(600, 200);
    EXPECT_TRUE(zoomActive);
    EXPECT_EQ("RGB(" + std::to_string(p >> 16) + ", " + std::to_string(p >> 8 & 0xFF) + ", " +
                  std::to_string(p & 0xFF) + ")",
              output);
    EXPECT_EQ(RGB(p >> 16, p >> 8 & 0xFF, p & 0xFF), strip);
}

// --- The window and its owner ---

// Placed once against the main window's right edge, top edges level; it does not follow the
// main window. The close box and the button each close it, and the button opens a fresh one:
// overlay on, placed against the main window's edge of that moment.
TEST_F(ZoomTest, PlacedAtOpeningNotFollowingAndFreshAfterEachWayOfClosing) {
    RECT mainAtOpening{}, zoomAtOpening{}, zoomAfterMove{}, mainMoved{};
    std::vector<RECT> reopened;
    std::vector<bool> closed, freshOverlay;
    HWND first = nullptr;
    bool ownerIsMain = false;
    // The overlay off first, so that a fresh window shows in its being on again.
    const auto switchOffAndClose = [&](bool byCloseBox) {
        Display().Press(VK_SHIFT);
        first = Zoom();
        if (byCloseBox)
            ClickCaptionBox(Zoom(), HTCLOSE);
        else
            OpenZoom();
    };
    const auto noteClosedAndReopen = [&] {
        closed.push_back(Dlg().m_pZoomDlg == nullptr && !IsWindow(first));
        OpenZoom();
    };
    const auto noteReopened = [&] {
        reopened.push_back(WindowRect(Zoom()));
        freshOverlay.push_back(Crosshair() && SeenInZoom(106, 60) == kArm);
    };
    RunPicker({{0, [&] { OpenZoom(); }},
               {1,
                [&] {
                    mainAtOpening = WindowRect(Main());
                    zoomAtOpening = WindowRect(Zoom());
                    ownerIsMain = GetWindow(Zoom(), GW_OWNER) == Main();
                    Display().MoveByUser(SurfaceTitled("Tintaro LE"), {100, 50, 302, 250});
                }},
               {1,
                [&] {
                    mainMoved = WindowRect(Main());
                    zoomAfterMove = WindowRect(Zoom());
                    switchOffAndClose(true);
                }},
               {1, noteClosedAndReopen},
               {1,
                [&] {
                    noteReopened();
                    Display().MoveByUser(SurfaceTitled("Tintaro LE"), {400, 60, 602, 260});
                }},
               {1, [&] { switchOffAndClose(false); }},
               {1, noteClosedAndReopen},
               {1, noteReopened}});
    EXPECT_TRUE(ownerIsMain);
    EXPECT_EQ(mainAtOpening.right, zoomAtOpening.left);
    EXPECT_EQ(mainAtOpening.top, zoomAtOpening.top);
    EXPECT_EQ(100, mainMoved.left);
    EXPECT_EQ(zoomAtOpening.left, zoomAfterMove.left);
    EXPECT_EQ(zoomAtOpening.top, zoomAfterMove.top);
    EXPECT_EQ((std::vector<bool>{true, true}), closed);
    EXPECT_EQ((std::vector<bool>{true, true}), freshOverlay);
    ASSERT_EQ(2u, reopened.size());
    EXPECT_EQ(302, reopened[0].left);
    EXPECT_EQ(50, reopened[0].top);
    EXPECT_EQ(602, reopened[1].left);
    EXPECT_EQ(60, reopened[1].top);
    EXPECT_EQ(zoomAtOpening.right - zoomAtOpening.left, reopened[1].right - reopened[1].left);
}

// The zoom window is owned by the main window: hidden while it is minimised and back in place
// when it is restored; above it even when the main window is moved over it and activated.
TEST_F(ZoomTest, HidesWhileTheMainWindowIsMinimisedAndStaysAboveIt) {
    bool ownedByMain = false, hiddenWhileMinimised = false, shownAfterRestore = false;
    bool mainActive = false, aboveAfterActivation = false;
    RECT before{}, after{};
    POINT overlap{};
    RunPicker({{0, [&] { OpenZoom(); }},
               {1,
                [&] {
                    ownedByMain = GetWindow(Zoom(), GW_OWNER) == Main();
                    before = WindowRect(Zoom());
                    ClickCaptionBox(Main(), HTMINBUTTON);
                }},
               {1,
                [&] {
                    hiddenWhileMinimised = IsIconic(Main()) && !IsWindowVisible(Zoom()) &&
                                           ScreenPixel(before.left + 50, before.top + 100) ==
                                               display::HeadlessBackend::kDesktopColour;
                    Display().RestoreByUser(SurfaceTitled("Tintaro LE"));
                }},
               {1,
                [&] {
                    shownAfterRestore = IsWindowVisible(Zoom()) && !IsIconic(Main());
                    after = WindowRect(Zoom());
                    // The main window moved half over the zoom window ...
                    const RECT main = WindowRect(Main());
                    Display().MoveByUser(
                        SurfaceTitled("Tintaro LE"),
                        {main.left + 100, main.top, main.right + 100, main.bottom});
                }},
               {1,
                [&] {
                    // ... and clicked where the zoom window leaves it free.
                    const RECT main = WindowRect(Main());
                    Display().Click(display::MouseButton::Left, {main.left + 10, main.top + 100});
                }},
               {1, [&] {
                    overlap = {before.left + 50, before.top + 100};
                    mainActive = GetActiveWindow() == Main();
                    aboveAfterActivation =
                        WindowFromPoint(overlap) == Zoom() &&
                        Display().SurfaceAt({overlap.x, overlap.y}) == SurfaceTitled("ズーム");
                }}});
    EXPECT_TRUE(ownedByMain);
    EXPECT_TRUE(hiddenWhileMinimised);
    EXPECT_TRUE(shownAfterRestore);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_TRUE(mainActive);
    EXPECT_TRUE(aboveAfterActivation);
}

// Uncovered, the window paints its last capture again without capturing: a change on the
// screen since the last tick shows only at the next one.
TEST_F(ZoomTest, UncoveringRepaintsTheLastImageWithoutACapture) {
    PaintPattern({290, 790, 311, 811});
    HWND cover = nullptr;
    std::uint32_t covered = 0, uncovered = 0, nextTick = 0;
    RunPicker({{0, [&] { OpenZoom(); }},
               {0, [&] { Display().MovePointer(300, 800); }},
               {1,
                [&] {
                    const RECT rect = WindowRect(Zoom());
                    cover =
                        CreateWindowExA(WS_EX_TOPMOST, "LogWindow", "", WS_POPUP | WS_VISIBLE,
                                        rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
                }},
               {1,
                [&] {
                    covered = SeenInZoom(104, 102);
                    Display().FillDesktop({290, 790, 311, 811}, 0x00123456);
                    DestroyWindow(cover);
                    Display().MovePointer(301, 800);
                }},
               {1,
                [&] {
                    uncovered = SeenInZoom(104, 102);
                    POINT p{};
                    GetCursorPos(&p);
                }},
               {101, [&] { nextTick = SeenInZoom(104, 102); }}});
    EXPECT_NE(Pattern(300, 800), covered);
    EXPECT_EQ(Pattern(300, 800), uncovered);
    EXPECT_EQ(0x00123456u, nextTick);
}

// Closing the main window with the zoom window open leaves no window and no GDI object behind
// beyond what a run without the zoom window leaves.
TEST_F(ZoomTest, ClosingTheMainWindowWithTheZoomOpenLeaksNothing) {
    const auto objects = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
    RunPicker({{150, [] {}}});  // the first run loads what every run shares
    const DWORD withoutZoom = objects();
    HWND zoom = nullptr;
    RunPicker({{0, [&] { OpenZoom(); }}, {150, [&] {
                                              zoom = Zoom();
                                              Display().Press(VK_SHIFT);
                                          }}});
    EXPECT_NE(nullptr, zoom);
    EXPECT_FALSE(IsWindow(zoom));
    EXPECT_TRUE(Display().SurfacesTopToBottom().empty());
    EXPECT_EQ(withoutZoom, objects());
}

}  // namespace
