#include "platform/winapi/ui/ui_font.h"

namespace winapi::ui {
namespace {

constexpr int kPointSize = 9;
constexpr int kScreenDpi = 96;

}  // namespace

UiFont::UiFont(bool bold)
    : m_font(CreateFontA(-MulDiv(kPointSize, kScreenDpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                         FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         "ＭＳ Ｐゴシック")) {}

UiFont::~UiFont() {
    if (m_font != nullptr)
        DeleteObject(m_font);
}

}  // namespace winapi::ui
