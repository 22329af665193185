#include "platform/winapi/font/font_engine.h"

#include <map>
#include <tuple>

#include "platform/winapi/font/face_resolver.h"
#include "platform/winapi/font/outline_font.h"
#include "platform/winapi/session_parts.h"

namespace winapi::font {
namespace {

FaceCache& SharedFaceCache();

// Fonts by everything a LOGFONT asks for, so the same request shares one glyph cache.
class FontRegistry {
public:
    std::shared_ptr<const Font> Open(const FontSpec& logFont) {
        const auto key =
            std::make_tuple(logFont.face, logFont.height, logFont.weight, logFont.italic,
                            logFont.underline, logFont.strikeOut, logFont.charSet);
        if (auto found = m_fonts.find(key); found != m_fonts.end())
            return found->second;
        if (m_fonts.size() >= kKeptFonts)
            DropUnused();
        auto font = Create(logFont);
        m_fonts.emplace(key, font);
        return font;
    }

    void Clear() {
        m_fonts.clear();
        m_resolver.Clear();
    }

private:
    static constexpr std::size_t kKeptFonts = 64;
    using Key = std::tuple<std::string, int, int, bool, bool, bool, int>;

    std::shared_ptr<const Font> Create(const FontSpec& logFont) {
        FaceRequest request = InterpretFaceName(logFont.face);
        const bool italic = logFont.italic;
        for (const FaceFile& file :
             m_resolver.Candidates(request.family, logFont.weight, italic, request.japanese)) {
            if (auto face = FreeTypeFace::Open(file))
                return std::make_shared<OutlineFont>(logFont, request.stoodFor, std::move(face));
        }
        return std::make_shared<OutlineFont>(logFont, request.stoodFor, nullptr);
    }

    // Fonts nobody holds any more; the ones in use stay shared.
    void DropUnused() {
        std::erase_if(m_fonts, [](const auto& entry) { return entry.second.use_count() == 1; });
    }

    std::map<Key, std::shared_ptr<const Font>> m_fonts;
    FaceResolver m_resolver{{}, &SharedFaceCache()};
};

FaceCache& SharedFaceCache() {
    static FaceCache cache(FaceCache::DefaultPath());
    return cache;
}

FontRegistry& Registry() {
    static FontRegistry registry;
    return registry;
}

const SessionEndHook kForgetFonts(SessionEndOrder::Fonts, [] { Registry().Clear(); });

}  // namespace

std::shared_ptr<const Font> OpenFont(const FontSpec& logFont) {
    return Registry().Open(logFont);
}

}  // namespace winapi::font
