// A long run of the picker on the headless display with its zoom, slider and palette windows
// open and a scripted user acting between the ticks: pointer moves, Space, arrows, clicks on the
// slider bars and palette swatches, notation changes through the right-click menu, copying,
// tool windows closed and reopened, the main window minimised, restored and dragged by its
// caption, the About box. A
// seeded generator orders the actions, so one run covers many orders and the same seed gives
// the same run. At checkpoints the user brings every window back to the start (all three tool
// windows open, nothing else) and the run records what the session holds and the heap in use.
// Shared by the soak test (a bounded run) and the soak bench (the full length).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/headless/headless_backend.h"
#include "platform/winapi/host.h"

class CPickerDlg;

namespace soak {

// "windows 12, DCs 0, GDI 40, USER 30, menus 5, icons 2": a census as a line of text.
std::string Describe(const winapi::ObjectCensus& census);

// One tick is one period of the picker's sampling timer.
constexpr std::uint64_t kTickMs = 100;

// Bytes the heap holds for the program: the allocator's in-use figure (the sanitizer's own
// allocator in a sanitized build, where glibc's arenas hold nothing of the program).
std::size_t HeapInUse();
// Whether HeapInUse counts exactly the bytes the program holds. glibc's figure also counts the
// freed small chunks its per-thread cache keeps for reuse (up to seven of each size); that cache
// fills as new sizes come up, a bounded growth of some tens of KiB over a long run that is no leak.
bool HeapFigureIsExact();

enum class Action {
    MovePointer,
    Space,
    Arrow,
    SliderArrow,
    SliderPage,
    SliderDrag,
    SliderTransfer,
    PaletteSwatch,
    PaletteMode,
    Notation,
    Copy,
    ToolButton,
    ToolCloseBox,
    MinimiseRestore,
    MoveMain,
    About,
    kCount
};
const char* NameOf(Action action);

struct Options {
    std::uint64_t ticks = 100'000;  // virtual time of the run, in ticks
    std::uint32_t seed = 1;
    int checkpoints = 10;  // besides the one at the start, evenly spread, the last at the end
};

// What the session holds at one checkpoint, with every window back at the start.
struct Checkpoint {
    std::uint64_t tick = 0;
    int toolWindowsShown = 0;
    winapi::ObjectCensus objects;
    std::size_t heapInUse = 0;
};

struct Report {
    std::vector<Checkpoint> checkpoints;  // the first with the tool windows just opened
    std::size_t peakHeap = 0;             // the most HeapInUse seen between actions
    std::array<std::uint64_t, static_cast<std::size_t>(Action::kCount)> actions{};
    std::uint64_t ticks = 0;  // virtual time run, in ticks
    int endCode = 0;          // what the main window's DoModal returned
};

// Runs main modally on display (whose session is the current one) for the options' length and
// ends it. The display's idle handler is the user's for the run and is removed after; the
// application's main window is main during it.
Report Run(display::HeadlessBackend& display, CPickerDlg& main, const Options& options);

}  // namespace soak
