#include "platform/winapi/menu/popup_view.h"

#include <algorithm>
#include <memory>

#include "platform/winapi/menu/menu_table.h"
#include "platform/winapi/ui/classic_glyphs.h"

namespace winapi::menu {
namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

struct DcDeleter {
    void operator()(HDC hdc) const { DeleteDC(hdc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

int TextWidth(HDC hdc, const std::string& text) {
    if (text.empty())
        return 0;
    RECT rect{0, 0, 0, 0};
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rect, kTextFormat | DT_CALCRECT);
    return rect.right - rect.left;
}

const MenuEntry* EntryOf(HMENU menu, int index) {
    const winapi::menu::Menu* found = MenuTable::Instance().Find(menu);
    return found != nullptr && index >= 0 ? found->At(static_cast<std::size_t>(index)) : nullptr;
}

}  // namespace

PopupView::PopupView(HMENU menu) : m_menu(menu) {
    Measure();
}

void PopupView::Measure() {
    const Menu* menu = MenuTable::Instance().Find(m_menu);
    if (menu == nullptr)
        return;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    ui::ScopedSelect font(dc.get(), m_font.Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    // A text item is the menu font's character height and 4 px (its one line of text and 2 px
    // never comes to more); the check box is the system's menu check size. Right of the text
    // lies the room for a submenu arrow and an average character, that average measured as
    // Win32 measures it for dialog base units.
    const int itemHeight = static_cast<int>(metrics.tmHeight) + 4;
    SIZE alphabet{0, 0};
    GetTextExtentPoint32A(dc.get(), kAlphabet, static_cast<int>(sizeof kAlphabet - 1), &alphabet);
    m_checkColumn = GetSystemMetrics(SM_CXMENUCHECK) + kCheckGap;
    m_arrowColumn = (alphabet.cx / 26 + 1) / 2 + 2 + kArrowWidth;

    int top = kBorder;
    for (const MenuEntry& entry : menu->Items()) {
        Row row;
        const int height = entry.IsSeparator() ? kSeparatorHeight : itemHeight;
        row.rect = {kBorder, top, kBorder, top + height};
        top += height;
        if (entry.HasText()) {
            const std::size_t tab = entry.text.find('\t');
            row.label = entry.text.substr(0, tab);
            if (tab != std::string::npos)
                row.accelerator = entry.text.substr(tab + 1);
            ui::ScopedSelect bold(
                dc.get(), (entry.state & MF_DEFAULT) ? m_boldFont.Handle() : m_font.Handle());
            m_labelWidth = std::max(m_labelWidth, TextWidth(dc.get(), row.label));
            m_acceleratorWidth = std::max(m_acceleratorWidth, TextWidth(dc.get(), row.accelerator));
        }
        m_rows.push_back(std::move(row));
    }
    const int accelerator = m_acceleratorWidth > 0 ? kAcceleratorGap + m_acceleratorWidth : 0;
    const int inner = m_checkColumn + m_labelWidth + accelerator + m_arrowColumn;
    for (Row& row : m_rows)
        row.rect.right = kBorder + inner;
    m_size = {2 * kBorder + inner, top + kBorder};
}

int PopupView::ItemAt(POINT point) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (PtInRect(&m_rows[static_cast<std::size_t>(i)].rect, point))
            return i;
    return -1;
}

RECT PopupView::ItemRect(int index) const {
    if (index < 0 || index >= ItemCount())
        return {};
    return m_rows[static_cast<std::size_t>(index)].rect;
}

void PopupView::Draw(HDC hdc) const {
    const RECT outer{0, 0, m_size.cx, m_size.cy};
    FillRect(hdc, &outer, GetSysColorBrush(COLOR_MENU));
    RECT edge = outer;
    DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT);
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < ItemCount(); ++i)
        DrawItem(hdc, i);
}

void PopupView::DrawItem(HDC hdc, int index) const {
    const MenuEntry* entry = EntryOf(m_menu, index);
    if (entry == nullptr)
        return;
    const Row& row = m_rows[static_cast<std::size_t>(index)];
    const RECT& rect = row.rect;
    if (entry->IsSeparator()) {
        // An etched line across the item, its shadow on the middle row.
        const int y = rect.top + (rect.bottom - rect.top) / 2;
        const RECT shadow{rect.left + 1, y, rect.right - 1, y + 1};
        const RECT light{rect.left + 1, y + 1, rect.right - 1, y + 2};
        FillRect(hdc, &shadow, GetSysColorBrush(COLOR_3DSHADOW));
        FillRect(hdc, &light, GetSysColorBrush(COLOR_3DHIGHLIGHT));
        return;
    }
    const bool selected = index == m_selected;
    const bool enabled = entry->IsEnabled();
    FillRect(hdc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF ink = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (!enabled)
        ink = GetSysColor(selected ? COLOR_GRAYTEXT : COLOR_3DSHADOW);
    // Grayed items off the highlight bar are embossed: a highlight copy below and right.
    const bool embossed = !enabled && !selected;
    const int height = rect.bottom - rect.top;

    if (entry->state & MF_CHECKED) {
        // The mark in the middle of the check box, which sits at the item's left edge.
        const SIZE check = ui::GlyphSize(ui::Glyph::Check);
        const int x = rect.left + (GetSystemMetrics(SM_CXMENUCHECK) - check.cx) / 2;
        const int y = rect.top + (height - check.cy) / 2;
        if (embossed)
            ui::DrawEmbossedGlyph(hdc, ui::Glyph::Check, x, y);
        else
            ui::DrawGlyph(hdc, ui::Glyph::Check, x, y, ink);
    }
    if (entry->IsPopup()) {
        const SIZE arrow = ui::GlyphSize(ui::Glyph::SubmenuArrow);
        const int x = rect.right - m_arrowColumn + (m_arrowColumn - arrow.cx) / 2;
        const int y = rect.top + (height - arrow.cy) / 2;
        if (embossed)
            ui::DrawEmbossedGlyph(hdc, ui::Glyph::SubmenuArrow, x, y);
        else
            ui::DrawGlyph(hdc, ui::Glyph::SubmenuArrow, x, y, ink);
    }
    if (!entry->HasText())
        return;
    ui::ScopedSelect font(hdc, (entry->state & MF_DEFAULT) ? m_boldFont.Handle() : m_font.Handle());
    if (embossed)
        DrawItemText(hdc, row, GetSysColor(COLOR_3DHIGHLIGHT), 1);
    DrawItemText(hdc, row, ink, 0);
}

void PopupView::DrawItemText(HDC hdc, const Row& row, COLORREF colour, int offset) const {
    SetTextColor(hdc, colour);
    const RECT& rect = row.rect;
    const int labelLeft = rect.left + m_checkColumn + offset;
    RECT label{labelLeft, rect.top + offset, labelLeft + m_labelWidth, rect.bottom + offset};
    DrawTextA(hdc, row.label.c_str(), static_cast<int>(row.label.size()), &label, kTextFormat);
    if (row.accelerator.empty())
        return;
    const int acceleratorLeft = labelLeft + m_labelWidth + kAcceleratorGap;
    RECT accelerator{acceleratorLeft, rect.top + offset, acceleratorLeft + m_acceleratorWidth,
                     rect.bottom + offset};
    DrawTextA(hdc, row.accelerator.c_str(), static_cast<int>(row.accelerator.size()), &accelerator,
              kTextFormat);
}

}  // namespace winapi::menu
