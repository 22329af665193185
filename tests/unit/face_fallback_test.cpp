// The dialog faces on a system without the IPA fonts, under fontconfig configurations that the
// test makes: a missing Japanese face gives way to the nearest Japanese face, or to any face
// when there is none, and the resolver says which, once.
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/winapi/font/face_resolver.h"

namespace winapi::font {
namespace {

constexpr const char* kStandInNotice =
    "IPAGothic is not installed; IPAPGothic stands in (Debian package: fonts-ipafont-gothic)";
constexpr const char* kNoJapaneseNotice =
    "no Japanese font found (Debian package: fonts-ipafont-gothic); Japanese text shows as boxes";

// The folder of a family's file under the system's own configuration; empty without it.
std::string SystemFolderOf(const char* family) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    std::string folder;
    FcChar8* file = nullptr;
    if (fonts != nullptr && fonts->nfont > 0 &&
        FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &file) == FcResultMatch)
        folder = std::filesystem::path(reinterpret_cast<const char*>(file)).parent_path();
    if (fonts != nullptr)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return folder;
}

std::string FamilyOf(const std::vector<FaceFile>& candidates) {
    if (candidates.empty())
        return {};
    auto face = FreeTypeFace::Open(candidates.front());
    return face ? face->Family() : std::string();
}

class FaceFallback : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dejaVu = SystemFolderOf("DejaVu Sans");
        s_ipaGothic = SystemFolderOf("IPAPGothic");
        s_cache = std::filesystem::path(testing::TempDir()) /
                  ("face_fallback_cache_" + std::to_string(getpid()));
    }

    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(s_cache, ignored);
    }

    void SetUp() override {
        if (s_dejaVu.empty() || s_ipaGothic.empty())
            GTEST_SKIP() << "needs the DejaVu and IPA Gothic fonts (fonts-dejavu-core, "
                            "fonts-ipafont-gothic)";
        m_previous = FcConfigReference(nullptr);
    }

    void TearDown() override {
        if (m_previous == nullptr)
            return;
        FcConfigSetCurrent(m_previous);
        FcConfigDestroy(m_previous);
    }

    // Fontconfig from here on sees only these folders, less every face of rejectedFamily.
    void SeeOnly(const std::vector<std::string>& folders, const std::string& rejectedFamily = {}) {
        std::string xml = "<?xml version=\"1.0\"?><fontconfig>";
        for (const std::string& folder : folders)
            xml += "<dir>" + folder + "</dir>";
        if (!rejectedFamily.empty()) {
            xml += "<selectfont><rejectfont><pattern><patelt name=\"family\"><string>" +
                   rejectedFamily + "</string></patelt></pattern></rejectfont></selectfont>";
        }
        xml += "<cachedir>" + s_cache.string() + "</cachedir></fontconfig>";
        FcConfig* config = FcConfigCreate();
        ASSERT_TRUE(FcConfigParseAndLoadFromMemory(
            config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue));
        ASSERT_TRUE(FcConfigBuildFonts(config));
        ASSERT_TRUE(FcConfigSetCurrent(config));
        FcConfigDestroy(config);  // the current configuration keeps its own reference
    }

    const std::vector<FaceFile>& Japanese(const std::string& family, int weight = 400,
                                          bool italic = false) {
        return m_resolver.Candidates(family, weight, italic, true);
    }

    static inline std::string s_dejaVu;
    static inline std::string s_ipaGothic;
    static inline std::filesystem::path s_cache;
    FcConfig* m_previous = nullptr;
    std::vector<std::string> m_notices;
    FaceResolver m_resolver{[this](const std::string& text) { m_notices.push_back(text); }};
};

// The dialog faces and the system faces of a Japanese system are Japanese; a face asked for by
// its own name, or a Western one, is not.
TEST(FaceNames, JapaneseFacesAreMarked) {
    struct Row {
        const char* face;
        bool japanese;
    };
    const Row rows[] = {
        {"ＭＳ ゴシック", true}, {"MS PGothic", true},   {"MS Shell Dlg", true},
        {"System", true},        {"ms 明朝", true},      {"IPAGothic", false},
        {"Tahoma", false},       {"DejaVu Sans", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(InterpretFaceName(row.face).japanese, row.japanese) << row.face;
}

TEST_F(FaceFallback, WithTheIpaFacesNothingIsSaid) {
    SeeOnly({s_dejaVu, s_ipaGothic});
    EXPECT_EQ(FamilyOf(Japanese("IPAGothic")), "IPAGothic");
    EXPECT_EQ(FamilyOf(Japanese("IPAPGothic")), "IPAPGothic");
    EXPECT_TRUE(m_notices.empty());
}

TEST_F(FaceFallback, AMissingIpaFaceGivesWayToTheNearestJapaneseFaceSaidOnce) {
    SeeOnly({s_dejaVu, s_ipaGothic}, "IPAGothic");
    EXPECT_EQ(FamilyOf(Japanese("IPAGothic")), "IPAPGothic");
    // Other weights and slants of the same family, and the family present, say nothing more.
    EXPECT_EQ(FamilyOf(Japanese("IPAGothic", 700)), "IPAPGothic");
    EXPECT_EQ(FamilyOf(Japanese("IPAGothic", 400, true)), "IPAPGothic");
    EXPECT_EQ(FamilyOf(Japanese("IPAPGothic")), "IPAPGothic");
    m_resolver.Clear();
    EXPECT_EQ(FamilyOf(Japanese("IPAGothic")), "IPAPGothic");
    EXPECT_EQ(m_notices, std::vector<std::string>{kStandInNotice});
}

TEST_F(FaceFallback, WithoutAnyJapaneseFaceTheResolverSaysSoOnceAndStillGivesAFace) {
    SeeOnly({s_dejaVu});
    const std::string fixed = FamilyOf(Japanese("IPAGothic"));
    EXPECT_EQ(fixed.rfind("DejaVu", 0), 0u) << fixed;
    EXPECT_FALSE(FamilyOf(Japanese("IPAPGothic")).empty());
    EXPECT_EQ(m_notices, std::vector<std::string>{kNoJapaneseNotice});
}

// A Western face that is missing is replaced as fontconfig sees fit, without a word.
TEST_F(FaceFallback, AMissingWesternFaceIsReplacedSilently) {
    SeeOnly({s_dejaVu});
    EXPECT_FALSE(m_resolver.Candidates("Segoe UI", 400, false).empty());
    EXPECT_FALSE(m_resolver.Candidates("IPAGothic", 400, false).empty());
    EXPECT_TRUE(m_notices.empty());
}

}  // namespace
}  // namespace winapi::font
