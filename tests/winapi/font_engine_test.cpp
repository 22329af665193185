// The font engine: which faces draw the dialog fonts, the metrics dialogs are laid out with,
// advances, and monochrome drawing that stays inside its clip.
#include <algorithm>
#include <climits>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winapi/font/face_resolver.h"
#include "platform/winapi/font/font_engine.h"
#include "platform/winapi/font/outline_font.h"

namespace winapi::font {
namespace {

constexpr const char* kFixedGothicJa = "ＭＳ ゴシック";
constexpr const char* kPropGothicJa = "ＭＳ Ｐゴシック";
constexpr int kNinePoint = -12;  // -MulDiv(9, 96, 72)
constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kInk = 0x123456;

std::shared_ptr<const Font> Open(const std::string& face, int height = kNinePoint,
                                 int weight = 400) {
    FontSpec logFont;
    logFont.face = face;
    logFont.height = height;
    logFont.weight = weight;
    return OpenFont(logFont);
}

std::string DrawingFamily(const Font& font) {
    const auto* outline = dynamic_cast<const OutlineFont*>(&font);
    if (outline == nullptr || outline->DrawingFace() == nullptr)
        return {};
    return outline->DrawingFace()->Family();
}

// A font whose face is stood for but drawn by file (null: nothing to draw with).
std::shared_ptr<const Font> StandIn(const char* face, const StoodForFace& stoodFor,
                                    std::optional<FaceFile> file) {
    FontSpec logFont;
    logFont.face = face;
    logFont.height = kNinePoint;
    std::unique_ptr<FreeTypeFace> drawing = file ? FreeTypeFace::Open(*file) : nullptr;
    return std::make_shared<OutlineFont>(logFont, &stoodFor, std::move(drawing));
}

FaceFile SansSerifFile() {
    FaceResolver resolver;
    return resolver.Candidates("DejaVu Sans", 400, false).front();
}

int CountInk(const gdi::Surface& surface, const display::Rect& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += surface.At(x, y) != kPaper;
    return count;
}

display::Rect InkBounds(const gdi::Surface& surface) {
    display::Rect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            if (surface.At(x, y) == kPaper)
                continue;
            bounds = {std::min(bounds.left, x), std::min(bounds.top, y),
                      std::max(bounds.right, x + 1), std::max(bounds.bottom, y + 1)};
        }
    }
    return bounds;
}

// --- Faces and metrics ---------------------------------------------------------------------

// Every spelling of the dialog faces is drawn by its IPA face with the metrics of the face it
// stands for: a 12-pixel cell (10 + 2) and the measured dialog base units at 9 pt.
TEST(FontFaces, DialogFacesResolveWithTheMetricsOfTheFacesStoodFor) {
    struct Row {
        const char* face;
        const char* drawnBy;
        display::Point baseUnits;
        bool fixedPitch;
    };
    const Row rows[] = {
        {kFixedGothicJa, "IPAGothic", {6, 12}, true},
        {"MS Gothic", "IPAGothic", {6, 12}, true},
        {"ms gothic", "IPAGothic", {6, 12}, true},
        {kPropGothicJa, "IPAPGothic", {7, 12}, false},
        {"MS PGothic", "IPAPGothic", {7, 12}, false},
        {"ＭＳ　Ｐゴシック", "IPAPGothic", {7, 12}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.face);
        const auto font = Open(row.face);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->FaceName(), row.face);
        EXPECT_EQ(DrawingFamily(*font), row.drawnBy);
        const FontMetrics& m = font->Metrics();
        EXPECT_EQ(m.height, 12);
        EXPECT_EQ(m.ascent, 10);
        EXPECT_EQ(m.descent, 2);
        EXPECT_EQ(m.internalLeading, 0);
        EXPECT_EQ(m.fixedPitch, row.fixedPitch);
        EXPECT_EQ(m.charSet, 128);
        EXPECT_EQ(font->DialogBaseUnits(), row.baseUnits);
    }
}

// lfHeight > 0 asks for the cell and 0 for the default 12-pixel cell; the faces stood for
// have a cell of one em, so all three give the same font at 12 pixels.
TEST(FontFaces, HeightSignsFollowLogfont) {
    for (int height : {-12, 12, 0}) {
        SCOPED_TRACE(height);
        const auto font = Open("MS Gothic", height);
        EXPECT_EQ(font->Metrics().height, 12);
        EXPECT_EQ(font->DialogBaseUnits(), (display::Point{6, 12}));
    }
    // A face of its own: the em asked for leaves internal leading above it; the cell asked
    // for is the cell given.
    const auto byEm = Open("DejaVu Sans", -12);
    EXPECT_EQ(byEm->Metrics().height - byEm->Metrics().internalLeading, 12);
    EXPECT_GT(byEm->Metrics().internalLeading, 0);
    const auto byCell = Open("DejaVu Sans", 20);
    EXPECT_EQ(byCell->Metrics().height, 20);
}

// The dialog faces scale with the em; asking for an IPA face by its own name gives its own
// Win32 cell (ascent 11 + descent 2 at em 12) and base units from its own glyphs.
TEST(FontFaces, OtherSizesAndRealFacesUseTheirOwnMetrics) {
    EXPECT_EQ(Open("MS Gothic", -16)->DialogBaseUnits(), (display::Point{8, 16}));
    EXPECT_EQ(Open("MS Gothic", -13)->DialogBaseUnits(), (display::Point{7, 13}));
    EXPECT_EQ(Open("MS PGothic", -16)->Metrics().height, 16);

    const auto ipa = Open("IPAGothic");
    EXPECT_EQ(ipa->Metrics().ascent, 11);
    EXPECT_EQ(ipa->Metrics().height, 13);
    EXPECT_EQ(ipa->DialogBaseUnits(), (display::Point{6, 13}));

    // Its 52 letters are 338 pixels wide at em 11: 338 / 26 = 13, rounded up to 7.
    EXPECT_EQ(Open("IPAPGothic", -11)->DialogBaseUnits(), (display::Point{7, 12}));
}

TEST(FontFaces, StockFacesResolveToFacesThatDrawJapanese) {
    for (const char* face : {"System", "MS Shell Dlg", "MS Shell Dlg 2", ""}) {
        SCOPED_TRACE(face);
        const auto font = Open(face);
        EXPECT_EQ(DrawingFamily(*font), "IPAPGothic");
        EXPECT_EQ(font->FaceName(), face);
    }
}

// A face this system does not have still gives a usable font, and the dialog faces keep the
// layout of the faces they stand for whatever face (or none) draws them.
TEST(FontFaces, MissingFacesFallBackWithoutChangingLayout) {
    const auto missing = Open("Tintaro No Such Face");
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(DrawingFamily(*missing).empty());
    EXPECT_GT(missing->Metrics().height, 0);
    EXPECT_GT(missing->DialogBaseUnits().x, 0);
    EXPECT_GT(missing->TextWidth("Exit"), 0);

    FaceFile vanished{"/nonexistent/ipag.ttf", 0};
    for (const std::optional<FaceFile>& file :
         {std::optional<FaceFile>(SansSerifFile()), std::optional<FaceFile>(vanished),
          std::optional<FaceFile>()}) {
        SCOPED_TRACE(file ? file->path : "no face");
        const auto fixed = StandIn(kFixedGothicJa, FixedGothic(), file);
        EXPECT_EQ(fixed->Metrics().height, 12);
        EXPECT_EQ(fixed->Metrics().ascent, 10);
        EXPECT_EQ(fixed->DialogBaseUnits(), (display::Point{6, 12}));
        EXPECT_EQ(fixed->Advances("Aw終"), (std::vector<int>{6, 6, 12}));
        const auto proportional = StandIn(kPropGothicJa, ProportionalGothic(), file);
        EXPECT_EQ(proportional->DialogBaseUnits(), (display::Point{7, 12}));
    }
}

TEST(FontFaces, SameRequestSharesOneFont) {
    EXPECT_EQ(Open("MS Gothic"), Open("MS Gothic"));
    EXPECT_NE(Open("MS Gothic"), Open("MS Gothic", -16));
}

TEST(FontFaces, AbsurdHeightsAreSafe) {
    for (int height : {INT_MIN, INT_MAX, -1, 1}) {
        SCOPED_TRACE(height);
        const auto font = Open("MS PGothic", height);
        EXPECT_GT(font->Metrics().height, 0);
        EXPECT_LE(font->Metrics().height, 2048);
        gdi::Surface surface(8, 8, kPaper);
        font->Draw(surface, 0, 0, "A", kInk, surface.Bounds());
    }
}

// --- Advances ------------------------------------------------------------------------------

TEST(FontAdvances, FixedPitchGothicUsesHalfAndFullCells) {
    const auto font = Open(kFixedGothicJa);
    EXPECT_EQ(font->Advances("Ab1 ~ｶ"), (std::vector<int>{6, 6, 6, 6, 6, 6}));
    EXPECT_EQ(font->Advances("終了Ａ"), (std::vector<int>{12, 12, 12}));
    EXPECT_EQ(font->TextWidth("常に手前に表示"), 7 * 12);
    EXPECT_EQ(font->TextWidth("OK 終了"), 3 * 6 + 2 * 12);
}

TEST(FontAdvances, ProportionalGothicUsesItsGlyphWidths) {
    const auto font = Open(kPropGothicJa);
    const std::vector<int> advances = font->Advances("iW");
    ASSERT_EQ(advances.size(), 2u);
    EXPECT_LT(advances[0], advances[1]);
    EXPECT_EQ(font->TextWidth("終了"), 24);
}

// Win32 widens each glyph of a bold it has to synthesize by one pixel.
TEST(FontAdvances, SynthesizedBoldAddsAPixel) {
    const auto regular = Open("MS Gothic");
    const auto bold = Open("MS Gothic", kNinePoint, 700);
    EXPECT_EQ(bold->Metrics().weight, 700);
    EXPECT_EQ(bold->Advances("A終"), (std::vector<int>{7, 13}));
    gdi::Surface thin(40, 16, kPaper), thick(40, 16, kPaper);
    regular->Draw(thin, 0, 0, "終A", kInk, thin.Bounds());
    bold->Draw(thick, 0, 0, "終A", kInk, thick.Bounds());
    EXPECT_GT(CountInk(thick, thick.Bounds()), CountInk(thin, thin.Bounds()));
}

// A face without an italic of its own is slanted: same advances, different ink.
TEST(FontAdvances, SynthesizedItalicSlantsWithoutMovingThePen) {
    FontSpec logFont;
    logFont.face = kPropGothicJa;
    logFont.height = kNinePoint;
    const auto upright = OpenFont(logFont);
    logFont.italic = true;
    const auto italic = OpenFont(logFont);
    EXPECT_EQ(italic->Advances("Il終"), upright->Advances("Il終"));
    gdi::Surface straight(40, 16, kPaper), slanted(40, 16, kPaper);
    upright->Draw(straight, 2, 2, "Il終", kInk, straight.Bounds());
    italic->Draw(slanted, 2, 2, "Il終", kInk, slanted.Bounds());
    bool differ = false;
    for (int y = 0; y < 16 && !differ; ++y)
        for (int x = 0; x < 40 && !differ; ++x)
            differ = straight.At(x, y) != slanted.At(x, y);
    EXPECT_TRUE(differ);
}

// Each malformed piece of UTF-8 is one character with an advance of its own, as the caret and
// the clipboard see it.
TEST(FontAdvances, MalformedPiecesCountOneEach) {
    const auto font = Open(kFixedGothicJa);
    const struct {
        const char* text;
        std::size_t characters;
    } rows[] = {{"A\xFF\xFE", 3}, {"\xE7\xB5\x41", 2}, {"\xC0\xAF\x80", 3}};
    for (const auto& row : rows) {
        const std::vector<int> advances = font->Advances(row.text);
        EXPECT_EQ(advances.size(), row.characters) << row.text;
        EXPECT_EQ(std::count(advances.begin(), advances.end(), 0), 0);
        EXPECT_EQ(font->TextWidth(row.text), std::accumulate(advances.begin(), advances.end(), 0));
    }
}

// --- Drawing -------------------------------------------------------------------------------

// Text is drawn with the top of its cell at y: a kanji fills the ascent from the cell's top
// row, a descender reaches below the baseline, nothing leaves the 12-pixel cell.
TEST(FontDrawing, CellTopIsAtY) {
    const auto font = Open(kFixedGothicJa);
    gdi::Surface surface(60, 40, kPaper);
    const int end = font->Draw(surface, 5, 10, "終", kInk, surface.Bounds());
    EXPECT_EQ(end, 17);
    const display::Rect kanji = InkBounds(surface);
    EXPECT_EQ(kanji.top, 10);
    EXPECT_LE(kanji.bottom, 22);
    EXPECT_GE(kanji.left, 5);
    EXPECT_LE(kanji.right, 17);

    gdi::Surface descender(60, 40, kPaper);
    font->Draw(descender, 5, 10, "g", kInk, descender.Bounds());
    EXPECT_GT(InkBounds(descender).bottom, 20);  // below the baseline at 10 + 10
    EXPECT_LE(InkBounds(descender).bottom, 22);
}

TEST(FontDrawing, JapaneseTextRendersEveryCharacter) {
    const auto font = Open(kPropGothicJa);
    const std::string text = "常に手前に表示";
    gdi::Surface surface(120, 16, kPaper);
    const int end = font->Draw(surface, 0, 2, text, kInk, surface.Bounds());
    EXPECT_EQ(end, font->TextWidth(text));
    int pen = 0;
    for (int advance : font->Advances(text)) {
        EXPECT_GT(CountInk(surface, {pen, 0, pen + advance, 16}), 4) << "at x " << pen;
        pen += advance;
    }
}

// Only the background and the text colour ever occur, and the same call draws the same pixels.
TEST(FontDrawing, MonochromeAndDeterministic) {
    for (const char* face : {kFixedGothicJa, kPropGothicJa, "DejaVu Sans"}) {
        SCOPED_TRACE(face);
        const auto font = Open(face);
        gdi::Surface first(90, 20, kPaper), second(90, 20, kPaper);
        font->Draw(first, 1, 2, "終了 Exit @#&", 0xFF123456, first.Bounds());
        font->Draw(second, 1, 2, "終了 Exit @#&", 0xFF123456, second.Bounds());
        std::set<std::uint32_t> colours;
        for (int y = 0; y < first.Height(); ++y) {
            for (int x = 0; x < first.Width(); ++x) {
                colours.insert(first.At(x, y));
                ASSERT_EQ(first.At(x, y), second.At(x, y)) << x << "," << y;
            }
        }
        EXPECT_EQ(colours, (std::set<std::uint32_t>{kPaper, kInk}));
    }
}

// Hinted for monochrome, a stem is one whole pixel wide: the crisp look of classic dialogs.
TEST(FontDrawing, HintedGlyphsHaveWholePixelStems) {
    const std::string expected =
        "........\n"
        ".#.....#\n"
        ".#.....#\n"
        ".#.....#\n"
        ".#.....#\n"
        ".#######\n"
        ".#.....#\n"
        ".#.....#\n"
        ".#.....#\n"
        ".#.....#\n"
        "........\n"
        "........\n";
    const auto font = Open(kPropGothicJa);
    gdi::Surface surface(8, 12, kPaper);
    font->Draw(surface, 0, 0, "H", kInk, surface.Bounds());
    std::string drawn;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 8; ++x)
            drawn += surface.At(x, y) == kInk ? '#' : '.';
        drawn += '\n';
    }
    EXPECT_EQ(drawn, expected);
}

// Text that starts left of or above the surface, runs past its edges or crosses the clip
// changes pixels inside the clip only.
TEST(FontDrawing, StaysInsideClipAndSurface) {
    struct Row {
        int x;
        int y;
        display::Rect clip;
    };
    const Row rows[] = {
        {-7, -5, {3, 2, 25, 9}},    {-30, -8, {0, 0, 48, 30}},
        {40, 24, {0, 0, 48, 30}},   {10, 10, {-100, -100, 1000, 1000}},
        {46, 29, {40, 20, 60, 40}}, {5, 5, {20, 10, 20, 30}},  // empty clip
    };
    for (const char* face : {kFixedGothicJa, "DejaVu Sans"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << face << " at " << row.x << "," << row.y);
            FontSpec logFont;
            logFont.face = face;
            logFont.height = kNinePoint;
            logFont.underline = true;
            logFont.strikeOut = true;
            const auto lined = OpenFont(logFont);
            gdi::Surface surface(48, 30, kPaper);
            lined->Draw(surface, row.x, row.y, "終了 Exit 常に手前に", kInk, row.clip);
            const display::Rect inside = row.clip.Intersect(surface.Bounds());
            for (int y = 0; y < surface.Height(); ++y) {
                for (int x = 0; x < surface.Width(); ++x) {
                    if (inside.Contains({x, y}))
                        continue;
                    ASSERT_EQ(surface.At(x, y), kPaper) << x << "," << y;
                }
            }
        }
    }
    // The clip still lets through what lies inside it.
    gdi::Surface surface(48, 30, kPaper);
    Open(kFixedGothicJa)->Draw(surface, -7, -5, "終了 Exit 常に手前に", kInk, {3, 2, 25, 9});
    EXPECT_GT(CountInk(surface, surface.Bounds()), 0);
}

// A malformed piece looks exactly like the replacement character written out, and has ink.
TEST(FontDrawing, MalformedBytesDrawTheReplacementCharacter) {
    const auto font = Open(kFixedGothicJa);
    gdi::Surface broken(80, 16, kPaper);
    gdi::Surface replaced(80, 16, kPaper);
    const int end = font->Draw(broken, 0, 0, "\xFF\xE7\xB5", kInk, broken.Bounds());
    EXPECT_EQ(end, font->Draw(replaced, 0, 0, "\uFFFD\uFFFD", kInk, replaced.Bounds()));
    EXPECT_GT(CountInk(broken, broken.Bounds()), 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(broken.At(x, y), replaced.At(x, y)) << x << "," << y;
}

TEST(FontDrawing, EmptyTextDrawsNothing) {
    FontSpec logFont;
    logFont.face = kFixedGothicJa;
    logFont.height = kNinePoint;
    logFont.underline = true;
    logFont.strikeOut = true;
    const auto font = OpenFont(logFont);
    gdi::Surface surface(20, 20, kPaper);
    EXPECT_EQ(font->Draw(surface, 3, 4, "", kInk, surface.Bounds()), 3);
    EXPECT_EQ(CountInk(surface, surface.Bounds()), 0);
    EXPECT_EQ(font->TextWidth(""), 0);
    EXPECT_TRUE(font->Advances("").empty());
}

// Underline and strike-out are single rows across the text's advance, inside its cell: the
// underline below the baseline, the strike-out above it.
TEST(FontDrawing, UnderlineAndStrikeOutSpanTheText) {
    FontSpec logFont;
    logFont.face = kFixedGothicJa;
    logFont.height = kNinePoint;
    logFont.underline = true;
    const auto underlined = OpenFont(logFont);
    logFont.underline = false;
    logFont.strikeOut = true;
    const auto struck = OpenFont(logFont);

    auto fullRows = [](const gdi::Surface& surface, int left, int right) {
        std::vector<int> rows;
        for (int y = 0; y < surface.Height(); ++y)
            if (CountInk(surface, {left, y, right, y + 1}) == right - left)
                rows.push_back(y);
        return rows;
    };
    gdi::Surface under(40, 20, kPaper), strike(40, 20, kPaper);
    EXPECT_EQ(underlined->Draw(under, 2, 4, "ab c", kInk, under.Bounds()), 26);
    struck->Draw(strike, 2, 4, "ab c", kInk, strike.Bounds());
    const std::vector<int> underRows = fullRows(under, 2, 26);
    ASSERT_EQ(underRows.size(), 1u);
    EXPECT_GE(underRows[0], 4 + 10);
    EXPECT_LT(underRows[0], 4 + 12);
    EXPECT_EQ(CountInk(under, {0, 0, 2, 20}) + CountInk(under, {26, 0, 40, 20}), 0);
    const std::vector<int> strikeRows = fullRows(strike, 2, 26);
    ASSERT_EQ(strikeRows.size(), 1u);
    EXPECT_GT(strikeRows[0], 4);
    EXPECT_LT(strikeRows[0], 4 + 10);
}

}  // namespace
}  // namespace winapi::font
