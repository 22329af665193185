#pragma once

#include <string_view>
#include <vector>

namespace color {

// Reads text against a scanf-style pattern, the way the standard formatted input does, for the
// subset of conversions the colour notations use:
//   "%d"   skips white space, then an optionally signed decimal number;
//   "%NX"  skips white space, then at most N hexadecimal digits of either case (no width: any
//          number of digits); no sign and no "0x" prefix;
//   " "    any run of white space, including none;
//   other  that character exactly.
// Reading stops at the first mismatch; the values converted before it are returned in order.
// A number that does not fit in an int is a mismatch rather than a wrapped or clamped value.
std::vector<int> ScanText(std::string_view text, std::string_view pattern);

}  // namespace color
