#include "platform/winapi/font/freetype_face.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <map>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

namespace winapi::font {

// A font file mapped read-only, once however many faces and sizes read it. The mapping is
// marked for random access: a face reads a few tables and the outlines of the glyphs drawn,
// scattered over megabytes, and the kernel would otherwise map the pages around each one
// read as well, keeping most of the file resident for nothing.
class MappedFontFile {
public:
    static std::shared_ptr<MappedFontFile> Open(const std::string& path) {
        static std::map<std::string, std::weak_ptr<MappedFontFile>> open;
        if (auto mapped = open[path].lock())
            return mapped;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat info {};
        void* base = MAP_FAILED;
        if (fstat(fd, &info) == 0 && info.st_size > 0)
            base = mmap(nullptr, std::size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        close(fd);
        if (base == MAP_FAILED)
            return nullptr;
        madvise(base, std::size_t(info.st_size), MADV_RANDOM);
        std::shared_ptr<MappedFontFile> mapped(
            new MappedFontFile(static_cast<const unsigned char*>(base), std::size_t(info.st_size)));
        open[path] = mapped;
        return mapped;
    }
    ~MappedFontFile() { munmap(const_cast<unsigned char*>(m_bytes), m_size); }
    MappedFontFile(const MappedFontFile&) = delete;
    MappedFontFile& operator=(const MappedFontFile&) = delete;

    const unsigned char* Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_size; }

private:
    MappedFontFile(const unsigned char* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}
    const unsigned char* m_bytes;
    std::size_t m_size;
};

namespace {

// One library for every face alive; it goes when the last face goes.
std::shared_ptr<FT_LibraryRec_> SharedLibrary() {
    static std::weak_ptr<FT_LibraryRec_> shared;
    if (auto library = shared.lock())
        return library;
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0)
        return nullptr;
    std::shared_ptr<FT_LibraryRec_> library(raw, [](FT_Library l) { FT_Done_FreeType(l); });
    shared = library;
    return library;
}

DesignMetrics ReadDesign(FT_Face face) {
    DesignMetrics design;
    design.unitsPerEm = face->units_per_EM;
    design.hheaAscent = face->ascender;
    design.hheaDescent = -face->descender;
    design.winAscent = face->ascender;
    design.winDescent = -face->descender;
    design.maxAdvance = face->max_advance_width;
    design.underlinePosition = face->underline_position;
    design.underlineThickness = face->underline_thickness;
    if (const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA)))
        design.lineGap = hhea->Line_Gap;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            design.winAscent = os2->usWinAscent;
            design.winDescent = os2->usWinDescent;
        }
        design.averageWidth = os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : 0;
        design.strikeoutPosition = os2->yStrikeoutPosition;
        design.strikeoutSize = os2->yStrikeoutSize;
        if (os2->usWeightClass >= 100 && os2->usWeightClass <= 1000)
            design.weightClass = os2->usWeightClass;
    }
    if (design.winAscent + design.winDescent <= 0) {
        design.winAscent = face->bbox.yMax;
        design.winDescent = -face->bbox.yMin;
    }
    if (design.winAscent + design.winDescent <= 0) {
        design.winAscent = design.unitsPerEm * 4 / 5;
        design.winDescent = design.unitsPerEm - design.winAscent;
    }
    return design;
}

bool InkAt(const FT_Bitmap& bitmap, const unsigned char* row, unsigned x) {
    switch (bitmap.pixel_mode) {
        case FT_PIXEL_MODE_MONO:
            return (row[x >> 3] & (0x80u >> (x & 7))) != 0;
        case FT_PIXEL_MODE_GRAY:
            return row[x] >= 128;
        case FT_PIXEL_MODE_BGRA:
            return row[x * 4 + 3] >= 128;
        default:
            return false;
    }
}

void CollectInk(const FT_Bitmap& bitmap, Glyph& glyph) {
    const unsigned stride = static_cast<unsigned>(bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch);
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        // A negative pitch stores the rows bottom-up.
        const unsigned memoryRow = bitmap.pitch < 0 ? bitmap.rows - 1 - y : y;
        const unsigned char* row = bitmap.buffer + static_cast<std::size_t>(memoryRow) * stride;
        unsigned x = 0;
        while (x < bitmap.width) {
            if (!InkAt(bitmap, row, x)) {
                ++x;
                continue;
            }
            const unsigned start = x;
            while (x < bitmap.width && InkAt(bitmap, row, x))
                ++x;
            glyph.ink.push_back({static_cast<std::int16_t>(y), static_cast<std::int16_t>(start),
                                 static_cast<std::int16_t>(x)});
        }
    }
}

}  // namespace

std::unique_ptr<FreeTypeFace> FreeTypeFace::Open(const FaceFile& file) {
    auto library = SharedLibrary();
    if (!library || file.path.empty())
        return nullptr;
    auto mapped = MappedFontFile::Open(file.path);
    if (!mapped)
        return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library.get(), mapped->Bytes(), FT_Long(mapped->Size()), file.index,
                           &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return std::unique_ptr<FreeTypeFace>(
        new FreeTypeFace(std::move(library), std::move(mapped), face, file));
}

bool FreeTypeFace::SetEmPixels(double emPixels) {
    const auto em26Dot6 = static_cast<FT_F26Dot6>(std::lround(emPixels * 64.0));
    return em26Dot6 > 0 && FT_Set_Char_Size(m_face, 0, em26Dot6, 72, 72) == 0;
}

FreeTypeFace::FreeTypeFace(std::shared_ptr<FT_LibraryRec_> library,
                           std::shared_ptr<MappedFontFile> mapped, FT_FaceRec_* face, FaceFile file)
    : m_library(std::move(library)),
      m_mapped(std::move(mapped)),
      m_face(face),
      m_file(std::move(file)) {
    m_family = face->family_name != nullptr ? face->family_name : "";
    m_design = ReadDesign(face);
    m_bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 || m_design.weightClass >= 600;
    m_italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    m_fixedPitch = FT_IS_FIXED_WIDTH(face);
}

FreeTypeFace::~FreeTypeFace() {
    FT_Done_Face(m_face);
}

unsigned FreeTypeFace::GlyphIndex(char32_t ch) const {
    return FT_Get_Char_Index(m_face, ch);
}

bool FreeTypeFace::Load(unsigned glyphIndex, RenderStyle style, Glyph& glyph) const {
    FT_Int32 flags = FT_LOAD_TARGET_MONO;
    // Synthesized styles work on outlines, so embedded bitmaps would escape them.
    if (style.embolden || style.slant)
        flags |= FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(m_face, glyphIndex, flags) != 0)
        return false;
    const FT_GlyphSlot slot = m_face->glyph;
    glyph.emboldened = style.embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    return true;
}

std::optional<Glyph> FreeTypeFace::Measure(unsigned glyphIndex, RenderStyle style) const {
    Glyph glyph;
    if (!Load(glyphIndex, style, glyph))
        return std::nullopt;
    return glyph;
}

std::optional<Glyph> FreeTypeFace::Render(unsigned glyphIndex, RenderStyle style) const {
    Glyph glyph;
    if (!Load(glyphIndex, style, glyph))
        return std::nullopt;
    FT_GlyphSlot slot = m_face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (style.slant) {
            const FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
        // One pixel wider, as Win32 emboldens a face that has no bold of its own.
        if (style.embolden)
            FT_Outline_EmboldenXY(&slot->outline, 64, 0);
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return std::nullopt;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    CollectInk(slot->bitmap, glyph);
    return glyph;
}

}  // namespace winapi::font
