// A surface's pixels as the server last got them: the copy that answers Expose and the
// buffer Present puts from. In a MIT-SHM segment when the server shares our memory (then a
// put sends no pixels through the socket), else in an ordinary XImage.
#pragma once

#include "platform/display/x11/xlib.h"

#include "platform/display/backend.h"

namespace display::x11 {

class WindowImage {
public:
    // A black image of width x height (at least 1 x 1); shared memory only when useShm.
    WindowImage(Display* display, Visual* visual, int depth, int width, int height, bool useShm);
    ~WindowImage();
    WindowImage(const WindowImage&) = delete;
    WindowImage& operator=(const WindowImage&) = delete;

    int Width() const { return m_image->width; }
    int Height() const { return m_image->height; }
    bool IsShared() const { return m_shared; }

    // Copies area (image coordinates, clipped to both) from source into the copy; false when
    // the copy held those pixels already.
    bool CopyFrom(const PixelView& source, const Rect& area);
    // Sends area of the copy to the same place in drawable.
    void Put(Drawable drawable, GC gc, const Rect& area);

    // Whether the server accepts a segment from this client: false for a remote display or
    // one without the extension.
    static bool ServerSharesMemory(Display* display);

private:
    bool CreateShared(Visual* visual, int depth, int width, int height);
    void CreatePlain(Visual* visual, int depth, int width, int height);
    // The server may still read the segment for the last put; writing must wait for it.
    void SettleSharedPut();

    Display* m_display;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_segment{};
    bool m_shared = false;
    bool m_putPending = false;
    unsigned long m_putSerial = 0;  // of the last shared put
};

}  // namespace display::x11
