// One popup menu as it is shown: its items measured in the menu font and laid out in a column
// inside a raised border, drawn in the classic look (check marks, etched separators, grayed
// text, the submenu arrow, the selected item on a highlight bar), and hit-tested.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "platform/winapi/ui/ui_font.h"

namespace winapi::menu {

class PopupView {
public:
    // The border (a 2 px raised edge and 1 px of menu colour), the gap between the check box
    // and the text, the gap before an accelerator, the submenu arrow's width, and separators
    // half the menu button height.
    static constexpr int kBorder = 3;
    static constexpr int kCheckGap = 4;
    static constexpr int kAcceleratorGap = 8;
    static constexpr int kArrowWidth = 7;
    static constexpr int kSeparatorHeight = 9;

    explicit PopupView(HMENU menu);

    HMENU MenuHandle() const { return m_menu; }
    SIZE Size() const { return m_size; }
    int ItemCount() const { return static_cast<int>(m_rows.size()); }
    // The item under point (popup coordinates), or -1 on the border.
    int ItemAt(POINT point) const;
    RECT ItemRect(int index) const;

    int Selected() const { return m_selected; }
    void SetSelected(int index) { m_selected = index; }

    void Draw(HDC hdc) const;

private:
    struct Row {
        RECT rect{};
        std::string label;
        std::string accelerator;  // the part after a tab
    };

    void Measure();
    void DrawItem(HDC hdc, int index) const;
    void DrawItemText(HDC hdc, const Row& row, COLORREF colour, int offset) const;

    HMENU m_menu;
    ui::UiFont m_font{false};
    ui::UiFont m_boldFont{true};
    std::vector<Row> m_rows;
    SIZE m_size{0, 0};
    int m_checkColumn = 0;  // the check box and its gap, left of the text
    int m_arrowColumn = 0;  // right of the text: room for a submenu arrow
    int m_labelWidth = 0;
    int m_acceleratorWidth = 0;
    int m_selected = -1;
};

}  // namespace winapi::menu
