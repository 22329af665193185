#include "platform/winapi/dialog/dialog_font.h"

#include <algorithm>
#include <cstring>

#include "platform/winapi/font/font_engine.h"
#include "platform/winapi/utf8.h"

namespace winapi::dialog {
namespace {

int ScreenPixelsPerInchY() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// lfFaceName holds LF_FACESIZE - 1 bytes; a longer name is cut before a whole UTF-8 character.
void CopyFaceName(const std::string& face, LOGFONTA& logFont) {
    const std::size_t count = Utf8FittingLength(face, LF_FACESIZE - 1);
    std::memcpy(logFont.lfFaceName, face.data(), count);
    logFont.lfFaceName[count] = '\0';
}

}  // namespace

DialogFontChoice ChooseDialogFont(const std::optional<DialogFont>& font) {
    DialogFontChoice choice;
    if (!font)
        return choice;
    LOGFONTA logFont{};
    logFont.lfHeight = -MulDiv(font->pointSize, ScreenPixelsPerInchY(), 72);
    logFont.lfWeight = font->weight;
    logFont.lfItalic = font->italic ? TRUE : FALSE;
    logFont.lfCharSet = font->charset;
    CopyFaceName(font->typeface, logFont);
    HFONT handle = CreateFontIndirectA(&logFont);
    if (handle == nullptr)
        return choice;
    choice.font = UniqueFont(handle);

    font::FontSpec request;
    request.face = logFont.lfFaceName;
    request.height = logFont.lfHeight;
    request.weight = logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : logFont.lfWeight;
    request.italic = font->italic;
    request.charSet = logFont.lfCharSet;
    const display::Point base = font::OpenFont(request)->DialogBaseUnits();
    if (base.x > 0 && base.y > 0)
        choice.units = DialogUnits(base.x, base.y);
    return choice;
}

}  // namespace winapi::dialog
