#include "support/picker_soak.h"

#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "picker/picker_dlg.h"
#include "resource.h"
#include "support/scroll_thumb.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TINTARO_SOAK_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TINTARO_SOAK_ASAN 1
#endif

#ifdef TINTARO_SOAK_ASAN
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

namespace soak {

std::size_t HeapInUse() {
#ifdef TINTARO_SOAK_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    // Large blocks (surfaces' pixels, bitmaps) are mapped apart from the arenas.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

std::string Describe(const winapi::ObjectCensus& c) {
    return "windows " + std::to_string(c.windows) + ", DCs " + std::to_string(c.deviceContexts) +
           ", GDI " + std::to_string(c.gdiObjects) + ", USER " + std::to_string(c.userObjects) +
           ", menus " + std::to_string(c.menus) + ", icons " + std::to_string(c.icons);
}

bool HeapFigureIsExact() {
#ifdef TINTARO_SOAK_ASAN
    return true;
#else
    return false;
#endif
}

const char* NameOf(Action action) {
    static constexpr const char* kNames[] = {
        "pointer move", "Space",           "arrow key",      "slider arrow",     "slider page",
        "slider drag",  "slider transfer", "palette swatch", "palette mode",     "notation",
        "copy",         "tool button",     "tool close box", "minimise/restore", "main window drag",
        "About box",
    };
    static_assert(std::size(kNames) == static_cast<std::size_t>(Action::kCount));
    return kNames[static_cast<std::size_t>(action)];
}

namespace {

constexpr char kMainTitle[] = "Tintaro LE";
constexpr char kAboutTitle[] = "Tintaro LE 1.2 について ...";

struct Tool {
    const char* title;
    int button;  // the main window's button that opens and closes it
};
constexpr Tool kTools[] = {
    {"ズーム", IDC_ZOOM}, {"カラーダイアログ", IDC_SLIDERS}, {"パレット", IDC_PALETTE}};
enum ToolIndex { kZoom, kSliders, kPalette };

constexpr int kBars[] = {IDC_SLIDER_RED, IDC_SLIDER_GREEN, IDC_SLIDER_BLUE};
constexpr int kSwatches[] = {
    IDC_SWATCH_00, IDC_SWATCH_01, IDC_SWATCH_02, IDC_SWATCH_03, IDC_SWATCH_04, IDC_SWATCH_05,
    IDC_SWATCH_06, IDC_SWATCH_07, IDC_SWATCH_08, IDC_SWATCH_09, IDC_SWATCH_10, IDC_SWATCH_11,
    IDC_SWATCH_12, IDC_SWATCH_13, IDC_SWATCH_14, IDC_SWATCH_15, IDC_SWATCH_16, IDC_SWATCH_17,
    IDC_SWATCH_18, IDC_SWATCH_19, IDC_SWATCH_20, IDC_SWATCH_21, IDC_SWATCH_22, IDC_SWATCH_23,
    IDC_SWATCH_24, IDC_SWATCH_25, IDC_SWATCH_26, IDC_SWATCH_27, IDC_SWATCH_28, IDC_SWATCH_29,
    IDC_SWATCH_30, IDC_SWATCH_31, IDC_SWATCH_32, IDC_SWATCH_33, IDC_SWATCH_34, IDC_SWATCH_35,
    IDC_SWATCH_36, IDC_SWATCH_37, IDC_SWATCH_38, IDC_SWATCH_39, IDC_SWATCH_40, IDC_SWATCH_41,
    IDC_SWATCH_42, IDC_SWATCH_43, IDC_SWATCH_44, IDC_SWATCH_45, IDC_SWATCH_46, IDC_SWATCH_47,
    IDC_SWATCH_48,
};

// How often each action is chosen, relative to the others.
struct Weighted {
    Action action;
    int weight;
};
constexpr Weighted kMix[] = {
    {Action::MovePointer, 20},   {Action::Space, 10},
    {Action::Arrow, 10},         {Action::SliderArrow, 6},
    {Action::SliderPage, 6},     {Action::SliderDrag, 5},
    {Action::SliderTransfer, 2}, {Action::PaletteSwatch, 8},
    {Action::PaletteMode, 3},    {Action::Notation, 4},
    {Action::Copy, 4},           {Action::ToolButton, 4},
    {Action::ToolCloseBox, 3},   {Action::MinimiseRestore, 2},
    {Action::MoveMain, 2},       {Action::About, 1},
};
static_assert(std::size(kMix) == static_cast<std::size_t>(Action::kCount));

POINT CentreOf(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
RECT ScreenRectOf(HWND window, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(window, id), &rect);
    return rect;
}

// A point of a non-client part of a window (HTCLOSE, HTMINBUTTON, HTCAPTION), found as the
// pointer would: by asking the window what lies under each point of its top rows.
std::optional<POINT> FindNonClientPart(HWND hwnd, LRESULT part) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    // Only where no other window covers it: the pointer would press that window instead.
    const auto at = [&](int x, int y) {
        return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == part &&
               WindowFromPoint(POINT{x, y}) == hwnd;
    };
    for (int y = r.top; y < std::min<LONG>(r.bottom, r.top + 40); ++y)
        for (int x = r.right - 1; x >= r.left; --x)
            if (at(x, y))
                return at(x - 4, y + 4) ? POINT{x - 4, y + 4} : POINT{x, y};
    return std::nullopt;
}

class ScriptedUser {
public:
    ScriptedUser(display::HeadlessBackend& display, CPickerDlg& main, const Options& options,
                 Report& report)
        : m_display(display),
          m_main(main),
          m_options(options),
          m_report(report),
          m_random(options.seed) {}

    void OnIdle();
    std::uint64_t TicksRun() const {
        return m_started ? (m_display.Clock() - m_start) / kTickMs : 0;
    }

private:
    using Step = std::function<void()>;

    std::uint64_t Now() const { return m_display.Clock(); }
    int Uniform(int low, int high) {  // both included
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

    // Queues a step afterMs after the last one queued (after now when none is).
    void Then(std::uint64_t afterMs, Step step) {
        const std::uint64_t from = m_steps.empty() ? Now() : m_steps.back().first;
        m_steps.emplace_back(from + afterMs, std::move(step));
    }
    void Plan();
    void Start();
    bool Begin(Action action);
    void Settle(int attemptsLeft = 40);
    void Record();
    void Sample() { m_report.peakHeap = std::max(m_report.peakHeap, HeapInUse()); }

    HWND Main() const { return m_main.m_hWnd; }
    bool MainUsable() const {
        return IsWindow(Main()) && !IsIconic(Main()) && IsWindowEnabled(Main());
    }
    static HWND ToolWindow(int tool) {
        const HWND hwnd = FindWindowA(nullptr, kTools[tool].title);
        return hwnd != nullptr && IsWindowVisible(hwnd) ? hwnd : nullptr;
    }
    display::SurfaceId MainSurface() const {
        for (const display::SurfaceId id : m_display.SurfacesTopToBottom())
            if (const display::SurfaceInfo* info = m_display.FindSurface(id);
                info != nullptr && info->title == kMainTitle)
                return id;
        return 0;
    }
    void ClickAt(POINT at, display::MouseButton button = display::MouseButton::Left) {
        m_display.Click(button, {at.x, at.y});
    }
    void ClickOn(HWND window, int id) { ClickAt(CentreOf(ScreenRectOf(window, id))); }
    // A spot of the main window's client area with no control on it.
    POINT FreeSpotOfMain() const {
        RECT client{};
        GetClientRect(Main(), &client);
        POINT at{client.right - 3, client.bottom / 2};
        ClientToScreen(Main(), &at);
        return at;
    }

    display::HeadlessBackend& m_display;
    CPickerDlg& m_main;
    const Options& m_options;
    Report& m_report;
    std::mt19937 m_random;

    bool m_started = false;
    bool m_ended = false;
    std::uint64_t m_start = 0;
    int m_nextCheckpoint = 1;
    std::deque<std::pair<std::uint64_t, Step>> m_steps;
};

void ScriptedUser::OnIdle() {
    if (!m_started)
        Start();
    if (m_steps.empty() && !m_ended)
        Plan();
    while (!m_steps.empty() && m_steps.front().first <= Now() &&
           m_display.PendingEventCount() == 0) {
        const Step step = std::move(m_steps.front().second);
        m_steps.pop_front();
        step();
        Sample();
    }
    if (m_display.PendingEventCount() != 0)
        return;
    // Move time on to the next step, but no further than the program's next timer, so every
    // tick comes when it is due.
    std::uint64_t target = m_steps.empty() ? Now() + 1 : m_steps.front().first;
    if (const auto deadline = m_display.IdleDeadline())
        target = std::min(target, *deadline);
    if (target > Now())
        m_display.Advance(target - Now());
}

// The desktop a patchwork of colours, so that the pointer samples something new as it moves;
// then every tool window opened and the start recorded.
void ScriptedUser::Start() {
    m_started = true;
    m_start = Now();
    const display::Rect screen = m_display.ScreenBounds();
    constexpr int kPatch = 80;
    for (int y = screen.top; y < screen.bottom; y += kPatch)
        for (int x = screen.left; x < screen.right; x += kPatch)
            m_display.FillDesktop({x, y, x + kPatch, y + kPatch},
                                  static_cast<std::uint32_t>(m_random()) & 0xFFFFFF);
    Settle();
}

void ScriptedUser::Plan() {
    // The display keeps every rectangle presented for tests that look at them; over a long run
    // that record would be the largest thing growing, and it is not the program's.
    m_display.ClearPresentRecords();
    const std::uint64_t length = m_options.ticks * kTickMs;
    const int count = std::max(1, m_options.checkpoints);
    const std::uint64_t checkpointAt = m_start + length * m_nextCheckpoint / count;
    if (Now() >= checkpointAt) {
        m_ended = m_nextCheckpoint++ == count;
        Settle();
        return;
    }
    int total = 0;
    for (const Weighted& w : kMix)
        total += w.weight;
    int pick = Uniform(1, total);
    Action action = Action::MovePointer;
    for (const Weighted& w : kMix) {
        if ((pick -= w.weight) <= 0) {
            action = w.action;
            break;
        }
    }
    if (!Begin(action)) {
        action = Action::MovePointer;
        Begin(action);
    }
    ++m_report.actions[static_cast<std::size_t>(action)];
    // The user's pause before the next action: often within a tick, sometimes several.
    Then(static_cast<std::uint64_t>(Chance(80) ? Uniform(5, 150) : Uniform(150, 1500)), [] {});
}

// Queues the action's steps; false when it cannot be done now (its window is closed or the
// main window is minimised).
bool ScriptedUser::Begin(Action action) {
    switch (action) {
        case Action::MovePointer: {
            // Half the moves go over one of our windows, the others anywhere on the screen.
            RECT area{};
            const HWND over = ToolWindow(Uniform(0, 2));
            if (Chance(50) && over != nullptr) {
                GetWindowRect(over, &area);
            } else {
                const display::Rect s = m_display.ScreenBounds();
                area = {s.left, s.top, s.right, s.bottom};
            }
            const POINT to{Uniform(area.left, area.right - 1), Uniform(area.top, area.bottom - 1)};
            Then(0, [this, to] { m_display.MovePointer(to.x, to.y); });
            return true;
        }
        case Action::Space:
            Then(0, [this] { m_display.Press(VK_SPACE, " "); });
            return true;
        case Action::Arrow: {
            static constexpr int kArrows[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
            const int vk = kArrows[Uniform(0, 3)];
            Then(0, [this, vk] { m_display.Press(vk); });
            return true;
        }
        case Action::SliderArrow:
        case Action::SliderPage:
        case Action::SliderDrag: {
            const HWND sliders = ToolWindow(kSliders);
            if (sliders == nullptr)
                return false;
            const HWND bar = GetDlgItem(sliders, kBars[Uniform(0, 2)]);
            RECT r{};
            GetWindowRect(bar, &r);
            const int arrow = GetSystemMetrics(SM_CXHSCROLL);
            const int y = (r.top + r.bottom) / 2;
            if (action == Action::SliderArrow) {
                const POINT at =
                    Chance(50) ? POINT{r.left + arrow / 2, y} : POINT{r.right - arrow / 2, y};
                Then(0, [this, at] { ClickAt(at); });
                return true;
            }
            if (action == Action::SliderPage) {
                // A click in the track, or a press held there long enough to repeat.
                const POINT at{Uniform(r.left + arrow, r.right - arrow - 1), y};
                if (Chance(70)) {
                    Then(0, [this, at] { ClickAt(at); });
                } else {
                    Then(0, [this, at] {
                        m_display.ButtonDown(display::MouseButton::Left,
                                             display::Point{at.x, at.y});
                    });
                    Then(static_cast<std::uint64_t>(Uniform(100, 900)),
                         [this] { m_display.ButtonUp(display::MouseButton::Left); });
                }
                return true;
            }
            const std::optional<POINT> thumb = ThumbOnScreen(m_display, bar);
            if (!thumb)
                return false;
            Then(0, [this, at = *thumb] {
                m_display.ButtonDown(display::MouseButton::Left, display::Point{at.x, at.y});
            });
            const int moves = Uniform(1, 4);
            for (int i = 0; i < moves; ++i) {
                const POINT to{Uniform(r.left - 20, r.right + 20), y + Uniform(-15, 15)};
                Then(static_cast<std::uint64_t>(Uniform(1, 60)),
                     [this, to] { m_display.MovePointer(to.x, to.y); });
            }
            Then(static_cast<std::uint64_t>(Uniform(1, 60)),
                 [this] { m_display.ButtonUp(display::MouseButton::Left); });
            return true;
        }
        case Action::SliderTransfer: {
            const HWND sliders = ToolWindow(kSliders);
            if (sliders == nullptr)
                return false;
            Then(0, [this, sliders] { ClickOn(sliders, IDC_TRANSFER); });
            return true;
        }
        case Action::PaletteSwatch:
        case Action::PaletteMode: {
            const HWND palette = ToolWindow(kPalette);
            if (palette == nullptr)
                return false;
            const int id = action == Action::PaletteSwatch
                               ? kSwatches[Uniform(0, static_cast<int>(std::size(kSwatches)) - 1)]
                               : (Chance(50) ? IDC_PALETTE_COPY : IDC_PALETTE_REGISTER);
            Then(0, [this, palette, id] { ClickOn(palette, id); });
            return true;
        }
        case Action::Notation: {
            if (!MainUsable())
                return false;
            Then(0, [this] { ClickAt(FreeSpotOfMain(), display::MouseButton::Right); });
            // From no selection, Down selects the first item; four notations, then the
            // separator (skipped) and always-on-top. Now and then the menu is dismissed.
            const int downs = Uniform(0, 5);
            Then(static_cast<std::uint64_t>(Uniform(10, 400)), [this, downs] {
                if (downs == 0) {
                    m_display.Press(VK_ESCAPE);
                    return;
                }
                for (int i = 0; i < downs; ++i)
                    m_display.Press(VK_DOWN);
                m_display.Press(VK_RETURN);
            });
            return true;
        }
        case Action::Copy:
            if (!MainUsable())
                return false;
            Then(0, [this] { ClickOn(Main(), IDC_COPY); });
            return true;
        case Action::ToolButton: {
            if (!MainUsable())
                return false;
            const int button = kTools[Uniform(0, 2)].button;
            Then(0, [this, button] { ClickOn(Main(), button); });
            if (Chance(50))
                Then(static_cast<std::uint64_t>(Uniform(50, 1000)),
                     [this, button] { ClickOn(Main(), button); });
            return true;
        }
        case Action::ToolCloseBox: {
            const HWND tool = ToolWindow(Uniform(0, 2));
            if (tool == nullptr)
                return false;
            const std::optional<POINT> box = FindNonClientPart(tool, HTCLOSE);
            if (!box)
                return false;
            Then(0, [this, at = *box] { ClickAt(at); });
            return true;
        }
        case Action::MinimiseRestore: {
            if (!MainUsable())
                return false;
            const std::optional<POINT> box = FindNonClientPart(Main(), HTMINBUTTON);
            if (!box)
                return false;
            Then(0, [this, at = *box] { ClickAt(at); });
            Then(static_cast<std::uint64_t>(Uniform(100, 2000)),
                 [this] { m_display.RestoreByUser(MainSurface()); });
            return true;
        }
        case Action::MoveMain: {
            // A drag by the caption to a place where the whole window stays on the screen.
            if (!MainUsable())
                return false;
            const std::optional<POINT> caption = FindNonClientPart(Main(), HTCAPTION);
            if (!caption)
                return false;
            RECT r{};
            GetWindowRect(Main(), &r);
            const display::Rect s = m_display.ScreenBounds();
            const POINT to{caption->x + Uniform(s.left, s.right - (r.right - r.left)) - r.left,
                           caption->y + Uniform(s.top, s.bottom - (r.bottom - r.top)) - r.top};
            Then(0, [this, at = *caption] {
                m_display.ButtonDown(display::MouseButton::Left, display::Point{at.x, at.y});
            });
            Then(static_cast<std::uint64_t>(Uniform(1, 60)),
                 [this, to] { m_display.MovePointer(to.x, to.y); });
            Then(static_cast<std::uint64_t>(Uniform(1, 60)),
                 [this] { m_display.ButtonUp(display::MouseButton::Left); });
            return true;
        }
        case Action::About:
            if (!MainUsable())
                return false;
            // The main window takes the keys first, then Alt+Space opens its system menu, where
            // Up from no selection chooses the last item, About. A press in it closes it.
            Then(0, [this] { ClickAt(FreeSpotOfMain()); });
            Then(1, [this] {
                m_display.KeyDown(VK_MENU);
                m_display.KeyDown(VK_SPACE, " ");
                m_display.KeyUp(VK_SPACE);
                m_display.KeyUp(VK_MENU);
            });
            Then(1, [this] {
                m_display.Press(VK_UP);
                m_display.Press(VK_RETURN);
            });
            Then(static_cast<std::uint64_t>(Uniform(50, 1500)), [this] {
                if (const HWND about = FindWindowA(nullptr, kAboutTitle)) {
                    RECT r{};
                    GetWindowRect(about, &r);
                    ClickAt(CentreOf(r));
                }
            });
            return true;
        case Action::kCount:
            break;
    }
    return false;
}

// Brings every window back to the start, one correction per step: the About box closed, the
// main window restored, every tool window open through its button, the main window first
// dragged elsewhere when a tool window covers that button. Then, two ticks later for everything
// to be painted, the checkpoint is recorded (and the run ended after the last). A state it could
// not reach in a few dozen steps is recorded as it is, for the caller to see.
void ScriptedUser::Settle(int attemptsLeft) {
    Then(1, [this, attemptsLeft] {
        const auto again = [this, attemptsLeft] { Settle(attemptsLeft - 1); };
        if (attemptsLeft > 0) {
            if (const HWND about = FindWindowA(nullptr, kAboutTitle)) {
                RECT r{};
                GetWindowRect(about, &r);
                ClickAt(CentreOf(r));
                return again();
            }
            if (IsIconic(Main())) {
                m_display.RestoreByUser(MainSurface());
                return again();
            }
            for (int tool = 0; tool < static_cast<int>(std::size(kTools)); ++tool) {
                if (ToolWindow(tool) != nullptr)
                    continue;
                const HWND button = GetDlgItem(Main(), kTools[tool].button);
                RECT r{};
                GetWindowRect(button, &r);
                if (WindowFromPoint(CentreOf(r)) == button)
                    ClickAt(CentreOf(r));
                else
                    Begin(Action::MoveMain);
                return again();
            }
        }
        Then(2 * kTickMs, [this] {
            Record();
            if (m_ended)
                Then(1, [this] { m_main.EndDialog(IDCANCEL); });
        });
    });
}

void ScriptedUser::Record() {
    Checkpoint checkpoint;
    checkpoint.tick = (Now() - m_start) / kTickMs;
    for (int tool = 0; tool < static_cast<int>(std::size(kTools)); ++tool)
        checkpoint.toolWindowsShown += ToolWindow(tool) != nullptr ? 1 : 0;
    checkpoint.objects = winapi::TakeObjectCensus();
    // The totals as Win32 reports them, which the census holds as well.
    checkpoint.objects.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    checkpoint.objects.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    checkpoint.heapInUse = HeapInUse();
    m_report.checkpoints.push_back(checkpoint);
}

}  // namespace

Report Run(display::HeadlessBackend& display, CPickerDlg& main, const Options& options) {
    Report report;
    report.checkpoints.reserve(static_cast<std::size_t>(std::max(1, options.checkpoints)) + 1);
    CWinApp* app = AfxGetApp();
    CWnd* previousMain = app->m_pMainWnd;
    app->m_pMainWnd = &main;
    ScriptedUser user(display, main, options, report);
    display.SetIdleHandler([&user] { user.OnIdle(); });
    report.endCode = static_cast<int>(main.DoModal());
    display.SetIdleHandler(nullptr);
    app->m_pMainWnd = previousMain;
    report.ticks = user.TicksRun();
    return report;
}

}  // namespace soak
