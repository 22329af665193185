#include "platform/winapi/gdi/stock_objects.h"

#include <array>
#include <cstring>
#include <memory>

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/gdi/brush.h"
#include "platform/winapi/gdi/font_object.h"
#include "platform/winapi/gdi/object_table.h"
#include "platform/winapi/gdi/pen.h"

namespace winapi::gdi {
namespace {

constexpr int kDefaultBitmapKey = 100;
constexpr int kSysColourBrushKey = 200;

// The classic Windows Standard scheme, COLORREF values.
constexpr std::array<COLORREF, 31> kSysColours{
    0xC0C0C0,  // COLOR_SCROLLBAR
    0x808000,  // COLOR_BACKGROUND
    0x800000,  // COLOR_ACTIVECAPTION
    0x808080,  // COLOR_INACTIVECAPTION
    0xC0C0C0,  // COLOR_MENU
    0xFFFFFF,  // COLOR_WINDOW
    0x000000,  // COLOR_WINDOWFRAME
    0x000000,  // COLOR_MENUTEXT
    0x000000,  // COLOR_WINDOWTEXT
    0xFFFFFF,  // COLOR_CAPTIONTEXT
    0xC0C0C0,  // COLOR_ACTIVEBORDER
    0xC0C0C0,  // COLOR_INACTIVEBORDER
    0x808080,  // COLOR_APPWORKSPACE
    0x800000,  // COLOR_HIGHLIGHT
    0xFFFFFF,  // COLOR_HIGHLIGHTTEXT
    0xC0C0C0,  // COLOR_BTNFACE
    0x808080,  // COLOR_BTNSHADOW
    0x808080,  // COLOR_GRAYTEXT
    0x000000,  // COLOR_BTNTEXT
    0xC0C0C0,  // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF,  // COLOR_BTNHIGHLIGHT
    0x000000,  // COLOR_3DDKSHADOW
    0xC0C0C0,  // COLOR_3DLIGHT
    0x000000,  // COLOR_INFOTEXT
    0xE1FFFF,  // COLOR_INFOBK
    0xB5B5B5,  // 25: the alternate button face
    0x800000,  // COLOR_HOTLIGHT
    0xD08410,  // COLOR_GRADIENTACTIVECAPTION
    0xC0C0C0,  // COLOR_GRADIENTINACTIVECAPTION
    0x800000,  // COLOR_MENUHILIGHT
    0xC0C0C0,  // COLOR_MENUBAR
};

struct StockFont {
    int index;
    const char* face;
    LONG height;
    LONG width;
    LONG weight;
    BYTE charSet;
    BYTE pitchAndFamily;
};

// The faces and sizes Win32 reports for its stock fonts at 96 dpi. SYSTEM_FONT, every DC's
// default font, is the bold "System" face with a 16-pixel cell.
constexpr std::array<StockFont, 7> kStockFonts{{
    {OEM_FIXED_FONT, "Terminal", 12, 8, FW_NORMAL, 255, FIXED_PITCH | FF_MODERN},
    {ANSI_FIXED_FONT, "Courier", 12, 9, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
    {ANSI_VAR_FONT, "MS Sans Serif", 12, 9, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {SYSTEM_FONT, "System", 16, 7, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {DEVICE_DEFAULT_FONT, "System", 16, 7, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {SYSTEM_FIXED_FONT, "Fixedsys", 15, 8, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
    {DEFAULT_GUI_FONT, "MS Shell Dlg", -11, 0, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
}};

std::unique_ptr<GdiObject> MakeFont(const StockFont& stock) {
    LOGFONTA logFont{};
    logFont.lfHeight = stock.height;
    logFont.lfWidth = stock.width;
    logFont.lfWeight = stock.weight;
    logFont.lfCharSet = stock.charSet;
    logFont.lfPitchAndFamily = stock.pitchAndFamily;
    std::strncpy(logFont.lfFaceName, stock.face, LF_FACESIZE - 1);
    return std::make_unique<FontObject>(logFont);
}

struct StockDrawingObject {
    int index;
    bool pen;
    UINT style;
    COLORREF colour;
    bool usesDcColour;
};

constexpr std::array<StockDrawingObject, 11> kStockDrawingObjects{{
    {WHITE_BRUSH, false, BS_SOLID, RGB(255, 255, 255), false},
    {LTGRAY_BRUSH, false, BS_SOLID, RGB(192, 192, 192), false},
    {GRAY_BRUSH, false, BS_SOLID, RGB(128, 128, 128), false},
    {DKGRAY_BRUSH, false, BS_SOLID, RGB(64, 64, 64), false},
    {BLACK_BRUSH, false, BS_SOLID, RGB(0, 0, 0), false},
    {NULL_BRUSH, false, BS_NULL, 0, false},
    {WHITE_PEN, true, PS_SOLID, RGB(255, 255, 255), false},
    {BLACK_PEN, true, PS_SOLID, RGB(0, 0, 0), false},
    {NULL_PEN, true, PS_NULL, 0, false},
    {DC_BRUSH, false, BS_SOLID, RGB(255, 255, 255), true},
    {DC_PEN, true, PS_SOLID, RGB(0, 0, 0), true},
}};

std::unique_ptr<GdiObject> MakeStock(int index) {
    for (const StockDrawingObject& stock : kStockDrawingObjects) {
        if (stock.index != index)
            continue;
        if (stock.pen)
            return std::make_unique<Pen>(static_cast<int>(stock.style), 0, stock.colour,
                                         stock.usesDcColour);
        return std::make_unique<Brush>(stock.style, stock.colour, stock.usesDcColour);
    }
    for (const StockFont& stock : kStockFonts)
        if (stock.index == index)
            return MakeFont(stock);
    return nullptr;
}

}  // namespace

HGDIOBJ StockObject(int index) {
    if (index < 0 || index > DC_PEN || index == 9 || index == DEFAULT_PALETTE)
        return nullptr;
    return ObjectTable::Instance().Stock(index, [index] { return MakeStock(index); });
}

HBITMAP DefaultBitmap() {
    return static_cast<HBITMAP>(ObjectTable::Instance().Stock(
        kDefaultBitmapKey, [] { return std::make_unique<Bitmap>(1, 1, true); }));
}

std::optional<COLORREF> SysColour(int index) {
    if (index < 0 || index >= static_cast<int>(kSysColours.size()))
        return std::nullopt;
    return kSysColours[static_cast<std::size_t>(index)];
}

HBRUSH SysColorBrush(int index) {
    const std::optional<COLORREF> colour = SysColour(index);
    if (!colour)
        return nullptr;
    return static_cast<HBRUSH>(ObjectTable::Instance().Stock(
        kSysColourBrushKey + index, [&] { return std::make_unique<Brush>(BS_SOLID, *colour); }));
}

}  // namespace winapi::gdi
