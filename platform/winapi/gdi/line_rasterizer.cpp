#include "platform/winapi/gdi/line_rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace winapi::gdi {
namespace {

using Int128 = __int128;

// The integer nearest numerator / denominator (denominator > 0), halves going down.
std::int64_t NearestRoundingDown(Int128 numerator, Int128 denominator) {
    // ceil((2n - d) / 2d)
    const Int128 a = 2 * numerator - denominator;
    const Int128 b = 2 * denominator;
    Int128 q = a / b;
    if (a % b != 0 && a > 0)
        ++q;
    return static_cast<std::int64_t>(q);
}

// The first step in [lo, hi) where holds(step) is true, for holds false then true; hi if none.
template <typename Pred>
std::int64_t FirstStep(std::int64_t lo, std::int64_t hi, Pred holds) {
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (holds(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace

void LineRasterizer::Cosmetic(display::Point from, display::Point to, const display::Rect& bounds,
                              const PlotFunction& plot) {
    if (bounds.IsEmpty())
        return;
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const std::int64_t steps = xMajor ? adx : ady;
    if (steps == 0)
        return;

    // Position of step k on the major axis, and the minor axis through the rounding rule.
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    auto minorAt = [&](std::int64_t k) {
        return minorStart + NearestRoundingDown(Int128{k} * minorDelta, steps);
    };
    const std::int64_t majorLo = xMajor ? bounds.left : bounds.top;
    const std::int64_t majorHi = xMajor ? bounds.right : bounds.bottom;
    const std::int64_t minorLo = xMajor ? bounds.top : bounds.left;
    const std::int64_t minorHi = xMajor ? bounds.bottom : bounds.right;

    // Steps whose major coordinate lies inside the bounds.
    std::int64_t first = 0;
    std::int64_t last = steps;  // exclusive
    if (majorDir > 0) {
        first = std::max(first, majorLo - majorStart);
        last = std::min(last, majorHi - majorStart);
    } else {
        first = std::max(first, majorStart - (majorHi - 1));
        last = std::min(last, majorStart - majorLo + 1);
    }
    if (first >= last)
        return;
    // The minor coordinate moves one way only, so its inside steps form one run too.
    if (minorDelta >= 0) {
        first = FirstStep(first, last, [&](std::int64_t k) { return minorAt(k) >= minorLo; });
        last = FirstStep(first, last, [&](std::int64_t k) { return minorAt(k) >= minorHi; });
    } else {
        first = FirstStep(first, last, [&](std::int64_t k) { return minorAt(k) < minorHi; });
        last = FirstStep(first, last, [&](std::int64_t k) { return minorAt(k) < minorLo; });
    }
    for (std::int64_t k = first; k < last; ++k) {
        const auto major = static_cast<int>(majorStart + majorDir * k);
        const auto minor = static_cast<int>(minorAt(k));
        if (xMajor)
            plot(major, minor);
        else
            plot(minor, major);
    }
}

void LineRasterizer::Wide(display::Point from, display::Point to, int width,
                          const display::Rect& bounds, const SpanFunction& span) {
    if (bounds.IsEmpty() || width <= 0)
        return;
    const double radius = width / 2.0;
    const double ax = from.x;
    const double ay = from.y;
    const double bx = to.x;
    const double by = to.y;
    const double length = std::hypot(bx - ax, by - ay);
    // Pixel centres are nudged down and right by less than any real distance between them and
    // an edge, so that a centre exactly on the edge counts on the top and left sides only.
    constexpr double kNudgeX = 1.0 / 256;
    constexpr double kNudgeY = 1.0 / 512;

    const int top =
        static_cast<int>(std::max<double>(bounds.top, std::floor(std::min(ay, by) - radius)));
    const int bottom =
        static_cast<int>(std::min<double>(bounds.bottom, std::ceil(std::max(ay, by) + radius) + 1));
    for (int y = top; y < bottom; ++y) {
        const double sy = y + kNudgeY;
        double lo = HUGE_VAL;
        double hi = -HUGE_VAL;
        auto take = [&](double a, double b) {
            if (a >= b)
                return;
            lo = std::min(lo, a);
            hi = std::max(hi, b);
        };
        // The round ends.
        for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
            const double h = radius * radius - (sy - cy) * (sy - cy);
            if (h > 0)
                take(cx - std::sqrt(h), cx + std::sqrt(h));
        }
        // The body: along the segment within [0, length], across it within the radius.
        if (length > 0) {
            const double ux = (bx - ax) / length;
            const double uy = (by - ay) / length;
            // along(x) = (x - ax) ux + (sy - ay) uy;  across(x) = (sy - ay) ux - (x - ax) uy
            double a = -HUGE_VAL;
            double b = HUGE_VAL;
            auto within = [&](double slope, double offset, double min, double max) {
                // min < slope * x + offset < max
                if (slope == 0) {
                    if (!(offset > min && offset < max))
                        b = -HUGE_VAL;
                    return;
                }
                double l = (min - offset) / slope;
                double r = (max - offset) / slope;
                if (l > r)
                    std::swap(l, r);
                a = std::max(a, l);
                b = std::min(b, r);
            };
            within(ux, -ax * ux + (sy - ay) * uy, 0, length);
            within(-uy, (sy - ay) * ux + ax * uy, -radius, radius);
            take(a, b);
        }
        if (lo >= hi)
            continue;
        // Pixels whose nudged centre lies strictly inside (lo, hi).
        const double left = std::floor(lo - kNudgeX) + 1;
        const double right = std::ceil(hi - kNudgeX);
        const int l = static_cast<int>(std::max<double>(left, bounds.left));
        const int r = static_cast<int>(std::min<double>(right, bounds.right));
        if (l < r)
            span(y, l, r);
    }
}

}  // namespace winapi::gdi
