// The picker on the headless display for a long run with its zoom, slider and palette windows
// open and a scripted user at it (tests/support/picker_soak.h): prints what the session holds
// at the start, at each checkpoint and at the end, the heap then and at its peak, and how fast
// virtual time went.
//
//   soak_bench [--ticks N] [--seed S] [--checkpoints C]     (100000 ticks, seed 1, 10 by default)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "picker/picker_dlg.h"
#include "platform/display/headless/headless_backend.h"
#include "platform/framework/message_loop.h"
#include "platform/winapi/host.h"
#include "support/picker_soak.h"

namespace {

bool ReadNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

void PrintRow(const char* label, std::uint64_t tick, const winapi::ObjectCensus& c,
              std::size_t heap) {
    std::printf("%-10s %8llu %8zu %5zu %5zu %5zu %6zu %6zu %10.1f\n", label,
                static_cast<unsigned long long>(tick), c.windows, c.deviceContexts, c.gdiObjects,
                c.userObjects, c.menus, c.icons, static_cast<double>(heap) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    soak::Options options;
    for (int i = 1; i < argc; ++i) {
        unsigned long long value = 0;
        if (i + 1 < argc && ReadNumber(argv[i + 1], value) && value > 0) {
            if (std::strcmp(argv[i], "--ticks") == 0) {
                options.ticks = value;
                ++i;
                continue;
            }
            if (std::strcmp(argv[i], "--seed") == 0) {
                options.seed = static_cast<std::uint32_t>(value);
                ++i;
                continue;
            }
            if (std::strcmp(argv[i], "--checkpoints") == 0 && value <= 1000) {
                options.checkpoints = static_cast<int>(value);
                ++i;
                continue;
            }
        }
        std::fprintf(stderr, "usage: %s [--ticks N] [--seed S] [--checkpoints C]\n", argv[0]);
        return 2;
    }

    std::ifstream in(TINTARO_RES_FILE, std::ios::binary);
    const std::vector<char> resources(std::istreambuf_iterator<char>(in), {});
    if (resources.empty()) {
        std::fprintf(stderr, "soak_bench: cannot read %s\n", TINTARO_RES_FILE);
        return 1;
    }

    auto* display = new display::HeadlessBackend();
    winapi::Session session{std::unique_ptr<display::Backend>(display)};
    winapi::SetModuleResources(std::as_bytes(std::span(resources)));

    const winapi::ObjectCensus before = winapi::TakeObjectCensus();
    const std::size_t heapBefore = soak::HeapInUse();
    const auto started = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();
    soak::Report report;
    {
        CPickerDlg main;
        report = soak::Run(*display, main, options);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    framework::DeleteTemporaryWrappers();

    std::printf("soak: %llu ticks of %llu ms, seed %u\n",
                static_cast<unsigned long long>(report.ticks),
                static_cast<unsigned long long>(soak::kTickMs), options.seed);
    std::printf("%-10s %8s %8s %5s %5s %5s %6s %6s %10s\n", "", "tick", "windows", "DCs", "GDI",
                "USER", "menus", "icons", "heap KiB");
    PrintRow("before", 0, before, heapBefore);
    for (std::size_t i = 0; i < report.checkpoints.size(); ++i) {
        const soak::Checkpoint& c = report.checkpoints[i];
        PrintRow(i == 0 ? "start" : "checkpoint", c.tick, c.objects, c.heapInUse);
    }
    PrintRow("after", report.ticks, winapi::TakeObjectCensus(), soak::HeapInUse());
    std::printf("peak heap: %.1f KiB (%s)\n", static_cast<double>(report.peakHeap) / 1024.0,
                soak::HeapFigureIsExact()
                    ? "the sanitizer's exact figure"
                    : "glibc's in-use figure, its cache of freed chunks included");
    if (report.checkpoints.size() >= 2) {
        const long long growth = static_cast<long long>(report.checkpoints.back().heapInUse) -
                                 static_cast<long long>(report.checkpoints[1].heapInUse);
        std::printf("heap from the first checkpoint to the last: %+lld bytes\n", growth);
    }
    std::uint64_t actions = 0;
    for (std::size_t a = 0; a < report.actions.size(); ++a) {
        std::printf("  %-18s %8llu\n", soak::NameOf(static_cast<soak::Action>(a)),
                    static_cast<unsigned long long>(report.actions[a]));
        actions += report.actions[a];
    }
    // On a shared machine the wall time includes other processes' turns; the CPU time is this
    // run's own.
    std::printf("actions: %llu; main window ended with %d\n",
                static_cast<unsigned long long>(actions), report.endCode);
    std::printf("wall time %.2f s (%.0f ticks/s); CPU time %.2f s (%.0f ticks per CPU second)\n",
                seconds, seconds > 0 ? static_cast<double>(report.ticks) / seconds : 0.0,
                cpuSeconds, cpuSeconds > 0 ? static_cast<double>(report.ticks) / cpuSeconds : 0.0);
    return 0;
}
