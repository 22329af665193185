// The objects every program shares: GetStockObject's, the default bitmap of a new memory DC and
// the system colour brushes. None is counted, none is ever deleted.
#pragma once

#include <optional>

#include <windows.h>

namespace winapi::gdi {

// Null for an index Win32 does not define.
HGDIOBJ StockObject(int index);
// The 1x1 monochrome bitmap a new memory DC holds.
HBITMAP DefaultBitmap();
// The brush of a system colour; null for an unknown index.
HBRUSH SysColorBrush(int index);
// GetSysColor's value; nothing for an unknown index.
std::optional<COLORREF> SysColour(int index);

}  // namespace winapi::gdi
