// One rendered character: monochrome ink as horizontal runs, placed relative to the pen on the
// baseline, and how far it moves the pen.
#pragma once

#include <cstdint>
#include <vector>

namespace winapi::font {

struct InkRun {
    std::int16_t row = 0;  // rows below the glyph's top
    std::int16_t left = 0;
    std::int16_t right = 0;  // exclusive
};

struct Glyph {
    int left = 0;             // pen to the first column
    int top = 0;              // baseline up to the first row
    int advance = 0;          // as the face hints it, before any synthesized bold
    bool emboldened = false;  // widened by a pixel that the advance must add
    std::vector<InkRun> ink;
};

}  // namespace winapi::font
