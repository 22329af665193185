#include "platform/winapi/font/face_resolver.h"

#include <errno.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include <fontconfig/fontconfig.h>

#include "platform/winapi/utf8.h"

namespace winapi::font {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct CharSetDeleter {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;
using CharSetPtr = std::unique_ptr<FcCharSet, CharSetDeleter>;

struct FaceAlias {
    std::string_view name;  // as NormalizedFaceName gives it
    std::string_view family;
    const StoodForFace* (*stoodFor)();
    bool japanese = false;
};

const StoodForFace* StandsForFixedGothic() {
    return &FixedGothic();
}
const StoodForFace* StandsForProportionalGothic() {
    return &ProportionalGothic();
}

// The Japanese dialog faces go to the IPA faces drawn to their metrics. The stock and shell
// dialog faces of a Japanese system are its proportional UI Gothic; the fixed system faces
// its fixed Gothic; the Western UI faces a sans-serif. Where an IPA face is missing, only
// another Japanese face can show the text the program was written with.
constexpr std::array kAliases{
    FaceAlias{"ms ゴシック", "IPAGothic", StandsForFixedGothic, true},
    FaceAlias{"ms gothic", "IPAGothic", StandsForFixedGothic, true},
    FaceAlias{"ms pゴシック", "IPAPGothic", StandsForProportionalGothic, true},
    FaceAlias{"ms pgothic", "IPAPGothic", StandsForProportionalGothic, true},
    FaceAlias{"ms ui gothic", "IPAPGothic", nullptr, true},
    FaceAlias{"ms 明朝", "IPAMincho", nullptr, true},
    FaceAlias{"ms mincho", "IPAMincho", nullptr, true},
    FaceAlias{"ms p明朝", "IPAPMincho", nullptr, true},
    FaceAlias{"ms pmincho", "IPAPMincho", nullptr, true},
    FaceAlias{"", "IPAPGothic", nullptr, true},
    FaceAlias{"system", "IPAPGothic", nullptr, true},
    FaceAlias{"ms shell dlg", "IPAPGothic", nullptr, true},
    FaceAlias{"ms shell dlg 2", "IPAPGothic", nullptr, true},
    FaceAlias{"fixedsys", "IPAGothic", nullptr, true},
    FaceAlias{"terminal", "IPAGothic", nullptr, true},
    FaceAlias{"ms sans serif", "sans-serif", nullptr},
    FaceAlias{"microsoft sans serif", "sans-serif", nullptr},
    FaceAlias{"tahoma", "sans-serif", nullptr},
    FaceAlias{"segoe ui", "sans-serif", nullptr},
    FaceAlias{"ms serif", "serif", nullptr},
};

std::string NormalizedFaceName(std::string_view face) {
    std::string out;
    Utf8Reader reader(face);
    while (auto ch = reader.Next()) {
        char32_t c = *ch;
        if (c >= 0xFF01 && c <= 0xFF5E)
            c -= 0xFEE0;  // full-width forms of ASCII
        if (c == 0x3000)
            c = U' ';  // ideographic space
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        AppendUtf8(out, c);
    }
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::optional<FaceFile> FileOf(const FcPattern* pattern) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &path) != FcResultMatch || path == nullptr)
        return std::nullopt;
    int index = 0;
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) != FcResultMatch)
        index = 0;
    return FaceFile{reinterpret_cast<const char*>(path), index};
}

PatternPtr FamilyPattern(const std::string& family) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern)
        return nullptr;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

PatternPtr StylePattern(const std::string& family, int weight, bool italic) {
    PatternPtr pattern = FamilyPattern(family);
    if (!pattern)
        return nullptr;
    const int openTypeWeight = weight <= 0 ? 400 : std::min(weight, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(openTypeWeight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    return pattern;
}

PatternPtr BestMatch(PatternPtr pattern) {
    if (!pattern)
        return nullptr;
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern))
        return nullptr;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch)
        return nullptr;
    return match;
}

// Fontconfig compares family names without regard to ASCII case or blanks.
std::string FamilyKey(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c == ' ')
            continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

bool HasFamily(const FcPattern* match, const std::string& family) {
    const std::string wanted = FamilyKey(family);
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FamilyKey(reinterpret_cast<const char*>(name)) == wanted)
            return true;
    }
    return false;
}

std::string FirstFamily(const FcPattern* match) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) != FcResultMatch || name == nullptr)
        return {};
    return reinterpret_cast<const char*>(name);
}

bool ShowsJapanese(const FcPattern* match) {
    FcLangSet* languages = nullptr;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &languages) != FcResultMatch)
        return false;
    return FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) !=
           FcLangDifferentLang;
}

void WriteToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
}

}  // namespace

FaceRequest InterpretFaceName(std::string_view requestedFace) {
    const std::string name = NormalizedFaceName(requestedFace);
    for (const FaceAlias& alias : kAliases) {
        if (alias.name == name)
            return {std::string(alias.family), alias.stoodFor ? alias.stoodFor() : nullptr,
                    alias.japanese};
    }
    return {std::string(requestedFace), nullptr, false};
}

std::optional<FaceFile> FindFaceWith(char32_t ch, const std::string& primaryFamily) {
    PatternPtr pattern = FamilyPattern(primaryFamily);
    CharSetPtr wanted(FcCharSetCreate());
    if (!pattern || !wanted || !FcCharSetAddChar(wanted.get(), ch))
        return std::nullopt;
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    // Han characters take their Japanese forms, as on the Japanese system the program is for.
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern))
        return std::nullopt;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch)
        return std::nullopt;
    FcCharSet* has = nullptr;
    if (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
        !FcCharSetHasChar(has, ch))
        return std::nullopt;
    return FileOf(match.get());
}

FaceResolver::FaceResolver(Notice notice)
    : m_notice(notice ? std::move(notice) : Notice(WriteToStandardError)) {}

const std::vector<FaceFile>& FaceResolver::Candidates(const std::string& family, int weight,
                                                      bool italic, bool japanese) {
    const auto key = std::make_tuple(family, weight, italic, japanese);
    if (auto found = m_matches.find(key); found != m_matches.end())
        return found->second;
    std::vector<FaceFile> files;
    if (auto best = BestFace(family, weight, italic, japanese))
        files.push_back(*best);
    for (const FaceFile& file : AnyScalable()) {
        if (std::find(files.begin(), files.end(), file) == files.end())
            files.push_back(file);
    }
    return m_matches.emplace(key, std::move(files)).first->second;
}

// Fontconfig always matches some face; for a Japanese family it must be that family or at
// least a face with Japanese glyphs, or the program's own text shows as boxes.
std::optional<FaceFile> FaceResolver::BestFace(const std::string& family, int weight, bool italic,
                                               bool japanese) {
    PatternPtr match = BestMatch(StylePattern(family, weight, italic));
    if (!japanese || (match && HasFamily(match.get(), family)))
        return match ? FileOf(match.get()) : std::nullopt;
    PatternPtr japaneseStyle = StylePattern(family, weight, italic);
    if (japaneseStyle)
        FcPatternAddString(japaneseStyle.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    if (PatternPtr standIn = BestMatch(std::move(japaneseStyle));
        standIn && ShowsJapanese(standIn.get())) {
        NoticeOnce(family, family + " is not installed; " + FirstFamily(standIn.get()) +
                               " stands in (Debian package: fonts-ipafont-gothic)");
        return FileOf(standIn.get());
    }
    // Said once for every family alike: the remedy is the same.
    NoticeOnce({},
               "no Japanese font found (Debian package: fonts-ipafont-gothic); Japanese "
               "text shows as boxes");
    return match ? FileOf(match.get()) : std::nullopt;
}

void FaceResolver::NoticeOnce(const std::string& key, const std::string& text) {
    if (m_noticed.insert(key).second)
        m_notice(text);
}

void FaceResolver::Clear() {
    m_matches.clear();
    m_anyScalable.reset();
}

// The last resort when fontconfig matches nothing: scalable faces in a fixed order, TrueType
// and OpenType before the rest, so the outcome does not depend on fontconfig's cache order.
const std::vector<FaceFile>& FaceResolver::AnyScalable() {
    if (m_anyScalable)
        return *m_anyScalable;
    constexpr std::size_t kKept = 4;
    struct Listed {
        bool sfnt;
        FaceFile file;
    };
    std::vector<Listed> listed;
    PatternPtr pattern(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FONTFORMAT, nullptr));
    if (pattern && objects) {
        FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
        FontSetPtr fonts(FcFontList(nullptr, pattern.get(), objects.get()));
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            auto file = FileOf(fonts->fonts[i]);
            if (!file)
                continue;
            FcChar8* format = nullptr;
            FcPatternGetString(fonts->fonts[i], FC_FONTFORMAT, 0, &format);
            const std::string_view formatName = format ? reinterpret_cast<const char*>(format) : "";
            listed.push_back({formatName == "TrueType" || formatName == "CFF", *file});
        }
    }
    std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
        if (a.sfnt != b.sfnt)
            return a.sfnt;
        return std::tie(a.file.path, a.file.index) < std::tie(b.file.path, b.file.index);
    });
    m_anyScalable.emplace();
    for (std::size_t i = 0; i < listed.size() && i < kKept; ++i)
        m_anyScalable->push_back(listed[i].file);
    return *m_anyScalable;
}

}  // namespace winapi::font
