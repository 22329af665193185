// The compiled resource script against the program's dialogs, menu, strings and icon. Expected
// values are written out as numbers, so that a wrong constant in the headers the script
// includes shows up here as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/winapi/resource/dialog_template.h"
#include "platform/winapi/resource/menu_template.h"
#include "platform/winapi/resource/res_file.h"
#include "platform/winapi/resource/string_table.h"

namespace winapi {
namespace {

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtMenu = 4;
constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kRtGroupIcon = 14;

constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kEdit = 0x0081;
constexpr std::uint16_t kStatic = 0x0082;
constexpr std::uint16_t kScrollBar = 0x0084;

// IDC_STATIC (-1) as the extended template stores it.
constexpr std::uint32_t kNoId = 0xFFFFFFFF;

constexpr std::uint8_t kShiftJisCharset = 0x80;
constexpr const char* kGothic = "ＭＳ ゴシック";
constexpr const char* kPGothic = "ＭＳ Ｐゴシック";

const ResFile* Resources() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::ifstream in(TINTARO_RES_FILE, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    static const std::optional<ResFile> file = ResFile::Parse(bytes);
    return file ? &*file : nullptr;
}

std::optional<DialogTemplate> LoadDialog(std::uint16_t id) {
    const ResEntry* entry = Resources() ? Resources()->Find(kRtDialog, id) : nullptr;
    return entry ? DialogTemplate::Parse(entry->bytes) : std::nullopt;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

struct DialogRow {
    std::uint16_t id;
    const char* caption;
    // Nullopt where only the size is fixed.
    std::optional<std::int16_t> x;
    std::optional<std::int16_t> y;
    std::int16_t cx;
    std::int16_t cy;
    std::uint32_t style;
    std::uint32_t exStyle;
    const char* typeface;
};

// 0x80C800C0 = WS_POPUP 0x80000000 | WS_CAPTION 0x00C00000 | WS_SYSMENU 0x00080000
//            | DS_MODALFRAME 0x80 | DS_SETFONT 0x40.
const DialogRow kDialogs[] = {
    {100, "Tintaro LE 1.2 について ...", std::nullopt, std::nullopt, 179, 59, 0x80C800C0, 0,
     kPGothic},
    {102, "Tintaro LE", 0, 0, 132, 145, 0x90CA00C0, 0x00040000, kGothic},
    {129, "ズーム", 0, 0, 119, 139, 0x80C800C0, 0, kPGothic},
    {133, "カラーダイアログ", std::nullopt, std::nullopt, 109, 155, 0x80C800C0, 0, kPGothic},
    {134, "パレット", 0, 0, 163, 85, 0x80C800C0, 0, kPGothic},
};

TEST(ResourceScript, DialogFrames) {
    ASSERT_NE(Resources(), nullptr) << "cannot read " << TINTARO_RES_FILE;
    for (const DialogRow& row : kDialogs) {
        SCOPED_TRACE(row.id);
        const auto dialog = LoadDialog(row.id);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->title, row.caption);
        if (row.x) {
            EXPECT_EQ(dialog->x, *row.x);
            EXPECT_EQ(dialog->y, *row.y);
        }
        EXPECT_EQ(dialog->cx, row.cx);
        EXPECT_EQ(dialog->cy, row.cy);
        EXPECT_EQ(Hex(dialog->style), Hex(row.style));
        EXPECT_EQ(Hex(dialog->exStyle), Hex(row.exStyle));
        EXPECT_EQ(dialog->menu, TextOrOrdinal(""));
        EXPECT_EQ(dialog->windowClass, TextOrOrdinal(""));
        ASSERT_TRUE(dialog->font);
        EXPECT_EQ(dialog->font->pointSize, 9);
        EXPECT_EQ(dialog->font->weight, 0);
        EXPECT_FALSE(dialog->font->italic);
        EXPECT_EQ(dialog->font->charset, kShiftJisCharset);
        EXPECT_EQ(dialog->font->typeface, row.typeface);
    }
}

struct ControlRow {
    std::uint32_t id;
    std::uint16_t classAtom;
    TextOrOrdinal text;
    std::array<int, 4> rect;
    std::uint32_t style;
    // Bits of the style that are checked; all unless the dialog fixes only the kind of control.
    std::uint32_t styleMask = 0xFFFFFFFF;
};

void ExpectControls(std::uint16_t dialogId, const std::vector<ControlRow>& rows) {
    const auto dialog = LoadDialog(dialogId);
    ASSERT_TRUE(dialog) << "dialog " << dialogId;
    ASSERT_EQ(dialog->items.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i) + " of dialog " + std::to_string(dialogId));
        const DialogItem& item = dialog->items[i];
        const ControlRow& row = rows[i];
        EXPECT_EQ(item.id, row.id);
        EXPECT_EQ(item.windowClass, TextOrOrdinal(row.classAtom));
        EXPECT_EQ(item.title, row.text);
        EXPECT_EQ((std::array<int, 4>{item.x, item.y, item.cx, item.cy}), row.rect);
        EXPECT_EQ(Hex(item.style & row.styleMask), Hex(row.style));
        EXPECT_EQ(Hex(item.exStyle), Hex(0));
    }
}

TEST(ResourceScript, AboutBoxControls) {
    // Only the kind is fixed: WS_POPUP, WS_CHILD, WS_VISIBLE, WS_DISABLED and SS_TYPEMASK.
    // WS_CHILD | WS_VISIBLE is 0x50000000; SS_ICON is 3, SS_LEFT 0.
    constexpr std::uint32_t kKind = 0xD800001F;
    ExpectControls(
        100,
        {
            {kNoId, kStatic, std::uint16_t{128}, {5, 7, 20, 20}, 0x50000003, kKind},
            {kNoId, kStatic, "Copyright (C) 2026 Tintaro LE", {32, 13, 143, 10}, 0x50000000, kKind},
            {kNoId,
             kStatic,
             "メインウィンドウを右クリックするとモードが切替えられます",
             {5, 35, 170, 10},
             0x50000000,
             kKind},
            {kNoId,
             kStatic,
             "スペースバーをプッシュすると色が取得出来ます",
             {5, 45, 170, 10},
             0x50000000,
             kKind},
        });
}

TEST(ResourceScript, PickerControls) {
    // WS_CHILD | WS_VISIBLE 0x50000000; WS_GROUP 0x00020000, WS_TABSTOP 0x00010000,
    // WS_BORDER 0x00800000; BS_DEFPUSHBUTTON 1; SS_CENTER 1, SS_BLACKFRAME 7; ES_MULTILINE 4,
    // ES_AUTOHSCROLL 0x80, ES_WANTRETURN 0x1000.
    ExpectControls(102, {
                            {1, kButton, "終了", {69, 99, 57, 16}, 0x50010001},
                            {1008, kStatic, "", {4, 5, 122, 23}, 0x50000007},
                            {1000, kStatic, "Static", {20, 33, 88, 10}, 0x50020001},
                            {1001, kStatic, "", {4, 45, 122, 10}, 0x50000007},
                            {1020, kButton, "コピー", {95, 58, 31, 18}, 0x50010000},
                            {1005, kButton, "ダイアログ", {5, 100, 56, 15}, 0x50010000},
                            {1003, kButton, "ズーム", {70, 80, 56, 15}, 0x50010000},
                            {1016, kButton, "Get Color", {5, 125, 55, 15}, 0x50000000},
                            {1004, kEdit, "", {4, 60, 86, 12}, 0x50801084},
                            {1006, kButton, "パレット", {6, 80, 56, 15}, 0x50010000},
                            {1017, kButton, "GetColorFromPalette", {70, 126, 55, 15}, 0x50000000},
                        });
}

TEST(ResourceScript, ZoomHasNoControls) {
    ExpectControls(129, {});
}

TEST(ResourceScript, SliderControls) {
    // WS_CHILD | WS_VISIBLE 0x50000000, WS_GROUP 0x00020000; SBS_HORZ 0; SS_RIGHT 2,
    // SS_CENTERIMAGE 0x200, SS_BLACKFRAME 7; BS_PUSHBUTTON 0.
    ExpectControls(133, {
                            {1001, kStatic, "", {5, 5, 99, 65}, 0x50000007},
                            {1013, kScrollBar, "", {20, 80, 70, 10}, 0x50000000},
                            {1014, kScrollBar, "", {20, 90, 70, 10}, 0x50000000},
                            {1015, kScrollBar, "", {20, 100, 70, 10}, 0x50000000},
                            {kNoId, kStatic, "赤：", {5, 80, 10, 8}, 0x50020002},
                            {kNoId, kStatic, "緑：", {5, 90, 10, 10}, 0x50020002},
                            {kNoId, kStatic, "青：", {5, 100, 10, 10}, 0x50020002},
                            {1002, kButton, "転送", {15, 130, 80, 20}, 0x50000000},
                            {1017, kStatic, "Static", {90, 80, 15, 10}, 0x50020202},
                            {1019, kStatic, "Static", {90, 90, 15, 8}, 0x50020202},
                            {1018, kStatic, "Static", {90, 100, 15, 10}, 0x50020202},
                        });
}

// Entry i of the 7 x 7 swatch grid, in reading order.
ControlRow Swatch(int entry) {
    const int id = entry <= 16 ? 1000 + entry : entry <= 18 ? 1002 + entry : 1005 + entry;
    const int row = entry / 7;
    const int column = entry % 7;
    return {static_cast<std::uint32_t>(id),
            kStatic,
            "",
            {1 + 16 * column, 2 + 12 * row, 14, 10},
            0x50000007};
}

TEST(ResourceScript, PaletteControls) {
    // Swatches 0 to 15, the radio group and the value texts, then swatches 16 to 48.
    std::vector<ControlRow> rows;
    for (int entry = 0; entry <= 15; ++entry) {
        rows.push_back(Swatch(entry));
    }
    rows.push_back({1017, kButton, "コピー", {120, 67, 34, 10}, 0x50020009});
    rows.push_back({1018, kButton, "登録", {118, 49, 44, 10}, 0x50000009});
    rows.push_back({1021, kStatic, "Static", {132, 34, 28, 10}, 0x50020000});
    rows.push_back({1022, kStatic, "Static", {132, 8, 28, 10}, 0x50020000});
    rows.push_back({1023, kStatic, "Static", {132, 20, 28, 12}, 0x50020000});
    for (int entry = 16; entry <= 48; ++entry) {
        rows.push_back(Swatch(entry));
    }
    ASSERT_EQ(rows.size(), 54u);
    ExpectControls(134, rows);
}

TEST(ResourceScript, NotationMenu) {
    ASSERT_NE(Resources(), nullptr);
    const ResEntry* entry = Resources()->Find(kRtMenu, 134);
    ASSERT_NE(entry, nullptr);
    const auto menu = MenuTemplate::Parse(entry->bytes);
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->items.size(), 1u);
    const MenuItem& popup = menu->items[0];
    EXPECT_EQ(popup.text, "dummy");
    EXPECT_TRUE(popup.flags & 0x0010) << "MF_POPUP";

    const std::pair<std::uint16_t, const char*> items[] = {
        {32771, "RGB(255, 255, 255)"},
        {32772, "Color(255, 255, 255)"},
        {32773, "&&H00FFFFFF&&"},
        {32774, "#FFFFFF"},
        {0, nullptr},
        {32775, "常に手前に表示"},
    };
    ASSERT_EQ(popup.children.size(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE(i);
        const MenuItem& item = popup.children[i];
        const auto& [id, text] = items[i];
        if (!text) {
            EXPECT_TRUE(item.IsSeparator());
            continue;
        }
        EXPECT_FALSE(item.IsSeparator());
        EXPECT_EQ(item.id, id);
        EXPECT_EQ(item.text, text);
        // Neither checked (MF_CHECKED 8) nor a popup, grayed or disabled (0x10, 1, 2).
        EXPECT_EQ(item.flags & 0x001B, 0);
    }
}

TEST(ResourceScript, Strings) {
    ASSERT_NE(Resources(), nullptr);
    EXPECT_EQ(FindString(*Resources(), 102), "Tintaro LE について ...");
    EXPECT_EQ(FindString(*Resources(), 103), "Tintaro LE");
}

std::uint32_t Le(std::span<const std::uint8_t> bytes, std::size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | bytes[offset + static_cast<std::size_t>(i)];
    }
    return value;
}

// The width and height an RT_ICON image holds: a PNG's IHDR, or a DIB whose height counts
// the colour and the mask rows.
std::pair<std::uint32_t, std::uint32_t> ImageSize(std::span<const std::uint8_t> image) {
    constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
    if (image.size() >= 24 && std::equal(std::begin(kPng), std::end(kPng), image.begin())) {
        auto be = [&](std::size_t at) {
            return std::uint32_t{image[at]} << 24 | std::uint32_t{image[at + 1]} << 16 |
                   std::uint32_t{image[at + 2]} << 8 | image[at + 3];
        };
        return {be(16), be(20)};
    }
    if (image.size() >= 40 && Le(image, 0, 4) >= 40) {
        return {Le(image, 4, 4), Le(image, 8, 4) / 2};
    }
    return {0, 0};
}

TEST(ResourceScript, ApplicationIcon) {
    ASSERT_NE(Resources(), nullptr);
    const ResEntry* group = Resources()->Find(kRtGroupIcon, 128);
    ASSERT_NE(group, nullptr);
    const auto dir = group->bytes;
    // GRPICONDIR: reserved 0, type 1 (icon), count, then 14-byte entries.
    ASSERT_GE(dir.size(), 6u);
    EXPECT_EQ(Le(dir, 0, 2), 0u);
    EXPECT_EQ(Le(dir, 2, 2), 1u);
    const std::size_t count = Le(dir, 4, 2);
    ASSERT_EQ(count, 2u);
    ASSERT_GE(dir.size(), 6 + 14 * count);
    std::set<std::uint32_t> sizes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 14 * i;
        const std::uint32_t width = dir[at] == 0 ? 256 : dir[at];
        const std::uint32_t height = dir[at + 1] == 0 ? 256 : dir[at + 1];
        const std::uint32_t bytesInRes = Le(dir, at + 8, 4);
        const auto iconId = static_cast<std::uint16_t>(Le(dir, at + 12, 2));
        SCOPED_TRACE("icon " + std::to_string(iconId));
        EXPECT_EQ(width, height);
        sizes.insert(width);
        const ResEntry* icon = Resources()->Find(kRtIcon, iconId);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->bytes.size(), bytesInRes);
        EXPECT_EQ(ImageSize(icon->bytes), std::make_pair(width, height));
    }
    EXPECT_EQ(sizes, (std::set<std::uint32_t>{16, 32}));
}

}  // namespace
}  // namespace winapi
