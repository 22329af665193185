// Figures for the X11 backend on a private Xvfb: screen reads of 1 x 1 and 21 x 21 pixels, and
// presenting a whole 202 x 200 surface, with MIT-SHM and with plain XPutImage. Each figure is
// the median of many runs, each run ending with the server done (XSync). A measurement, not a
// test: it never fails on time.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/display/x11/x11_backend.h"
#include "tests/x11/x_server.h"

namespace {

double NowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

double MedianMicroseconds(int runs, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NowMicroseconds();
        run();
        times.push_back(NowMicroseconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Measure(const std::string& displayName, bool sharedMemory) {
    display::X11Options options;
    options.displayName = displayName.c_str();
    options.allowSharedMemory = sharedMemory;
    std::string error;
    auto backend = display::X11Backend::Open(options, &error);
    if (!backend) {
        std::printf("cannot open %s: %s\n", displayName.c_str(), error.c_str());
        return;
    }
    Display* x = backend->XDisplay();
    const display::Rect bounds{100, 100, 302, 300};
    const display::SurfaceId id =
        backend->CreateSurface({bounds, display::SurfaceKind::Normal, 0, false, "timing"});
    backend->ShowSurface(id, true);
    XSync(x, False);
    backend->ProcessServerEvents(0);

    std::vector<std::uint32_t> image(std::size_t(bounds.Width()) * bounds.Height());
    const display::Rect all{0, 0, bounds.Width(), bounds.Height()};
    std::uint32_t colour = 0;
    const double present = MedianMicroseconds(500, [&] {
        std::fill(image.begin(), image.end(), colour += 0x010203);
        backend->Present(id, {image.data(), bounds.Width(), bounds.Height(), bounds.Width()},
                         {&all, 1});
        XSync(x, False);
    });

    std::vector<std::uint32_t> pixels(21 * 21);
    std::vector<std::uint8_t> delivered(21 * 21);
    const double read1 = MedianMicroseconds(2000, [&] {
        backend->ReadScreen({150, 150, 151, 151}, pixels, delivered);
    });
    const double read21 = MedianMicroseconds(2000, [&] {
        backend->ReadScreen({140, 140, 161, 161}, pixels, delivered);
    });
    // The reads ask for the monitors and the root's size each time; XGetImage alone is this.
    const Window root = DefaultRootWindow(x);
    const auto getImage = [&](unsigned size) {
        return MedianMicroseconds(2000, [&] {
            XDestroyImage(XGetImage(x, root, 140, 140, size, size, AllPlanes, ZPixmap));
        });
    };
    const double image1 = getImage(1);
    const double image21 = getImage(21);
    std::printf(
        "%-10s present 202x200: %6.1f us | ReadScreen 1x1: %6.1f us, 21x21: %6.1f us | "
        "XGetImage 1x1: %6.1f us, 21x21: %6.1f us\n",
        backend->UsesSharedMemory() ? "MIT-SHM" : "XPutImage", present, read1, read21, image1,
        image21);
}

}  // namespace

int main() {
    auto server = x11test::XServer::Start();
    if (!server) {
        std::printf("no Xvfb\n");
        return 1;
    }
    Measure(server->Name(), true);
    Measure(server->Name(), false);
    return 0;
}
