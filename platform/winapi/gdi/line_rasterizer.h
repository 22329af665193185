// Which pixels a line lights. A cosmetic (one-pixel) line follows Win32's diamond rule: one
// pixel per step of the major axis, the one nearest the ideal line, a tie going to the upper
// pixel (x-major) or the left one (y-major); the first point is drawn, the last is not. A wide
// geometric line covers the pixel centres within half its width of the segment, round at both
// ends; a pixel centre exactly on the edge counts on the top and left sides only, so an even
// width puts its extra pixel above or left of the path.
#pragma once

#include <functional>

#include "platform/display/backend.h"

namespace winapi::gdi {

class LineRasterizer {
public:
    using PlotFunction = std::function<void(int x, int y)>;
    using SpanFunction = std::function<void(int y, int left, int right)>;  // [left, right)

    // Only the pixels inside bounds are reported, however long the line.
    static void Cosmetic(display::Point from, display::Point to, const display::Rect& bounds,
                         const PlotFunction& plot);
    static void Wide(display::Point from, display::Point to, int width, const display::Rect& bounds,
                     const SpanFunction& span);
};

}  // namespace winapi::gdi
