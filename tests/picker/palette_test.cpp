// The palette window as a user meets it: the 49 swatches of a fresh palette, a click that
// copies a swatch's colour, Space that takes the live colour into the history, the keys the
// palette keeps to itself, and where it opens.
#include "picker_test.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "picker/picker_dlg.h"
#include "tools/palette_dlg.h"

namespace {

constexpr int kEntries = 49;
constexpr int kNewest = 8;  // the history is entries 8 (newest) to 15 (oldest)
constexpr int kOldest = 15;

// A fresh palette in reading order, seven to a row.
constexpr std::array<COLORREF, kEntries> kDefaults = {
    RGB(255, 255, 255), RGB(255, 204, 204), RGB(255, 204, 153), RGB(255, 255, 204),
    RGB(153, 255, 153), RGB(204, 255, 255), RGB(255, 204, 255), RGB(204, 204, 204),
    RGB(255, 100, 100), RGB(255, 204, 52),  RGB(255, 255, 156), RGB(100, 255, 156),
    RGB(104, 255, 255), RGB(255, 156, 255), RGB(192, 192, 192), RGB(255, 0, 0),
    RGB(255, 152, 0),   RGB(255, 255, 0),   RGB(52, 255, 52),   RGB(52, 204, 255),
    RGB(204, 96, 204),  RGB(152, 152, 152), RGB(204, 0, 0),     RGB(255, 100, 0),
    RGB(255, 204, 0),   RGB(0, 204, 0),     RGB(52, 100, 255),  RGB(204, 52, 204),
    RGB(100, 100, 100), RGB(156, 0, 0),     RGB(204, 100, 0),   RGB(156, 100, 0),
    RGB(0, 156, 0),     RGB(52, 52, 255),   RGB(156, 52, 100),  RGB(52, 52, 52),
    RGB(156, 0, 0),     RGB(156, 52, 0),    RGB(100, 100, 0),   RGB(0, 100, 0),
    RGB(0, 0, 156),     RGB(100, 52, 100),  RGB(0, 0, 0),       RGB(52, 0, 0),
    RGB(100, 52, 0),    RGB(52, 52, 0),     RGB(0, 52, 0),      RGB(0, 0, 100),
    RGB(52, 0, 52),
};

std::uint32_t PixelOf(COLORREF colour) {
    return std::uint32_t{GetRValue(colour)} << 16 | std::uint32_t{GetGValue(colour)} << 8 |
           GetBValue(colour);
}
COLORREF ColourOf(std::uint32_t pixel) {
    return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
}

// One swatch as the screen shows it.
struct SwatchSeen {
    COLORREF fill = CLR_INVALID;  // CLR_INVALID unless the whole inside is one colour
    bool outlined = false;        // the outermost ring of pixels is all black
    bool operator==(const SwatchSeen&) const = default;
};
void PrintTo(const SwatchSeen& seen, std::ostream* os) {
    *os << std::hex << seen.fill << (seen.outlined ? " outlined" : " not outlined");
}
std::vector<SwatchSeen> Outlined(const std::array<COLORREF, kEntries>& colours) {
    std::vector<SwatchSeen> grid;
    for (const COLORREF colour : colours)
        grid.push_back({colour, true});
    return grid;
}
// The default table with the history replaced, newest first.
std::array<COLORREF, kEntries> WithHistory(const std::vector<COLORREF>& history) {
    std::array<COLORREF, kEntries> colours = kDefaults;
    std::copy(history.begin(), history.end(), colours.begin() + kNewest);
    return colours;
}
std::string RgbText(COLORREF colour) {
    return "RGB(" + std::to_string(GetRValue(colour)) + ", " + std::to_string(GetGValue(colour)) +
           ", " + std::to_string(GetBValue(colour)) + ")";
}

class PaletteTest : public PickerTest {
protected:
    PaletteTest() { AfxGetApp()->m_pMainWnd = &m_dlg; }
    ~PaletteTest() override { AfxGetApp()->m_pMainWnd = nullptr; }

    CPickerDlg m_dlg;
    HWND Main() const { return m_dlg.m_hWnd; }
    static HWND Palette() { return FindWindowA(nullptr, "パレット"); }
    void PressPaletteButton() { ClickOn(Main(), IDC_PALETTE); }
    void End() { m_dlg.EndDialog(IDCANCEL); }

    void ClickAt(POINT at) { Display().Click(display::MouseButton::Left, {at.x, at.y}); }
    void ClickRadio(int id) { ClickOn(Palette(), id); }
    POINT Pointer() {
        POINT p{};
        GetCursorPos(&p);
        return p;
    }

    // Where a swatch is on the screen, from the grid as the user sees it: row entry / 7 and
    // column entry % 7, 14 x 10 dialog units each, every 16 x 12 units from (1, 2).
    static RECT SwatchRect(int entry) {
        const int row = entry / 7;
        const int column = entry % 7;
        RECT units{1 + 16 * column, 2 + 12 * row, 14, 10};
        MapDialogRect(Palette(), &units);
        RECT rect{units.left, units.top, units.left + units.right, units.top + units.bottom};
        MapWindowPoints(Palette(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    std::vector<SwatchSeen> SeenGrid() {
        std::vector<SwatchSeen> grid;
        for (int entry = 0; entry < kEntries; ++entry) {
            const RECT r = SwatchRect(entry);
            SwatchSeen seen;
            seen.outlined = true;
            for (int x = r.left; x < r.right; ++x)
                seen.outlined &= ScreenPixel(x, r.top) == 0 && ScreenPixel(x, r.bottom - 1) == 0;
            for (int y = r.top; y < r.bottom; ++y)
                seen.outlined &= ScreenPixel(r.left, y) == 0 && ScreenPixel(r.right - 1, y) == 0;
            const std::uint32_t first = ScreenPixel(r.left + 1, r.top + 1);
            bool even = true;
            for (int y = r.top + 1; y < r.bottom - 1; ++y)
                for (int x = r.left + 1; x < r.right - 1; ++x)
                    even &= ScreenPixel(x, y) == first;
            seen.fill = even ? ColourOf(first) : CLR_INVALID;
            grid.push_back(seen);
        }
        return grid;
    }

    // The three value texts as read from the top down.
    static std::vector<std::string> ValueTexts() {
        std::vector<int> ids = {IDC_PALETTE_RED_TEXT, IDC_PALETTE_GREEN_TEXT,
                                IDC_PALETTE_BLUE_TEXT};
        std::sort(ids.begin(), ids.end(), [](int a, int b) {
            return ScreenRectOf(Palette(), a).top < ScreenRectOf(Palette(), b).top;
        });
        std::vector<std::string> texts;
        for (const int id : ids)
            texts.push_back(TextOf(Palette(), id));
        return texts;
    }

    static std::string SelectedRadio() {
        const bool copy = IsDlgButtonChecked(Palette(), IDC_PALETTE_COPY) == BST_CHECKED;
        const bool reg = IsDlgButtonChecked(Palette(), IDC_PALETTE_REGISTER) == BST_CHECKED;
        return copy && reg ? "both" : copy ? "コピー" : reg ? "登録" : "none";
    }

    std::string Clipboard() { return Display().ClipboardContent().value_or(""); }

    // A patch of the desktop in one colour, clear of the windows; where to point at it. Space
    // takes the colour the last tick sampled, and a step runs at the first idle moment at or
    // after its time, up to a tick later: so a step that presses Space comes 200 ms after the
    // one that pointed, with a tick between them.
    POINT ColourOnDesktop(int slot, COLORREF colour) {
        const display::Rect area{20 + 40 * slot, 20, 60 + 40 * slot, 60};
        Display().FillDesktop(area, PixelOf(colour));
        return {area.left + 20, area.top + 20};
    }
};

const std::vector<std::string> kNoValues = {"", "", ""};

// A fresh palette shows the default table, each swatch filled inside a black outline, with the
// copy radio selected and no values. Uncovered, it paints the same again; closed after changes
// and opened again, it is fresh again.
TEST_F(PaletteTest, OpensWithTheDefaultSwatchesInCopyModeAndNoValuesEveryTime) {
    std::vector<SwatchSeen> first, uncovered, changed, reopened;
    std::string firstRadio, reopenedRadio;
    std::vector<std::string> firstValues, reopenedValues;
    bool closedByCloseBox = false;
    HWND cover = nullptr;
    const POINT taken = ColourOnDesktop(0, RGB(12, 34, 56));
    Script({{0, [&] { PressPaletteButton(); }},
            {1,
             [&] {
                 first = SeenGrid();
                 firstRadio = SelectedRadio();
                 firstValues = ValueTexts();
                 RECT rect{};
                 GetWindowRect(Palette(), &rect);
                 cover =
                     CreateWindowExA(WS_EX_TOPMOST, "LogWindow", "", WS_POPUP | WS_VISIBLE,
                                     rect.left, rect.top, rect.right - rect.left,
                                     rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
             }},
            {2, [&] { DestroyWindow(cover); }},
            {3,
             [&] {
                 uncovered = SeenGrid();
                 ClickRadio(IDC_PALETTE_REGISTER);
                 Display().MovePointer(taken.x, taken.y);
             }},
            {500, [&] { Display().Press(VK_SPACE, " "); }},
            {501, [&] { ClickRadio(IDC_PALETTE_COPY); }},
            {502, [&] { ClickAt(CentreOf(SwatchRect(0))); }},
            {503,
             [&] {
                 changed = SeenGrid();
                 RECT rect{};
                 GetWindowRect(Palette(), &rect);
                 ClickAt({rect.right - 12, rect.top + 11});  // the caption's close box
             }},
            {504,
             [&] {
                 closedByCloseBox = Palette() == nullptr && m_dlg.m_pPaletteDlg == nullptr;
                 PressPaletteButton();
             }},
            {505,
             [&] {
                 reopened = SeenGrid();
                 reopenedRadio = SelectedRadio();
                 reopenedValues = ValueTexts();
             }},
            {506, [&] { End(); }}});
    m_dlg.DoModal();
    const std::vector<SwatchSeen> defaults = Outlined(kDefaults);
    EXPECT_EQ(defaults, first);
    EXPECT_EQ("コピー", firstRadio);
    EXPECT_EQ(kNoValues, firstValues);
    EXPECT_EQ(defaults, uncovered);
    ASSERT_EQ(kEntries, static_cast<int>(changed.size()));
    EXPECT_EQ(RGB(12, 34, 56), changed[kNewest].fill);
    EXPECT_TRUE(closedByCloseBox);
    EXPECT_EQ(defaults, reopened);
    EXPECT_EQ("コピー", reopenedRadio);
    EXPECT_EQ(kNoValues, reopenedValues);
}

// In copy mode a click hands the swatch under it to the main window, which shows its text and
// copies it; the swatch's values read green, red, blue from the top. A swatch's rectangle is
// half open: its last pixel inside hits, its right and bottom boundaries do not, and neither
// do the gaps or the space beside the grid.
TEST_F(PaletteTest, ACopyModeClickTakesTheSwatchUnderItAndNothingElse) {
    // A coordinate of the swatch's rectangle and an offset from it: {kRight, 0} is the right
    // boundary, {kRight, -1} the last column inside.
    struct Along {
        LONG RECT::*edge;
        int offset;
    };
    constexpr LONG RECT::*kLeft = &RECT::left;
    constexpr LONG RECT::*kTop = &RECT::top;
    constexpr LONG RECT::*kRight = &RECT::right;
    constexpr LONG RECT::*kBottom = &RECT::bottom;
    const std::vector<std::string> kEntry8 = {"100", "255", "100"};
    const struct {
        const char* what;
        int entry;
        Along x, y;
        std::vector<std::string> values;  // after the click, top to bottom
        std::string output;               // in the main window and on the clipboard
    } kClicks[] = {
        {"left of the grid", 7, {kLeft, -1}, {kTop, 4}, kNoValues, ""},
        {"between two swatches of a row", 8, {kRight, 1}, {kTop, 4}, kNoValues, ""},
        {"between two rows", 8, {kLeft, 4}, {kBottom, 1}, kNoValues, ""},
        {"right of the grid", 13, {kRight, 6}, {kTop, 4}, kNoValues, ""},
        {"below the grid", 45, {kLeft, 4}, {kBottom, 1}, kNoValues, ""},
        {"a right boundary", 8, {kRight, 0}, {kTop, 4}, kNoValues, ""},
        {"a bottom boundary", 8, {kLeft, 4}, {kBottom, 0}, kNoValues, ""},
        {"its last pixel", 48, {kRight, -1}, {kBottom, -1}, {"0", "52", "52"}, "RGB(52, 0, 52)"},
        {"its first pixel", 43, {kLeft, 0}, {kTop, 0}, {"0", "52", "0"}, "RGB(52, 0, 0)"},
        {"inside entry 8", 8, {kLeft, 5}, {kTop, 5}, kEntry8, "RGB(255, 100, 100)"},
        {"a boundary after a hit", 1, {kLeft, 4}, {kBottom, 0}, kEntry8, "RGB(255, 100, 100)"},
    };
    struct Seen {
        std::vector<std::string> values;
        std::string output, clipboard;
    };
    std::vector<Seen> seen;
    std::vector<Step> steps = {{0, [&] { PressPaletteButton(); }}};
    std::uint64_t at = 1;
    for (const auto& click : kClicks) {
        steps.push_back(
            {at++, [&] {
                 const RECT r = SwatchRect(click.entry);
                 ClickAt({r.*click.x.edge + click.x.offset, r.*click.y.edge + click.y.offset});
             }});
        steps.push_back(
            {at++, [&] {
                 seen.push_back({ValueTexts(), TextOf(Main(), IDC_OUTPUT), Clipboard()});
             }});
    }
    steps.push_back({at, [&] { End(); }});
    Script(std::move(steps));
    m_dlg.DoModal();
    ASSERT_EQ(std::size(kClicks), seen.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(kClicks[i].what);
        EXPECT_EQ(kClicks[i].values, seen[i].values);
        EXPECT_EQ(kClicks[i].output, seen[i].output);
        EXPECT_EQ(kClicks[i].output, seen[i].clipboard);
    }
    EXPECT_EQ(3, Display().ClipboardWriteCount());
}

// In register mode Space takes the live colour, which becomes the newest history entry while
// the others move one place on and the oldest is gone. It copies nothing and leaves the values
// as they were; a click copies nothing in this mode, and copies again once the mode is back.
TEST_F(PaletteTest, SpaceInRegisterModeTakesTheLiveColourIntoTheHistory) {
    constexpr COLORREF kLive = RGB(12, 34, 56);
    const POINT live = ColourOnDesktop(0, kLive);
    std::vector<SwatchSeen> registered, afterClick;
    std::vector<std::string> valuesRegistered, valuesAfterClick, valuesCopied;
    std::string output, radio, clipboardRegistered, clipboardAfterClick;
    int writesRegistered = 0, writesAfterClick = 0;
    Script({{0, [&] { PressPaletteButton(); }},
            {1, [&] { ClickAt(CentreOf(SwatchRect(0))); }},
            {2,
             [&] {
                 ClickRadio(IDC_PALETTE_REGISTER);
                 Display().MovePointer(live.x, live.y);
             }},
            {300, [&] { Display().Press(VK_SPACE, " "); }},
            {301,
             [&] {
                 registered = SeenGrid();
                 valuesRegistered = ValueTexts();
                 output = TextOf(Main(), IDC_OUTPUT);
                 radio = SelectedRadio();
                 clipboardRegistered = Clipboard();
                 writesRegistered = Display().ClipboardWriteCount();
                 ClickAt(CentreOf(SwatchRect(kOldest)));
             }},
            {302,
             [&] {
                 afterClick = SeenGrid();
                 valuesAfterClick = ValueTexts();
                 clipboardAfterClick = Clipboard();
                 writesAfterClick = Display().ClipboardWriteCount();
                 ClickRadio(IDC_PALETTE_COPY);
             }},
            {303, [&] { ClickAt(CentreOf(SwatchRect(kNewest))); }},
            {304, [&] {
                 valuesCopied = ValueTexts();
                 End();
             }}});
    m_dlg.DoModal();
    const std::vector<SwatchSeen> expected = Outlined(WithHistory(
        {kLive, RGB(255, 100, 100), RGB(255, 204, 52), RGB(255, 255, 156), RGB(100, 255, 156),
         RGB(104, 255, 255), RGB(255, 156, 255), RGB(192, 192, 192)}));
    EXPECT_EQ(expected, registered);
    EXPECT_EQ(RgbText(kLive), output);
    EXPECT_EQ("登録", radio);
    const std::vector<std::string> white = {"255", "255", "255"};
    EXPECT_EQ(white, valuesRegistered);
    EXPECT_EQ("RGB(255, 255, 255)", clipboardRegistered);
    EXPECT_EQ(1, writesRegistered);
    EXPECT_EQ(expected, afterClick);
    EXPECT_EQ(white, valuesAfterClick);
    EXPECT_EQ("RGB(255, 255, 255)", clipboardAfterClick);
    EXPECT_EQ(1, writesAfterClick);
    EXPECT_EQ((std::vector<std::string>{"34", "12", "56"}), valuesCopied);
    EXPECT_EQ(RgbText(kLive), Clipboard());
}

// Eight registrations fill the whole history, newest first; a held Space registers again on
// every repeat, pushing the older entries on each time.
TEST_F(PaletteTest, EightRegistrationsFillTheHistoryAndAHeldSpaceRegistersOnEveryRepeat) {
    std::vector<COLORREF> colours;
    std::vector<POINT> points;
    for (int slot = 0; slot < 9; ++slot) {
        colours.push_back(RGB(10 + 20 * slot, 200 - 15 * slot, 7 * slot));
        points.push_back(ColourOnDesktop(slot, colours.back()));
    }
    std::vector<SwatchSeen> afterEight, afterHeld;
    std::vector<Step> steps = {{0, [&] { PressPaletteButton(); }},
                               {1, [&] {
                                    ClickRadio(IDC_PALETTE_REGISTER);
                                    Display().MovePointer(points[0].x, points[0].y);
                                }}};
    // Each Space takes the colour the last tick sampled; the next tick samples the next slot.
    for (int slot = 0; slot < 8; ++slot) {
        steps.push_back({300u + 200u * slot, [&, slot] {
                             Display().Press(VK_SPACE, " ");
                             Display().MovePointer(points[slot + 1].x, points[slot + 1].y);
                         }});
    }
    steps.push_back({1900, [&] {
                         afterEight = SeenGrid();
                         Display().KeyDown(VK_SPACE, " ");
                         Display().KeyRepeat(VK_SPACE, " ");
                         Display().KeyRepeat(VK_SPACE, " ");
                     }});
    steps.push_back({1901, [&] {
                         Display().KeyUp(VK_SPACE);
                         afterHeld = SeenGrid();
                         End();
                     }});
    Script(std::move(steps));
    m_dlg.DoModal();
    EXPECT_EQ(Outlined(WithHistory({colours[7], colours[6], colours[5], colours[4], colours[3],
                                    colours[2], colours[1], colours[0]})),
              afterEight);
    EXPECT_EQ(Outlined(WithHistory({colours[8], colours[8], colours[8], colours[7], colours[6],
                                    colours[5], colours[4], colours[3]})),
              afterHeld);
}

// The arrows move the pointer one pixel per press or repeat, and neither they nor Space move
// the selection between the radios, whichever is selected. Space in copy mode takes the live
// colour in the main window and leaves the palette as it was. Enter and Esc neither close nor
// hide the palette, and the main window still counts it open: its button closes it.
TEST_F(PaletteTest, ThePaletteKeepsArrowsSpaceEnterAndEscToItself) {
    constexpr COLORREF kLive = RGB(90, 60, 30);
    const POINT live = ColourOnDesktop(0, kLive);
    const auto walk = [&] {
        Display().MovePointer(live.x, live.y);
        Display().Press(VK_LEFT);
        Display().Press(VK_UP);
        Display().KeyDown(VK_RIGHT);
        Display().KeyRepeat(VK_RIGHT);
        Display().KeyRepeat(VK_RIGHT);
        Display().KeyUp(VK_RIGHT);
        Display().Press(VK_DOWN);
    };
    struct Seen {
        POINT pointer;
        std::string afterArrows, afterSpace;
    };
    Seen copy{}, reg{};
    std::string output;
    std::vector<SwatchSeen> grid;
    std::vector<std::string> values;
    bool open = false, mainAlive = false, closedByButton = false;
    Script({{0, [&] { PressPaletteButton(); }},
            {1, [&] { ClickRadio(IDC_PALETTE_COPY); }},
            {2, walk},
            {300,
             [&] {
                 copy.pointer = Pointer();
                 copy.afterArrows = SelectedRadio();
                 Display().Press(VK_SPACE, " ");
             }},
            {301,
             [&] {
                 copy.afterSpace = SelectedRadio();
                 output = TextOf(Main(), IDC_OUTPUT);
                 grid = SeenGrid();
                 values = ValueTexts();
                 ClickRadio(IDC_PALETTE_REGISTER);
             }},
            {302, walk},
            {303,
             [&] {
                 reg.pointer = Pointer();
                 reg.afterArrows = SelectedRadio();
                 Display().Press(VK_SPACE, " ");
             }},
            {304,
             [&] {
                 reg.afterSpace = SelectedRadio();
                 Display().Press(VK_RETURN);
                 Display().Press(VK_ESCAPE);
             }},
            {305,
             [&] {
                 open = IsWindowVisible(Palette()) && m_dlg.m_pPaletteDlg != nullptr &&
                        m_dlg.m_pPaletteDlg->m_hWnd == Palette();
                 mainAlive = IsWindowVisible(Main()) != FALSE;
                 PressPaletteButton();
             }},
            {306, [&] {
                 closedByButton = Palette() == nullptr && m_dlg.m_pPaletteDlg == nullptr;
                 End();
             }}});
    m_dlg.DoModal();
    // Left, Up, Right three times, Down.
    const POINT expected{live.x + 2, live.y};
    EXPECT_EQ(expected.x, copy.pointer.x);
    EXPECT_EQ(expected.y, copy.pointer.y);
    EXPECT_EQ(expected.x, reg.pointer.x);
    EXPECT_EQ(expected.y, reg.pointer.y);
    EXPECT_EQ("コピー", copy.afterArrows);
    EXPECT_EQ("コピー", copy.afterSpace);
    EXPECT_EQ("登録", reg.afterArrows);
    EXPECT_EQ("登録", reg.afterSpace);
    EXPECT_EQ(RgbText(kLive), output);
    EXPECT_EQ(Outlined(kDefaults), grid);
    EXPECT_EQ(kNoValues, values);
    EXPECT_TRUE(open);
    EXPECT_TRUE(mainAlive);
    EXPECT_TRUE(closedByButton);
}

// The palette opens on the main window's top edge, left edges aligned, at its own height and
// as wide as the main window but never narrower than it was made, so that its radios and
// values stay inside. It is not kept on the screen. Once placed, it stays where the user puts
// it, however often it is hidden and shown.
TEST_F(PaletteTest, OpensDirectlyAboveTheMainWindowAndStaysThere) {
    const struct {
        const char* what;
        RECT main;  // empty: where the main window starts
    } kCases[] = {
        {"as the main window starts", {}},
        {"above a main window wider than the palette", {100, 500, 500, 700}},
        {"partly above the screen", {600, 40, 802, 240}},
        {"wholly above the screen", {600, 0, 802, 200}},
    };
    struct Seen {
        RECT main{}, palette{}, made{}, moved{}, later{};
        bool controlsInside = false;
    };
    std::vector<Seen> seen(std::size(kCases));
    std::vector<Step> steps;
    std::uint64_t at = 0;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        steps.push_back({at++, [&, i] {
                             const RECT& r = kCases[i].main;
                             if (!IsRectEmpty(&r))
                                 SetWindowPos(Main(), nullptr, r.left, r.top, r.right - r.left,
                                              r.bottom - r.top, SWP_NOZORDER);
                             GetWindowRect(Main(), &seen[i].main);
                             PressPaletteButton();
                         }});
        steps.push_back(
            {at++, [&, i] {
                 const HWND palette = Palette();
                 GetWindowRect(palette, &seen[i].palette);
                 RECT made{0, 0, 163, 85};
                 MapDialogRect(palette, &made);
                 AdjustWindowRectEx(&made, GetWindowLongA(palette, GWL_STYLE), FALSE,
                                    GetWindowLongA(palette, GWL_EXSTYLE));
                 seen[i].made = made;
                 RECT client{};
                 GetClientRect(palette, &client);
                 MapWindowPoints(palette, nullptr, reinterpret_cast<POINT*>(&client), 2);
                 seen[i].controlsInside = true;
                 for (const int id : {IDC_PALETTE_COPY, IDC_PALETTE_REGISTER, IDC_PALETTE_RED_TEXT,
                                      IDC_PALETTE_GREEN_TEXT, IDC_PALETTE_BLUE_TEXT}) {
                     RECT control = ScreenRectOf(palette, id), both{};
                     IntersectRect(&both, &control, &client);
                     seen[i].controlsInside &= EqualRect(&both, &control) != FALSE;
                 }
                 // Moved away as by its caption, then hidden.
                 SetWindowPos(palette, nullptr, seen[i].palette.left + 40, seen[i].palette.top + 30,
                              0, 0, SWP_NOZORDER | SWP_NOSIZE);
                 GetWindowRect(palette, &seen[i].moved);
                 ShowWindow(palette, SW_HIDE);
             }});
        steps.push_back({at++, [&] { ShowWindow(Palette(), SW_SHOW); }});
        steps.push_back({at++, [&, i] {
                             GetWindowRect(Palette(), &seen[i].later);
                             PressPaletteButton();
                         }});
    }
    steps.push_back({at, [&] { End(); }});
    Script(std::move(steps));
    m_dlg.DoModal();
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(kCases[i].what);
        const Seen& s = seen[i];
        const int madeWidth = s.made.right - s.made.left;
        const int madeHeight = s.made.bottom - s.made.top;
        const int mainWidth = s.main.right - s.main.left;
        EXPECT_EQ(s.main.left, s.palette.left);
        EXPECT_EQ(s.main.top, s.palette.bottom);
        EXPECT_EQ(std::max(mainWidth, madeWidth), s.palette.right - s.palette.left);
        EXPECT_EQ(madeHeight, s.palette.bottom - s.palette.top);
        EXPECT_TRUE(s.controlsInside);
        EXPECT_EQ(s.palette.left + 40, s.moved.left);
        EXPECT_TRUE(EqualRect(&s.moved, &s.later));
    }
    EXPECT_GT(seen[0].made.right - seen[0].made.left, 202);
    EXPECT_EQ(400, seen[1].palette.right - seen[1].palette.left);
    EXPECT_LT(seen[2].palette.top, 0);
    EXPECT_GT(seen[2].palette.bottom, 0);
    EXPECT_EQ(0, seen[3].palette.bottom);
}

}  // namespace
