#include "platform/winapi/gdi/source_image.h"

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/host.h"

namespace winapi::gdi {

std::optional<SourceImage> SourceImage::Read(const DeviceContext& source,
                                             const display::Rect& area) {
    SourceImage image;
    if (source.IsMemory()) {
        const Bitmap* bitmap = source.CurrentBitmap();
        if (bitmap == nullptr)
            return std::nullopt;
        const Surface& pixels = bitmap->Pixels();
        image.m_monochrome = bitmap->IsMonochrome();
        image.m_read = area.Intersect(pixels.Bounds());
        image.m_pixels.reserve(static_cast<std::size_t>(image.m_read.Width()) *
                               static_cast<std::size_t>(image.m_read.Height()));
        for (int y = image.m_read.top; y < image.m_read.bottom; ++y)
            image.m_pixels.insert(image.m_pixels.end(), pixels.Row(y) + image.m_read.left,
                                  pixels.Row(y) + image.m_read.right);
        return image;
    }
    const std::optional<DrawTarget> target = source.Target();
    if (!target)
        return std::nullopt;
    // Pending drawing first, so the read sees it.
    FlushScreen();
    display::Backend& backend = CurrentBackend();
    const display::Point origin = target->screenOrigin;
    const display::Rect onScreen =
        area.Offset(origin.x, origin.y).Intersect(backend.ScreenBounds());
    image.m_read = onScreen.Offset(-origin.x, -origin.y);
    const std::size_t count =
        static_cast<std::size_t>(onScreen.Width()) * static_cast<std::size_t>(onScreen.Height());
    image.m_pixels.assign(count, 0);
    image.m_delivered.assign(count, 0);
    if (count > 0)
        backend.ReadScreen(onScreen, image.m_pixels, image.m_delivered);
    return image;
}

}  // namespace winapi::gdi
