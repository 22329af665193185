// The picker left running with every window open and a user at it for a good while: what it
// holds comes back to where it was, and its heap does not grow.
#include <string>

#include "picker/picker_dlg.h"
#include "picker_test.h"
#include "support/picker_soak.h"

namespace {

// Long enough for every action to come up many times in many orders; short enough for the
// sanitizer build (the full length is the soak bench's).
constexpr std::uint64_t kTicks = 6'000;
constexpr int kCheckpoints = 6;
// The heap may differ this much between the first checkpoint after the warm-up and the last.
// What the layer caches for good (rendered glyphs and character widths, font matches, the icon
// LoadIcon shares, the GDI handle table's free slots) fills during the warm-up; after it only
// texts of varying length (the output, the clipboard, the value texts) move the exact figure of
// a sanitized build. glibc's figure also holds its cache of freed chunks, which fills slowly.
// A string or buffer leaked every tick or two would exceed either.
std::size_t HeapAllowance() {
    return soak::HeapFigureIsExact() ? 8 * 1024 : 48 * 1024;
}

class SoakTest : public PickerTest {};

// At every checkpoint (all three tool windows open again, nothing else), the windows, DCs, GDI
// and USER objects and menus are those of the start; the heap after the warm-up stays put; the
// run ends as the user ended it, having done everything the script can do; and once the main
// window is gone, no window, DC or menu is left.
TEST_F(SoakTest, EverythingComesBackWithEveryWindowOpenAndTheHeapDoesNotGrow) {
    const winapi::ObjectCensus before = winapi::TakeObjectCensus();
    soak::Report report;
    {
        CPickerDlg main;
        report = soak::Run(Display(), main, {kTicks, 20261207, kCheckpoints});
    }
    EXPECT_EQ(IDCANCEL, report.endCode);
    EXPECT_GE(report.ticks, kTicks);
    ASSERT_EQ(static_cast<std::size_t>(kCheckpoints) + 1, report.checkpoints.size());

    const soak::Checkpoint& start = report.checkpoints.front();
    for (const soak::Checkpoint& checkpoint : report.checkpoints) {
        EXPECT_EQ(3, checkpoint.toolWindowsShown) << "at tick " << checkpoint.tick;
        EXPECT_EQ(soak::Describe(start.objects), soak::Describe(checkpoint.objects))
            << "at tick " << checkpoint.tick;
    }

    const soak::Checkpoint& warm = report.checkpoints[1];
    const soak::Checkpoint& end = report.checkpoints.back();
    EXPECT_LE(end.heapInUse, warm.heapInUse + HeapAllowance())
        << "heap grew from " << warm.heapInUse << " at tick " << warm.tick << " to "
        << end.heapInUse << " at tick " << end.tick;

    for (std::size_t a = 0; a < report.actions.size(); ++a)
        EXPECT_GT(report.actions[a], 0u) << soak::NameOf(static_cast<soak::Action>(a));

    // Only the main window's icon stays: LoadIcon shares it, and keeps it as long as the module.
    winapi::ObjectCensus expected = before;
    ++expected.icons;
    ++expected.gdiObjects;
    ++expected.userObjects;
    EXPECT_EQ(soak::Describe(expected), soak::Describe(winapi::TakeObjectCensus()));
}

}  // namespace
