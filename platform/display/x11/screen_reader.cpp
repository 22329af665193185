#include "platform/display/x11/screen_reader.h"

#include "platform/display/x11/xlib.h"

#include <algorithm>
#include <bit>
#include <memory>

namespace display::x11 {

namespace {

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

Rect Union(const Rect& a, const Rect& b) {
    if (a.IsEmpty()) {
        return b;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

constexpr int kNativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

}  // namespace

ScreenReader::ScreenReader(Display* display, Window root, std::uint64_t refreshMs)
    : m_display(display), m_root(root), m_refreshMs(refreshMs) {
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    m_hasRandr = XRRQueryExtension(display, &m_randrEventBase, &errorBase) &&
                 XRRQueryVersion(display, &major, &minor);
    // Monitors arrived with RandR 1.5; CRTC and output events with 1.2.
    m_hasMonitors = m_hasRandr && (major > 1 || (major == 1 && minor >= 5));
    if (m_hasRandr) {
        const bool crtcs = major > 1 || (major == 1 && minor >= 2);
        XRRSelectInput(display, root,
                       RRScreenChangeNotifyMask |
                           (crtcs ? RRCrtcChangeNotifyMask | RROutputChangeNotifyMask : 0));
    }
}

bool ScreenReader::NoteEvent(XEvent& event) {
    if (!m_hasRandr || (event.type != m_randrEventBase + RRScreenChangeNotify &&
                        event.type != m_randrEventBase + RRNotify)) {
        return false;
    }
    // Keeps Xlib's idea of the screen's size (DisplayWidth, DisplayHeight) current.
    XRRUpdateConfiguration(&event);
    m_monitors.reset();
    return true;
}

Rect ScreenReader::RootRect() const {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(m_display, m_root, &attributes)) {
        return {};
    }
    return {0, 0, attributes.width, attributes.height};
}

const std::vector<Rect>& ScreenReader::Monitors(std::uint64_t nowMs) {
    if (m_monitors && nowMs - m_readMs < m_refreshMs) {
        return *m_monitors;
    }
    m_readMs = nowMs;
    const Rect root = RootRect();
    std::vector<Rect> monitors;
    if (m_hasMonitors) {
        int count = 0;
        XRRMonitorInfo* info = XRRGetMonitors(m_display, m_root, True, &count);
        for (int i = 0; i < count; ++i) {
            const Rect r{info[i].x, info[i].y, info[i].x + info[i].width,
                         info[i].y + info[i].height};
            if (const Rect inside = r.Intersect(root); !inside.IsEmpty()) {
                monitors.push_back(inside);
            }
        }
        if (info != nullptr) {
            XRRFreeMonitors(info);
        }
    }
    if (monitors.empty()) {
        monitors.push_back(root);
    }
    m_monitors = std::move(monitors);
    return *m_monitors;
}

Rect ScreenReader::Bounds(std::uint64_t nowMs) {
    Rect bounds;
    for (const Rect& monitor : Monitors(nowMs)) {
        bounds = Union(bounds, monitor);
    }
    return bounds;
}

void ScreenReader::Read(const Rect& area, std::span<std::uint32_t> pixels,
                        std::span<std::uint8_t> delivered, std::uint64_t nowMs) {
    if (area.IsEmpty()) {
        return;
    }
    const std::size_t count = std::size_t(area.Width()) * std::size_t(area.Height());
    if (pixels.size() < count || delivered.size() < count) {
        return;
    }
    if (m_lastRead && m_lastRead->ms == nowMs &&
        m_lastRead->nextRequest == NextRequest(m_display) &&
        m_lastRead->area.Intersect(area) == area) {
        const Rect& from = m_lastRead->area;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const std::size_t source = std::size_t(y - from.top) * std::size_t(from.Width()) +
                                           std::size_t(x - from.left);
                const std::size_t target = std::size_t(y - area.top) * std::size_t(area.Width()) +
                                           std::size_t(x - area.left);
                if (m_lastRead->delivered[source] != 0) {
                    pixels[target] = m_lastRead->pixels[source];
                    delivered[target] = 1;
                }
            }
        }
        return;
    }
    // XGetImage of a rectangle that leaves the root fails whole (BadMatch): read only what
    // lies on each monitor.
    for (const Rect& monitor : Monitors(nowMs)) {
        const Rect part = area.Intersect(monitor);
        if (!part.IsEmpty()) {
            ReadPart(part, area, pixels.data(), delivered.data());
        }
    }
    constexpr std::size_t kKeptPixels = 64 * 64;
    if (count > kKeptPixels) {
        m_lastRead.reset();
        return;
    }
    m_lastRead = LastRead{area,
                          {pixels.begin(), pixels.begin() + std::ptrdiff_t(count)},
                          {delivered.begin(), delivered.begin() + std::ptrdiff_t(count)},
                          nowMs,
                          NextRequest(m_display)};
}

void ScreenReader::ReadPart(const Rect& part, const Rect& area, std::uint32_t* pixels,
                            std::uint8_t* delivered) {
    const std::unique_ptr<XImage, ImageDeleter> image(
        XGetImage(m_display, m_root, part.left, part.top, unsigned(part.Width()),
                  unsigned(part.Height()), AllPlanes, ZPixmap));
    if (!image) {
        return;
    }
    const bool direct = image->bits_per_pixel == 32 && image->byte_order == kNativeByteOrder;
    for (int y = 0; y < part.Height(); ++y) {
        const std::size_t first =
            std::size_t(part.top - area.top + y) * area.Width() + (part.left - area.left);
        std::uint32_t* to = pixels + first;
        if (direct) {
            const auto* from =
                reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
            for (int x = 0; x < part.Width(); ++x) {
                to[x] = from[x] & 0x00FFFFFF;
            }
        } else {
            for (int x = 0; x < part.Width(); ++x) {
                to[x] = std::uint32_t(XGetPixel(image.get(), x, y)) & 0x00FFFFFF;
            }
        }
        std::fill(delivered + first, delivered + first + part.Width(), std::uint8_t{1});
    }
}

}  // namespace display::x11
