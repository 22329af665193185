// The faces kept between runs: an answer is found again only while everything fontconfig's
// choice depends on is unchanged, and a damaged file loses nothing but the time it saves.
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/winapi/font/face_cache.h"
#include "platform/winapi/font/face_resolver.h"

namespace winapi::font {
namespace {

namespace fs = std::filesystem;

class FaceCacheTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FcInit());
        m_folder = fs::path(testing::TempDir()) / ("face_cache_" + std::to_string(getpid()));
        fs::create_directories(m_folder);
        // A configuration file of fontconfig's own naming, stamped like the others.
        m_config = (m_folder / "fonts.conf").string();
        std::ofstream(m_config) << "<fontconfig/>";
        setenv("FONTCONFIG_FILE", m_config.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("FONTCONFIG_FILE");
        unsetenv("FC_LANG");
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    std::string CachePath() const { return (m_folder / "cache" / "faces").string(); }
    std::optional<std::string> FoundAfterRestart(const std::string& key) const {
        FaceCache next(CachePath());
        return next.Find(key);
    }

    fs::path m_folder;
    std::string m_config;
};

TEST_F(FaceCacheTest, AnswersLastUntilWhatTheyDependOnChanges) {
    FaceCache cache(CachePath());
    EXPECT_FALSE(cache.Find("k"));
    cache.Store("k", std::string("two\nlines\0and a nul", 19));
    cache.Store("other", "");
    EXPECT_EQ(FoundAfterRestart("k"), std::string("two\nlines\0and a nul", 19));
    EXPECT_EQ(FoundAfterRestart("other"), "");

    // The environment fontconfig reads.
    setenv("FC_LANG", "fr", 1);
    EXPECT_FALSE(FoundAfterRestart("k"));
    unsetenv("FC_LANG");
    EXPECT_TRUE(FoundAfterRestart("k"));

    // A configuration file rewritten, even to the same size.
    fs::last_write_time(m_config, fs::last_write_time(m_config) + std::chrono::seconds(5));
    EXPECT_FALSE(FoundAfterRestart("k"));
}

// Damaged, foreign or empty files are not read as answers; the next answer writes a good one.
TEST_F(FaceCacheTest, ADamagedFileIsIgnoredAndReplaced) {
    {
        FaceCache cache(CachePath());
        cache.Store("k", "v");
    }
    std::string good;
    {
        std::ifstream in(CachePath(), std::ios::binary);
        good.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(good.size(), 40u);
    for (const std::string& damaged :
         {good.substr(0, good.size() - 3), std::string(), "not ours\n" + good.substr(16),
          good.substr(0, 20) + "999999999999\n" + good.substr(20),
          std::string(good).replace(good.rfind("A "), 1, "Z")}) {
        std::ofstream(CachePath(), std::ios::binary | std::ios::trunc) << damaged;
        EXPECT_FALSE(FoundAfterRestart("k"));
        FaceCache cache(CachePath());
        cache.Store("k2", "v2");
        EXPECT_EQ(FoundAfterRestart("k2"), "v2");
    }
}

// A resolver with a cache gives the answers fontconfig gave, and says their notices again.
TEST_F(FaceCacheTest, AResolverTakesKeptAnswersWithTheirNotices) {
    std::vector<std::string> notices;
    const auto notice = [&](const std::string& text) { notices.push_back(text); };
    FaceCache first(CachePath());
    FaceResolver fresh(notice, &first);
    const std::vector<FaceFile> resolved =
        fresh.Candidates("NoSuchFamilyAnywhere", 400, false, true);
    ASSERT_FALSE(resolved.empty());
    const std::vector<std::string> said = notices;
    ASSERT_EQ(said.size(), 1u);

    notices.clear();
    FaceCache second(CachePath());
    FaceResolver kept(notice, &second);
    EXPECT_EQ(kept.Candidates("NoSuchFamilyAnywhere", 400, false, true), resolved);
    EXPECT_EQ(notices, said);
    EXPECT_EQ(FaceResolver(notice).Candidates("NoSuchFamilyAnywhere", 400, false, true), resolved);
}

}  // namespace
}  // namespace winapi::font
