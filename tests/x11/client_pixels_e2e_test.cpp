// Our Win32 layer held against Wine's, window by window: the same program in the same state,
// once on our layer and once as the Windows build under Wine, on the same private X server, and
// the client areas compared pixel by pixel. Client areas only: the frames are each Win32's own
// non-client drawing, and Wine's caption differs from Windows' (a gradient, its own glyphs).
// The share of identical pixels is printed for every window; a window below its floor leaves
// both pictures and a difference picture behind (PPM files in the build's wine-pixels/).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

#include "tests/x11/picker_e2e_fixture.h"

namespace x11test {
namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

void WritePpm(const std::filesystem::path& path, const Picture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (const std::uint32_t p : picture.pixels) {
        const char rgb[] = {char(p >> 16), char(p >> 8), char(p)};
        out.write(rgb, 3);
    }
}

// Identical pixels grey, differing ones red: where the two drawings part.
Picture Difference(const Picture& a, const Picture& b) {
    Picture difference{a.width, a.height, a.pixels};
    for (std::size_t i = 0; i < difference.pixels.size(); ++i) {
        const std::uint32_t grey = ((a.pixels[i] >> 8 & 0xFF) / 2 + 64) * 0x010101;
        difference.pixels[i] = a.pixels[i] == b.pixels[i] ? grey : 0xFF0000;
    }
    return difference;
}

double IdenticalShare(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) {
        return 0;
    }
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        same += a.pixels[i] == b.pixels[i] ? 1 : 0;
    }
    return double(same) / double(a.pixels.size());
}

class ClientPixelsTest : public PickerTest {
protected:
    static constexpr std::uint64_t kStillMs = 300;

    // The screen's pixels of area once they have stopped changing (the picker repaints on
    // every tick, so drawn means the same pixels for a while).
    Picture StillPicture(const Rect& area) {
        Picture picture{area.Width(), area.Height(), {}};
        std::vector<std::uint32_t> last;
        std::uint64_t since = 0;
        PollUntil(
            [&] {
                picture.pixels = ReadScreen(area);
                const std::uint64_t now = display::x11::MonotonicMs();
                if (picture.pixels != last) {
                    last = picture.pixels;
                    since = now;
                }
                return now - since >= kStillMs;
            },
            ShowTimeoutMs());
        return picture;
    }

    // The client area of a captioned window, on the screen.
    Rect ClientArea(Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(Observer(), window, &attributes);
        return OnScreen(window, {0, 0, attributes.width - 2 * kClientLeft,
                                 attributes.height - kClientTop - kClientLeft});
    }

    // The whole of a window without a caption (a popup menu), on the screen.
    Rect WholeArea(Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(Observer(), window, &attributes);
        int x = 0, y = 0;
        Window child = None;
        XTranslateCoordinates(Observer(), window, DefaultRootWindow(Observer()), 0, 0, &x, &y,
                              &child);
        return {x, y, x + attributes.width, y + attributes.height};
    }

    // The newest override-redirect window mapped on the root since mark: a popup menu.
    Window WaitForPopupSince(std::size_t mark) {
        Window popup = None;
        PollUntil(
            [&] {
                for (const Window window : MapsSince(mark)) {
                    XWindowAttributes attributes{};
                    if (XGetWindowAttributes(Observer(), window, &attributes) &&
                        attributes.override_redirect && attributes.map_state == IsViewable &&
                        attributes.width > 8 && attributes.height > 8) {
                        popup = window;
                    }
                }
                return popup != None;
            },
            ShowTimeoutMs());
        return popup;
    }

    void RightClick(int x, int y) {
        MovePointer(x, y);
        XTestFakeButtonEvent(Observer(), 3, True, CurrentTime);
        XTestFakeButtonEvent(Observer(), 3, False, CurrentTime);
        XSync(Observer(), False);
    }

    // The picker pointed at a colour and its Space pressed, so that every part of the main
    // window shows something: swatch, readout, strip and output text.
    Window StartAndTake(std::uint32_t colour) {
        MovePointer(150, 150);
        m_program = Start();
        const Window window = WaitForPicker();
        if (window == None) {
            return None;
        }
        PollUntil([&] { return AllOf(OnScreen(window, kLiveSwatch), colour); }, ShowTimeoutMs());
        WaitForFocus(window);
        Press(XK_space);
        PollUntil([&] { return AllOf(OnScreen(window, kStrip), colour); });
        return window;
    }

    void EndProgram() {
        m_program = ChildProcess();
        PollUntil([&] { return PickerWindows().empty(); }, ShowTimeoutMs());
    }

    ChildProcess m_program;
};

// How a window of the program is brought up once the main window shows.
enum class Opening {
    Nothing,      // the main window itself
    Button,       // a click on the main window's button
    SystemMenu,   // the caption icon's system menu, its last item (About)
    ContextMenu,  // a right click in the main window
};

// A window of the program, how it opens, and the share of identical pixels held today (below
// it the test fails; the aim is 99% everywhere). A window without a title is the popup menu
// the opening showed, compared whole.
struct WindowCase {
    const char* name;
    const char* title;
    Opening opening;
    Rect button;
    double floor;
};

constexpr std::uint32_t kColour = 0x3366CC;
// Where the right click opens the notation menu: the live swatch's middle.
constexpr int kMenuX = 90, kMenuY = 20;

class ClientPixelsAgainstWine : public ClientPixelsTest {
protected:
    std::optional<Picture> PictureOf(const WindowCase& row, Window main) {
        const std::size_t mark = EventsSoFar();
        switch (row.opening) {
            case Opening::Nothing:
                break;
            case Opening::Button: {
                const Rect r = OnScreen(main, row.button);
                Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                break;
            }
            case Opening::SystemMenu: {
                const auto [left, top] = ClientOrigin(main);
                Click(left + 6, top - 11);
                WaitForPopupSince(mark);
                Press(XK_Up);
                Press(XK_Return);
                break;
            }
            case Opening::ContextMenu: {
                const auto [left, top] = ClientOrigin(main);
                RightClick(left + kMenuX, top + kMenuY);
                break;
            }
        }
        if (row.title == nullptr) {
            const Window popup = WaitForPopupSince(mark);
            if (popup == None) {
                return std::nullopt;
            }
            return StillPicture(WholeArea(popup));
        }
        const Window window = WaitForWindowTitled(row.title);
        if (window == None) {
            return std::nullopt;
        }
        // The zoom window shows the screen around the pointer: for both programs the same
        // solid colour, rather than the button just clicked.
        MovePointer(150, 150);
        return StillPicture(ClientArea(window));
    }

    void Compare(const WindowCase& row) {
        SolidFromOtherClient({100, 100, 200, 200}, kColour);
        Picture pictures[2];
        for (const Program program : {Program::Native, Program::Windows}) {
            UseProgram(program);
            const Window main = StartAndTake(kColour);
            ASSERT_NE(main, None) << ProgramName({program, 0});
            const auto picture = PictureOf(row, main);
            ASSERT_TRUE(picture) << row.name << " never showed";
            pictures[program == Program::Native ? 0 : 1] = *picture;
            EndProgram();
        }
        const double share = IdenticalShare(pictures[0], pictures[1]);
        std::cout << "identical pixels, " << row.name << ": " << share * 100 << "%\n";
        EXPECT_GE(share, row.floor) << row.name;
        if (share >= 0.99) {
            return;
        }
        const std::filesystem::path directory = TINTARO_PIXEL_REPORT_DIRECTORY;
        std::filesystem::create_directories(directory);
        WritePpm(directory / (std::string(row.name) + "-ours.ppm"), pictures[0]);
        WritePpm(directory / (std::string(row.name) + "-wine.ppm"), pictures[1]);
        if (share > 0) {
            WritePpm(directory / (std::string(row.name) + "-difference.ppm"),
                     Difference(pictures[0], pictures[1]));
        }
    }
};

// What still differs, each where Wine departs from Windows or where neither is documented and
// ours stays:
// - the radio circle, the scroll bar's left arrow and the menu check mark: Wine draws them as
//   glyphs of its own Marlett font, a pixel off ours here and there;
// - the focus rectangle's dots: ours invert the pixels whose coordinates add up to even, Wine's
//   brush the odd ones;
// - the default button's label a pixel higher under Wine, centred in the same face (cause
//   not found);
// - the About box icon's soft edge: alpha blending rounds a level apart in one channel (and one
//   pixel of one glyph, for a cause not found);
// - the zoom overlay: Wine's 2 px pen adds a pixel diagonally before where each arm starts
//   (a round end cap; which pixels Windows' caps cover is not documented).
const WindowCase kWindows[] = {
    {"main", kTitle, Opening::Nothing, {}, 0.99},
    {"about", "Tintaro LE 1.2 について ...", Opening::SystemMenu, {}, 0.99},
    {"menu", nullptr, Opening::ContextMenu, {}, 0.99},
    {"zoom", "ズーム", Opening::Button, DialogRect(70, 80, 56, 15), 0.99},
    {"sliders", "カラーダイアログ", Opening::Button, DialogRect(5, 100, 56, 15), 0.99},
    {"palette", "パレット", Opening::Button, DialogRect(6, 80, 56, 15), 0.99},
};

const WindowCase& Row(std::string_view name) {
    return *std::find_if(std::begin(kWindows), std::end(kWindows),
                         [&](const WindowCase& row) { return row.name == name; });
}

TEST_P(ClientPixelsAgainstWine, MainWindow) {
    Compare(Row("main"));
}
TEST_P(ClientPixelsAgainstWine, AboutBox) {
    Compare(Row("about"));
}
TEST_P(ClientPixelsAgainstWine, NotationMenu) {
    Compare(Row("menu"));
}
TEST_P(ClientPixelsAgainstWine, ZoomWindow) {
    Compare(Row("zoom"));
}
TEST_P(ClientPixelsAgainstWine, SliderWindow) {
    Compare(Row("sliders"));
}
TEST_P(ClientPixelsAgainstWine, PaletteWindow) {
    Compare(Row("palette"));
}

// One run covers both programs; it needs Wine, so it is instantiated for the Windows build.
INSTANTIATE_TEST_SUITE_P(, ClientPixelsAgainstWine, ::testing::Values(Program::Windows),
                         ProgramName);

}  // namespace
}  // namespace x11test
