// The RGB slider window as a user meets it beside the main window: the bars' arrows, track and
// thumb, the value texts and the preview that follow them, Space handing the colour over, the
// arrow keys aiming the pointer, Enter and Esc doing nothing, and where the window appears.
#include <cstdio>
#include <string>
#include <vector>

#include "color/text_format.h"
#include "picker/picker_dlg.h"
#include "picker_test.h"
#include "support/scroll_thumb.h"

namespace {

constexpr char kCaption[] = "カラーダイアログ";
constexpr std::uint32_t kRedPixel = 0x00C81E32;  // RGB(200, 30, 50) on the screen
constexpr int kValueTexts[] = {IDC_SLIDER_RED_TEXT, IDC_SLIDER_GREEN_TEXT, IDC_SLIDER_BLUE_TEXT};
constexpr int kFinished = 77;  // what the last step ends the main window with

enum Channel { kRed, kGreen, kBlue };

// Counts the slider window's transfers as the main window receives them.
class CPickerProbe : public CPickerDlg {
public:
    int m_transfers = 0;

protected:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CPickerProbe>(CPickerDlg::GetMessageMap())
                                          .OnCommand(IDC_GETCOLOR, &CPickerProbe::OnGetColor);
        return map;
    }
    void OnGetColor() {
        ++m_transfers;
        TakeSliderColor();
    }
};

class SliderWindowTest : public PickerTest {
protected:
    SliderWindowTest() {
        AfxGetApp()->m_pMainWnd = &m_dlg;
        Display().FillDesktop({0, 0, 100, 100}, kRedPixel);
        Display().MovePointer(50, 50);
    }
    ~SliderWindowTest() override { AfxGetApp()->m_pMainWnd = nullptr; }

    // Runs the main window through the steps and ends it one step after the last.
    void Run(std::vector<Step> steps) {
        const std::uint64_t end = steps.empty() ? 0 : steps.back().atMs + 1;
        steps.push_back({end, [this] { m_dlg.EndDialog(kFinished); }});
        Script(std::move(steps));
        EXPECT_EQ(kFinished, m_dlg.DoModal());
    }

    HWND Main() const { return m_dlg.m_hWnd; }
    static HWND Sliders() { return FindWindowA(nullptr, kCaption); }
    static HWND Bar(int channel) { return GetDlgItem(Sliders(), IDC_SLIDER_RED + channel); }
    static std::string Value(int channel) { return TextOf(Sliders(), kValueTexts[channel]); }
    static std::string Values() { return Value(kRed) + " " + Value(kGreen) + " " + Value(kBlue); }
    static int Position(int channel) { return GetScrollPos(Bar(channel), SB_CTL); }
    void PressDialogButton() { ClickOn(Main(), IDC_SLIDERS); }

    // Points of a bar on the screen, along its middle line.
    enum class BarSpot { LeftArrow, RightArrow, TrackStart, TrackEnd, Thumb };
    POINT SpotOf(int channel, BarSpot spot) {
        const RECT bar = ScreenRectOf(Sliders(), IDC_SLIDER_RED + channel);
        const int arrow = GetSystemMetrics(SM_CXHSCROLL);
        const int y = (bar.top + bar.bottom) / 2;
        switch (spot) {
            case BarSpot::LeftArrow:
                return {bar.left + arrow / 2, y};
            case BarSpot::RightArrow:
                return {bar.right - arrow / 2, y};
            case BarSpot::TrackStart:
                return {bar.left + arrow, y};
            case BarSpot::TrackEnd:
                return {bar.right - arrow - 1, y};
            case BarSpot::Thumb:
                return ThumbOnScreen(Display(), Bar(channel)).value_or(POINT{-1, -1});
        }
        return {-1, -1};
    }
    void ClickBar(int channel, BarSpot spot) {
        const POINT at = SpotOf(channel, spot);
        Display().Click(display::MouseButton::Left, {at.x, at.y});
    }

    // What the preview shows: the colour inside (the same at its middle and just inside each
    // corner, else "mixed") and whether a one-pixel black line runs round it.
    std::string PreviewSeen() {
        const RECT r = ScreenRectOf(Sliders(), IDC_SLIDER_PREVIEW);
        const POINT middle = CentreOf(r);
        const std::uint32_t inside = ScreenPixel(middle.x, middle.y);
        for (const POINT p : {POINT{r.left + 1, r.top + 1}, POINT{r.right - 2, r.top + 1},
                              POINT{r.left + 1, r.bottom - 2}, POINT{r.right - 2, r.bottom - 2}})
            if (ScreenPixel(p.x, p.y) != inside)
                return "mixed";
        bool outlined = true;
        for (const POINT p :
             {POINT{r.left, r.top}, POINT{middle.x, r.top}, POINT{r.right - 1, r.top},
              POINT{r.left, middle.y}, POINT{r.right - 1, middle.y}, POINT{r.left, r.bottom - 1},
              POINT{middle.x, r.bottom - 1}, POINT{r.right - 1, r.bottom - 1}})
            outlined = outlined && ScreenPixel(p.x, p.y) == 0;
        char text[64];
        std::snprintf(text, sizeof text, "RGB(%u, %u, %u)%s", inside >> 16 & 0xFF,
                      inside >> 8 & 0xFF, inside & 0xFF, outlined ? " in black" : "");
        return text;
    }
    // A window's place and size as "(x, y) width x height".
    static std::string Placement(const RECT& r) {
        char text[64];
        std::snprintf(text, sizeof text, "(%ld, %ld) %ld x %ld", static_cast<long>(r.left),
                      static_cast<long>(r.top), static_cast<long>(r.right - r.left),
                      static_cast<long>(r.bottom - r.top));
        return text;
    }
    static std::string Grey(int level) {
        return "RGB(" + std::to_string(level) + ", " + std::to_string(level) + ", " +
               std::to_string(level) + ") in black";
    }

    CPickerProbe m_dlg;
};

// Each row starts its bar at a position and acts on it once; the bar, its value text and the
// preview all show the new position. Positions are set without notification, so a text shows
// the row's value only if the action's notification rewrote it. Where the thumb covers the
// whole track on one side there is nothing to click, and the bar's own keyboard interface
// (PageUp, PageDown on the bar given the focus) asks for the page instead.
TEST_F(SliderWindowTest, ClicksStepByLinesAndToTheNextMultipleOfEightWithinTheRange) {
    enum class Act { LeftArrow, RightArrow, LeftTrack, RightTrack, PageUpKey, PageDownKey };
    struct Row {
        int channel;
        int from;
        Act act;
        int to;
    };
    const Row rows[] = {
        {kRed, 128, Act::LeftTrack, 120},   {kGreen, 128, Act::RightTrack, 136},
        {kBlue, 130, Act::LeftTrack, 128},  {kRed, 130, Act::RightTrack, 136},
        {kGreen, 135, Act::LeftTrack, 128}, {kBlue, 135, Act::RightTrack, 136},
        {kRed, 0, Act::PageUpKey, 0},       {kGreen, 0, Act::RightTrack, 8},
        {kBlue, 1, Act::PageUpKey, 0},      {kRed, 1, Act::RightTrack, 8},
        {kGreen, 7, Act::LeftTrack, 0},     {kBlue, 7, Act::RightTrack, 8},
        {kRed, 8, Act::LeftTrack, 0},       {kGreen, 8, Act::RightTrack, 16},
        {kBlue, 247, Act::LeftTrack, 240},  {kRed, 247, Act::RightTrack, 248},
        {kGreen, 248, Act::LeftTrack, 240}, {kBlue, 248, Act::RightTrack, 255},
        {kRed, 255, Act::LeftTrack, 248},   {kGreen, 255, Act::PageDownKey, 255},
        {kBlue, 0, Act::LeftArrow, 0},      {kRed, 255, Act::RightArrow, 255},
        {kGreen, 0, Act::RightArrow, 1},    {kBlue, 255, Act::LeftArrow, 254},
        {kRed, 100, Act::RightArrow, 101},  {kGreen, 100, Act::LeftArrow, 99},
    };
    struct Seen {
        std::string values;
        int position;
        std::string preview;
    };
    // Each row is seen while the button or key is still down, after the request alone, and
    // again after the release with its end of scroll.
    std::vector<Seen> held, released;
    const auto look = [this](int channel) {
        return Seen{Values(), Position(channel), PreviewSeen()};
    };
    std::vector<Step> steps{{0, [&] { PressDialogButton(); }}};
    std::uint64_t at = 10;
    for (const Row& row : rows) {
        const bool byKey = row.act == Act::PageUpKey || row.act == Act::PageDownKey;
        steps.push_back({at, [&row, byKey] {
                             SetScrollPos(Bar(row.channel), SB_CTL, row.from, TRUE);
                             if (byKey)
                                 SetFocus(Bar(row.channel));
                         }});
        steps.push_back({at + 1, [&row, this] {
                             const auto press = [&](BarSpot spot) {
                                 const POINT p = SpotOf(row.channel, spot);
                                 Display().ButtonDown(display::MouseButton::Left, {{p.x, p.y}});
                             };
                             switch (row.act) {
                                 case Act::LeftArrow:
                                     return press(BarSpot::LeftArrow);
                                 case Act::RightArrow:
                                     return press(BarSpot::RightArrow);
                                 case Act::LeftTrack:
                                     return press(BarSpot::TrackStart);
                                 case Act::RightTrack:
                                     return press(BarSpot::TrackEnd);
                                 case Act::PageUpKey:
                                     return Display().KeyDown(VK_PRIOR);
                                 case Act::PageDownKey:
                                     return Display().KeyDown(VK_NEXT);
                             }
                         }});
        // Looking and letting go in one step: no repeat comes due in between.
        steps.push_back({at + 2, [&row, &held, look, byKey, this] {
                             held.push_back(look(row.channel));
                             if (byKey)
                                 Display().KeyUp(row.act == Act::PageUpKey ? VK_PRIOR : VK_NEXT);
                             else
                                 Display().ButtonUp(display::MouseButton::Left);
                         }});
        steps.push_back(
            {at + 3, [&row, &released, look] { released.push_back(look(row.channel)); }});
        at += 10;
    }
    Run(steps);

    ASSERT_EQ(std::size(rows), held.size());
    ASSERT_EQ(std::size(rows), released.size());
    int values[] = {128, 128, 128};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        values[row.channel] = row.to;
        char texts[64];
        std::snprintf(texts, sizeof texts, "%d %d %d", values[0], values[1], values[2]);
        char preview[64];
        std::snprintf(preview, sizeof preview, "RGB(%d, %d, %d) in black", values[0], values[1],
                      values[2]);
        for (const Seen& seen : {held[i], released[i]}) {
            EXPECT_EQ(texts, seen.values) << "row " << i;
            EXPECT_EQ(row.to, seen.position) << "row " << i;
            EXPECT_EQ(preview, seen.preview) << "row " << i;
        }
    }
}

// While the thumb is dragged the value, its text and the preview stay; the release sets all
// three to where the thumb was let go. A held arrow steps once at the press, then again after
// the system's delay of 200 ms and every 50 ms after that. The bar's end requests (Home and End
// on the bar given the focus) move nothing, though they rewrite the texts.
TEST_F(SliderWindowTest, DraggedThumbCountsOnReleaseHeldArrowRepeatsEndRequestsMoveNothing) {
    std::string duringDrag, previewDuringDrag, afterRelease, previewAfterRelease, afterHold;
    std::string afterEnds;
    int positionDuringDrag = -1, released = -1, positionAfterEnds = -1;
    std::uint64_t heldFrom = 0, heldTo = 0;
    POINT grip{};
    Run({{0, [&] { PressDialogButton(); }},
         {10,
          [&] {
              grip = SpotOf(kRed, BarSpot::Thumb);
              Display().ButtonDown(display::MouseButton::Left, {{grip.x, grip.y}});
          }},
         {11, [&] { Display().MovePointer(grip.x + 10, grip.y + 3); }},
         {12, [&] { Display().MovePointer(grip.x + 25, grip.y); }},
         {13,
          [&] {
              duringDrag = Values();
              positionDuringDrag = Position(kRed);
              previewDuringDrag = PreviewSeen();
              Display().ButtonUp(display::MouseButton::Left);
          }},
         {14,
          [&] {
              afterRelease = Values();
              released = Position(kRed);
              previewAfterRelease = PreviewSeen();
              const POINT arrow = SpotOf(kGreen, BarSpot::RightArrow);
              Display().ButtonDown(display::MouseButton::Left, {{arrow.x, arrow.y}});
              heldFrom = Display().Clock();
          }},
         // Steps that only look let the clock jump to the next timer: the hold lasts at least
         // a second, and exactly as long as the clocks taken at press and release say.
         {1200,
          [&] {
              heldTo = Display().Clock();
              Display().ButtonUp(display::MouseButton::Left);
          }},
         {1201,
          [&] {
              afterHold = Values();
              SetScrollPos(Bar(kBlue), SB_CTL, 77, TRUE);
              SetFocus(Bar(kBlue));
              Display().Press(VK_HOME);
              Display().Press(VK_END);
          }},
         {1202, [&] {
              afterEnds = Values();
              positionAfterEnds = Position(kBlue);
          }}});
    EXPECT_EQ("128 128 128", duringDrag);
    EXPECT_EQ(128, positionDuringDrag);
    EXPECT_EQ(Grey(128), previewDuringDrag);
    EXPECT_GT(released, 128);
    EXPECT_EQ(std::to_string(released) + " 128 128", afterRelease);
    EXPECT_EQ("RGB(" + std::to_string(released) + ", 128, 128) in black", previewAfterRelease);
    ASSERT_GE(heldTo - heldFrom, 1000u);
    const int held = 129 + static_cast<int>((heldTo - heldFrom - 200) / 50 + 1);
    EXPECT_EQ(std::to_string(released) + " " + std::to_string(held) + " 128", afterHold);
    EXPECT_EQ(77, positionAfterEnds);
    EXPECT_EQ(std::to_string(released) + " " + std::to_string(held) + " 77", afterEnds);
}

// A new window shows 128 three times, its thumbs at 128 on bars from 0 to 255, and a grey
// preview in a black line, which its painting brings back when the window is uncovered; Space
// hands 128, 128, 128 at once to the main window's output, strip and picked colour.
TEST_F(SliderWindowTest, AFreshWindowIsGrey128AndTransfersItAtOnce) {
    std::string values, preview, covered, uncovered, output;
    std::vector<int> positions, ranges;
    bool active = false;
    COLORREF strip = 0;
    HWND cover = nullptr;
    Run({{0, [&] { PressDialogButton(); }},
         {1,
          [&] {
              values = Values();
              preview = PreviewSeen();
              for (int channel : {kRed, kGreen, kBlue}) {
                  positions.push_back(Position(channel));
                  int min = -1, max = -1;
                  GetScrollRange(Bar(channel), SB_CTL, &min, &max);
                  ranges.insert(ranges.end(), {min, max});
              }
              active = GetActiveWindow() == Sliders();
              Display().Press(VK_SPACE, " ");
          }},
         {2,
          [&] {
              output = TextOf(Main(), IDC_OUTPUT);
              strip = SeenInside(Main(), IDC_STRIP);
              RECT rect{};
              GetWindowRect(Sliders(), &rect);
              cover = CreateWindowExA(WS_EX_TOPMOST, "LogWindow", "", WS_POPUP | WS_VISIBLE,
                                      rect.left, rect.top, rect.right - rect.left,
                                      rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
          }},
         {3,
          [&] {
              covered = PreviewSeen();
              DestroyWindow(cover);
          }},
         {4, [&] { uncovered = PreviewSeen(); }}});
    EXPECT_EQ("128 128 128", values);
    EXPECT_EQ(Grey(128), preview);
    EXPECT_NE(Grey(128), covered);
    EXPECT_EQ(Grey(128), uncovered);
    EXPECT_EQ((std::vector<int>{128, 128, 128}), positions);
    EXPECT_EQ((std::vector<int>{0, 255, 0, 255, 0, 255}), ranges);
    EXPECT_TRUE(active);
    EXPECT_EQ("RGB(128, 128, 128)", output);
    EXPECT_EQ(RGB(128, 128, 128), strip);
    EXPECT_EQ(RGB(128, 128, 128), m_dlg.m_crPicked);
    EXPECT_EQ(1, m_dlg.m_transfers);
}

// Space in the slider window hands over the slider colour, not the one under the pointer, on
// the key's press and on each repeat, and leaves the clipboard alone; the transfer button does
// the same, and the main window has taken the colour when its click returns. The arrow keys
// move the pointer a pixel and never reach a bar, not even one with the focus. Enter and Esc
// leave the window open, and the main window still holds it.
TEST_F(SliderWindowTest, SpaceTransfersArrowsAimThePointerEnterAndEscDoNothing) {
    std::string liveBefore, afterPress, afterRepeats, afterButton, valuesAfterKeys;
    int transfersAfterPress = 0, transfersAfterRepeats = 0;
    POINT pointer{};
    std::vector<int> positions;
    bool openAfterEnterAndEsc = false;
    Run({{0, [&] { PressDialogButton(); }},
         {10, [&] { ClickBar(kRed, BarSpot::RightArrow); }},
         {11, [&] { ClickBar(kBlue, BarSpot::LeftArrow); }},
         {12, [&] { Display().MovePointer(50, 50); }},
         // A tick with the pointer on the red square: the live colour is RGB(200, 30, 50).
         {200,
          [&] {
              liveBefore = TextOf(Main(), IDC_READOUT);
              Display().KeyDown(VK_SPACE, " ");
          }},
         {201,
          [&] {
              afterPress = TextOf(Main(), IDC_OUTPUT);
              transfersAfterPress = m_dlg.m_transfers;
              ClickBar(kGreen, BarSpot::LeftArrow);
          }},
         {202,
          [&] {
              Display().MovePointer(50, 50);
              Display().KeyRepeat(VK_SPACE, " ");
              Display().KeyRepeat(VK_SPACE, " ");
              Display().KeyUp(VK_SPACE);
          }},
         {203,
          [&] {
              afterRepeats = TextOf(Main(), IDC_OUTPUT);
              transfersAfterRepeats = m_dlg.m_transfers;
              ClickBar(kGreen, BarSpot::LeftArrow);
          }},
         {204,
          [&] {
              SendDlgItemMessageA(Sliders(), IDC_TRANSFER, BM_CLICK, 0, 0);
              afterButton = TextOf(Main(), IDC_OUTPUT);
          }},
         {205,
          [&] {
              Display().MovePointer(300, 300);
              SetFocus(Bar(kRed));
              for (const int key : {VK_LEFT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_DOWN, VK_LEFT})
                  Display().Press(key);
              Display().Press(VK_RETURN);
              Display().Press(VK_ESCAPE);
          }},
         {206, [&] {
              pointer = {};
              GetCursorPos(&pointer);
              valuesAfterKeys = Values();
              for (int channel : {kRed, kGreen, kBlue})
                  positions.push_back(Position(channel));
              openAfterEnterAndEsc = IsWindowVisible(Sliders()) && m_dlg.m_pSliderDlg != nullptr;
          }}});
    EXPECT_EQ(color::FormatReadout(RGB(200, 30, 50)), liveBefore);
    EXPECT_EQ("RGB(129, 128, 127)", afterPress);
    EXPECT_EQ(1, transfersAfterPress);
    EXPECT_EQ("RGB(129, 127, 127)", afterRepeats);
    EXPECT_EQ(3, transfersAfterRepeats);
    EXPECT_EQ("RGB(129, 126, 127)", afterButton);
    EXPECT_EQ(4, m_dlg.m_transfers);
    EXPECT_EQ(0, Display().ClipboardWriteCount());
    EXPECT_EQ(298, pointer.x);
    EXPECT_EQ(301, pointer.y);
    EXPECT_EQ("129 126 127", valuesAfterKeys);
    EXPECT_EQ((std::vector<int>{129, 126, 127}), positions);
    EXPECT_TRUE(openAfterEnterAndEsc);
}

// The window first stands flush against the main window's left edge, tops level, 197 x 200,
// showing the preview, the bars and the texts, with the transfer button below its visible
// area. Moved over the main window it stays above it, also when the main window is active;
// it goes and comes back with the main window, where the user put it. Closed by its close box
// (the main window active again) or by the button, it comes back fresh at 128 beside the main
// window where that now is; Alt+F4 closes it too. It goes with the main window, which then
// holds no slider window.
TEST_F(SliderWindowTest, PlacedBesideTheMainWindowOnceAndFreshAfterEveryClosing) {
    RECT first{}, client{}, afterRestore{}, reopened{};
    std::vector<RECT> inside;
    RECT transfer{};
    std::string valuesBeforeClosing, valuesAfterCloseBox, valuesAfterButton;
    HWND firstWindow = nullptr, lastWindow = nullptr;
    bool mainActive = false, aboveTheMainWindow = false, hiddenWithTheMainWindow = false;
    bool goneAfterCloseBox = false, goneAfterButton = false, goneAfterAltF4 = false;
    bool activeAfterCloseBox = false;
    constexpr POINT kOverlap{550, 450};  // inside both windows once the slider window is moved
    Run({{0,
          [&] {
              SetWindowPos(Main(), nullptr, 500, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
              PressDialogButton();
          }},
         {1,
          [&] {
              firstWindow = Sliders();
              GetWindowRect(firstWindow, &first);
              GetClientRect(firstWindow, &client);
              MapWindowPoints(firstWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
              for (const int id :
                   {IDC_SLIDER_PREVIEW, IDC_SLIDER_RED, IDC_SLIDER_GREEN, IDC_SLIDER_BLUE,
                    IDC_SLIDER_RED_TEXT, IDC_SLIDER_GREEN_TEXT, IDC_SLIDER_BLUE_TEXT})
                  inside.push_back(ScreenRectOf(firstWindow, id));
              transfer = ScreenRectOf(firstWindow, IDC_TRANSFER);
              ClickBar(kRed, BarSpot::RightArrow);
          }},
         {2,
          [&] {
              valuesBeforeClosing = Values();
              SetWindowPos(firstWindow, nullptr, 400, 380, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
              ClickOn(Main(), IDC_LIVE_SWATCH);
          }},
         {3,
          [&] {
              mainActive = GetActiveWindow() == Main();
              aboveTheMainWindow = GetAncestor(WindowFromPoint(kOverlap), GA_ROOT) == firstWindow;
              ShowWindow(Main(), SW_MINIMIZE);
          }},
         {4,
          [&] {
              hiddenWithTheMainWindow = !IsWindowVisible(firstWindow);
              ShowWindow(Main(), SW_RESTORE);
          }},
         {5,
          [&] {
              GetWindowRect(firstWindow, &afterRestore);
              // The close box sits at the caption's right end, over the main window.
              Display().Click(display::MouseButton::Left,
                              {afterRestore.right - 10, afterRestore.top + 12});
          }},
         {6,
          [&] {
              goneAfterCloseBox = !IsWindow(firstWindow) && m_dlg.m_pSliderDlg == nullptr;
              activeAfterCloseBox = GetActiveWindow() == Main();
              SetWindowPos(Main(), nullptr, 600, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
              PressDialogButton();
          }},
         {7,
          [&] {
              GetWindowRect(Sliders(), &reopened);
              valuesAfterCloseBox = Values();
              ClickBar(kGreen, BarSpot::LeftArrow);
          }},
         {8, [&] { PressDialogButton(); }},
         {9,
          [&] {
              goneAfterButton = Sliders() == nullptr && m_dlg.m_pSliderDlg == nullptr;
              PressDialogButton();
          }},
         {10,
          [&] {
              valuesAfterButton = Values();
              Display().KeyDown(VK_MENU);
              Display().Press(VK_F4);
              Display().KeyUp(VK_MENU);
          }},
         {11,
          [&] {
              goneAfterAltF4 = Sliders() == nullptr && m_dlg.m_pSliderDlg == nullptr;
              PressDialogButton();
          }},
         {12, [&] { lastWindow = Sliders(); }}});
    EXPECT_EQ("(303, 300) 197 x 200", Placement(first));
    for (const RECT& r : inside) {
        EXPECT_GE(r.left, client.left);
        EXPECT_GE(r.top, client.top);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
    }
    EXPECT_GE(transfer.top, client.bottom);
    EXPECT_EQ("129 128 128", valuesBeforeClosing);
    EXPECT_TRUE(mainActive);
    EXPECT_TRUE(aboveTheMainWindow);
    EXPECT_TRUE(hiddenWithTheMainWindow);
    EXPECT_EQ("(400, 380) 197 x 200", Placement(afterRestore));
    EXPECT_TRUE(goneAfterCloseBox);
    EXPECT_TRUE(activeAfterCloseBox);
    EXPECT_EQ("(403, 420) 197 x 200", Placement(reopened));
    EXPECT_EQ("128 128 128", valuesAfterCloseBox);
    EXPECT_TRUE(goneAfterButton);
    EXPECT_EQ("128 128 128", valuesAfterButton);
    EXPECT_TRUE(goneAfterAltF4);
    ASSERT_NE(nullptr, lastWindow);
    EXPECT_FALSE(IsWindow(lastWindow));
    EXPECT_EQ(nullptr, m_dlg.m_pSliderDlg);
}

}  // namespace
