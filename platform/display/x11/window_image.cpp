#include "platform/display/x11/window_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "platform/display/x11/error_trap.h"

namespace display::x11 {

namespace {

constexpr int kNativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

}  // namespace

WindowImage::WindowImage(Display* display, Visual* visual, int depth, int width, int height,
                         bool useShm)
    : m_display(display) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!useShm || !CreateShared(visual, depth, width, height)) {
        CreatePlain(visual, depth, width, height);
    }
}

WindowImage::~WindowImage() {
    if (m_shared) {
        XShmDetach(m_display, &m_segment);
        XSync(m_display, False);
        m_image->data = nullptr;
        XDestroyImage(m_image);
        shmdt(m_segment.shmaddr);
        return;
    }
    XDestroyImage(m_image);  // frees the pixel buffer too
}

bool WindowImage::CreateShared(Visual* visual, int depth, int width, int height) {
    XImage* image = XShmCreateImage(m_display, visual, unsigned(depth), ZPixmap, nullptr,
                                    &m_segment, unsigned(width), unsigned(height));
    if (image == nullptr) {
        return false;
    }
    const std::size_t size = std::size_t(image->bytes_per_line) * std::size_t(height);
    m_segment.shmid = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (m_segment.shmid < 0) {
        XDestroyImage(image);
        return false;
    }
    m_segment.shmaddr = static_cast<char*>(shmat(m_segment.shmid, nullptr, 0));
    if (m_segment.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(m_segment.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        return false;
    }
    image->data = m_segment.shmaddr;
    m_segment.readOnly = False;
    ErrorTrap trap(m_display);
    XShmAttach(m_display, &m_segment);
    const bool failed = trap.Caught();
    // Marked for removal once both sides are attached: it goes away with the last detach,
    // even if this process dies without cleaning up.
    shmctl(m_segment.shmid, IPC_RMID, nullptr);
    if (failed) {
        image->data = nullptr;
        XDestroyImage(image);
        shmdt(m_segment.shmaddr);
        return false;
    }
    std::memset(image->data, 0, size);
    m_image = image;
    m_shared = true;
    return true;
}

void WindowImage::CreatePlain(Visual* visual, int depth, int width, int height) {
    const std::size_t size = std::size_t(width) * std::size_t(height) * 4;
    char* data = static_cast<char*>(std::calloc(size, 1));
    m_image = XCreateImage(m_display, visual, unsigned(depth), ZPixmap, 0, data, unsigned(width),
                           unsigned(height), 32, width * 4);
    // Our pixels are host-order 32-bit words; Xlib swaps them on the way if the server's
    // order differs.
    m_image->byte_order = kNativeByteOrder;
}

void WindowImage::SettleSharedPut() {
    if (!m_putPending) {
        return;
    }
    // The server reads the segment while it processes the put; a reply or event to any later
    // request (a tick's pointer query or screen read) shows that is over, without a round trip.
    if (LastKnownRequestProcessed(m_display) < m_putSerial) {
        XSync(m_display, False);
    }
    m_putPending = false;
}

bool WindowImage::CopyFrom(const PixelView& source, const Rect& area) {
    const Rect r =
        area.Intersect({0, 0, Width(), Height()}).Intersect({0, 0, source.width, source.height});
    if (r.IsEmpty() || source.pixels == nullptr) {
        return false;
    }
    const auto row = [&](int y) {
        return reinterpret_cast<std::uint32_t*>(m_image->data +
                                                std::size_t(y) * m_image->bytes_per_line) +
               r.left;
    };
    int y = r.top;
    // Reading the copy needs no settling: the server only reads it too.
    while (y < r.bottom && std::equal(row(y), row(y) + r.Width(),
                                      source.pixels + std::size_t(y) * source.stride + r.left)) {
        ++y;
    }
    if (y == r.bottom) {
        return false;
    }
    SettleSharedPut();
    for (; y < r.bottom; ++y) {
        const std::uint32_t* from = source.pixels + std::size_t(y) * source.stride + r.left;
        std::copy(from, from + r.Width(), row(y));
    }
    return true;
}

void WindowImage::Put(Drawable drawable, GC gc, const Rect& area) {
    const Rect r = area.Intersect({0, 0, Width(), Height()});
    if (r.IsEmpty()) {
        return;
    }
    if (m_shared) {
        m_putSerial = NextRequest(m_display);
        XShmPutImage(m_display, drawable, gc, m_image, r.left, r.top, r.left, r.top,
                     unsigned(r.Width()), unsigned(r.Height()), False);
        m_putPending = true;
        return;
    }
    XPutImage(m_display, drawable, gc, m_image, r.left, r.top, r.left, r.top, unsigned(r.Width()),
              unsigned(r.Height()));
}

bool WindowImage::ServerSharesMemory(Display* display) {
    if (!XShmQueryExtension(display) || ImageByteOrder(display) != kNativeByteOrder) {
        return false;
    }
    // The extension answers a remote client too; only an attach shows the memory is shared.
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    const int depth = DefaultDepth(display, DefaultScreen(display));
    WindowImage probe(display, visual, depth, 1, 1, true);
    return probe.IsShared();
}

}  // namespace display::x11
