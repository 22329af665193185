// FindResource, LoadString, LoadIcon and the icon decoder, on the program's compiled resources
// and on hand-built ones.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/winapi/host.h"
#include "platform/winapi/resource/dialog_template.h"
#include "platform/winapi/resource/icon_decoder.h"
#include "platform/winapi/resource/icon_directory.h"
#include "platform/winapi/resource/menu_template.h"
#include "platform/winapi/resource/res_file.h"
#include "platform/winapi/resource/resource_lookup.h"
#include "platform/winapi/resource/stock_icon.h"
#include "platform/winapi/resource/string_table.h"

namespace winapi {
namespace {

using Bytes = std::vector<std::uint8_t>;
using resource::ChooseIconImage;
using resource::DecodeIconImage;

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

const Bytes& RealRes() {
    static const Bytes bytes = [] {
        std::ifstream in(TINTARO_RES_FILE, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

void Register(const Bytes& bytes) {
    SetModuleResources(std::as_bytes(std::span(bytes)));
}

// Every test starts with the program's own resources registered.
class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(RealRes().empty()) << "cannot read " << TINTARO_RES_FILE;
        Register(RealRes());
    }
    void TearDown() override { Register(RealRes()); }
};

std::span<const std::uint8_t> Load(HRSRC found) {
    const HGLOBAL loaded = LoadResource(nullptr, found);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    return data ? std::span(data, SizeofResource(nullptr, found)) : std::span<const std::uint8_t>();
}

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A .res image for the cases the real file does not have: the empty entry, then these.
struct ResRecord {
    std::variant<std::uint16_t, std::u16string> type;
    std::variant<std::uint16_t, std::u16string> name;
    std::uint16_t language = 0;
    Bytes data;
};

Bytes ResImage(std::vector<ResRecord> records) {
    records.insert(records.begin(), ResRecord{std::uint16_t{0}, std::uint16_t{0}, 0, {}});
    Bytes out;
    auto pad = [](Bytes& bytes) { bytes.resize((bytes.size() + 3) / 4 * 4); };
    for (const ResRecord& record : records) {
        Bytes names;
        for (const auto* field : {&record.type, &record.name}) {
            if (const auto* ordinal = std::get_if<std::uint16_t>(field)) {
                Put16(names, 0xFFFF);
                Put16(names, *ordinal);
                continue;
            }
            for (char16_t unit : std::get<std::u16string>(*field)) {
                Put16(names, unit);
            }
            Put16(names, 0);
        }
        pad(names);
        Put32(out, static_cast<std::uint32_t>(record.data.size()));
        Put32(out, static_cast<std::uint32_t>(8 + names.size() + 16));
        out.insert(out.end(), names.begin(), names.end());
        for (std::uint32_t field : {0u, 0x1030u | std::uint32_t{record.language} << 16, 0u, 0u}) {
            Put32(out, field);
        }
        out.insert(out.end(), record.data.begin(), record.data.end());
        pad(out);
    }
    return out;
}

TEST_F(Resources, FindsTheProgramsDialogByEveryFormOfItsName) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC byOrdinal = FindResourceA(nullptr, MAKEINTRESOURCE(102), RT_DIALOG);
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCE(102), RT_DIALOG), byOrdinal);
    EXPECT_EQ(FindResourceA(nullptr, "#102", RT_DIALOG), byOrdinal);
    EXPECT_EQ(FindResourceA(nullptr, "#102", "#5"), byOrdinal);
    EXPECT_EQ(FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCE(102), kJapanese), byOrdinal);

    // It loads as a whole template; what it holds is the resource script's test's to say.
    const auto bytes = Load(byOrdinal);
    const auto dialog = DialogTemplate::Parse(bytes);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->items.empty());
    EXPECT_FALSE(FreeResource(LoadResource(nullptr, byOrdinal)));
}

TEST_F(Resources, FailuresReportWin32sErrors) {
    struct Row {
        HMODULE module;
        LPCSTR name;
        LPCSTR type;
        DWORD error;
    };
    const auto foreign = reinterpret_cast<HMODULE>(0x12340000);
    const Row rows[] = {
        {nullptr, MAKEINTRESOURCE(1), RT_BITMAP, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {nullptr, MAKEINTRESOURCE(101), RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
        {nullptr, "IDD_PICKER", RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
        {nullptr, "#", RT_DIALOG, ERROR_INVALID_PARAMETER},
        {nullptr, "#12a", RT_DIALOG, ERROR_INVALID_PARAMETER},
        {nullptr, "#65536", RT_DIALOG, ERROR_INVALID_PARAMETER},
        {foreign, MAKEINTRESOURCE(102), RT_DIALOG, ERROR_INVALID_HANDLE},
    };
    for (const Row& row : rows) {
        SetLastError(0);
        EXPECT_EQ(FindResourceA(row.module, row.name, row.type), nullptr);
        EXPECT_EQ(GetLastError(), row.error);
    }

    // Made-up handles are refused, never followed.
    SetLastError(0);
    EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(0x7)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(~std::uintptr_t{0})), 0u);
    int local = 0;
    EXPECT_EQ(LockResource(&local), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);

    // A handle from an earlier registration is stale; the data is read in place from the bytes
    // registered.
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCE(102), RT_DIALOG);
    const Bytes copy = RealRes();
    Register(copy);
    EXPECT_EQ(LoadResource(nullptr, found), nullptr);
    const auto again = Load(FindResourceA(nullptr, MAKEINTRESOURCE(102), RT_DIALOG));
    EXPECT_TRUE(again.data() >= copy.data() &&
                again.data() + again.size() <= copy.data() + copy.size());

    // A module without resources.
    Register(Bytes{1, 2, 3});
    SetLastError(0);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCE(102), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
}

TEST_F(Resources, NamedResourcesMatchWithoutRegardToCase) {
    const Bytes image = ResImage({{u"CUSTOM", u"ABOUT", 0, {1, 2, 3}}});
    Register(image);
    const HRSRC found = FindResourceA(nullptr, "about", "Custom");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(Load(found).size(), 3u);
    SetLastError(0);
    EXPECT_EQ(FindResourceA(nullptr, "abou", "CUSTOM"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCE(1), "CUSTOM"), nullptr);
}

TEST(ResourceLanguage, SearchOrderFollowsFindResourceEx) {
    constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
    constexpr WORD kJapaneseNeutral = MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL);
    constexpr WORD kFrench = MAKELANGID(0x0C, SUBLANG_DEFAULT);
    constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    constexpr WORD kGerman = MAKELANGID(0x07, SUBLANG_DEFAULT);
    struct Row {
        std::vector<WORD> stored;
        WORD requested;
        WORD expected;
    };
    const Row rows[] = {
        // Exact beats everything, wherever it is.
        {{kEnglishUs, kNeutral, kJapanese}, kJapanese, kJapanese},
        // Same primary language.
        {{kEnglishUs, kJapanese}, kJapaneseNeutral, kJapanese},
        // Then neutral, then English, then the first.
        {{kEnglishUs, kGerman, kNeutral}, kFrench, kNeutral},
        {{kGerman, kEnglishUs}, kFrench, kEnglishUs},
        {{kGerman, kJapanese}, kFrench, kGerman},
        // The thread's language is neutral here.
        {{kJapanese}, kNeutral, kJapanese},
        {{kJapanese, kNeutral}, kNeutral, kNeutral},
    };
    for (const Row& row : rows) {
        std::vector<ResRecord> records;
        for (WORD language : row.stored) {
            records.push_back({std::uint16_t{10}, std::uint16_t{1}, language, {1}});
        }
        const Bytes image = ResImage(records);
        const auto file = ResFile::Parse(image);
        ASSERT_TRUE(file);
        const auto found = resource::FindResourceEntry(*file, 10, 1, row.requested);
        ASSERT_NE(found.entry, nullptr);
        EXPECT_EQ(found.entry->language, row.expected) << "requested " << row.requested;
    }
}

TEST_F(Resources, LoadStringCopiesWhatFitsWithATerminator) {
    struct Row {
        UINT id;
        int size;
        const char* expected;
    };
    const Row rows[] = {
        {103, 31, "Tintaro LE"},
        {102, 31, "Tintaro LE について ..."},
        // Only the low word of the id counts.
        {0x10000 + 103, 31, "Tintaro LE"},
        {103, 11, "Tintaro LE"},
        {103, 10, "Tintaro L"},
        {103, 5, "Tint"},
        {103, 1, ""},
        // "Tintaro LE " is 11 bytes and "に" 3 more: a cut inside it keeps none of it.
        {102, 12, "Tintaro LE "},
        {102, 14, "Tintaro LE "},
        {102, 15, "Tintaro LE に"},
    };
    for (const Row& row : rows) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        const int copied = LoadStringA(nullptr, row.id, buffer, row.size);
        EXPECT_EQ(copied, static_cast<int>(std::strlen(row.expected))) << row.size;
        EXPECT_STREQ(buffer, row.expected);
        EXPECT_EQ(buffer[row.size], '#') << "wrote past the buffer of " << row.size;
    }
}

TEST_F(Resources, LoadStringFailures) {
    char buffer[8] = "keep";
    // A zero-sized buffer is refused and left alone.
    SetLastError(0);
    EXPECT_EQ(LoadStringA(nullptr, 103, buffer, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(LoadStringA(nullptr, 103, nullptr, 8), 0);
    EXPECT_EQ(LoadStringA(nullptr, 103, buffer, -1), 0);
    // An empty slot of an existing block, and a missing block.
    for (UINT id : {104u, 96u, 5000u}) {
        std::strcpy(buffer, "keep");
        SetLastError(0);
        EXPECT_EQ(LoadStringA(nullptr, id, buffer, sizeof buffer), 0) << id;
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    }
}

// GRPICONDIR bytes: {width, height, bits, id} per entry.
Bytes IconGroup(std::initializer_list<std::array<int, 4>> entries) {
    Bytes bytes = {0, 0, 1, 0, static_cast<std::uint8_t>(entries.size()), 0};
    for (const auto& [width, height, bits, id] : entries) {
        bytes.push_back(static_cast<std::uint8_t>(width));
        bytes.push_back(static_cast<std::uint8_t>(height));
        for (const std::uint32_t field : {0, 1, bits}) {
            Put16(bytes, field);  // bColorCount and bReserved, wPlanes, wBitCount
        }
        Put32(bytes, 0);
        Put16(bytes, static_cast<std::uint32_t>(id));
    }
    return bytes;
}

TEST(IconDirectory, ChoosesTheClosestSizeNotAboveThenTheDepth) {
    struct Row {
        Bytes group;
        std::optional<std::uint16_t> expected;
    };
    const Row rows[] = {
        {IconGroup({{16, 16, 32, 1}, {32, 32, 32, 2}, {48, 48, 32, 3}}), 2},
        {IconGroup({{48, 48, 32, 3}, {16, 16, 32, 1}}), 1},
        {IconGroup({{24, 24, 32, 4}, {16, 16, 32, 1}}), 4},
        // All larger: the closest.
        {IconGroup({{64, 64, 32, 5}, {48, 48, 32, 3}}), 3},
        // 0 stands for 256.
        {IconGroup({{0, 0, 32, 6}, {64, 64, 32, 5}}), 5},
        // Same size: the display's depth, else the deepest below it.
        {IconGroup({{32, 32, 4, 7}, {32, 32, 32, 8}, {32, 32, 8, 9}}), 8},
        {IconGroup({{32, 32, 4, 7}, {32, 32, 8, 9}, {32, 32, 1, 10}}), 9},
        {IconGroup({{32, 32, 64, 11}, {32, 32, 48, 12}}), 12},
        // Size comes before depth.
        {IconGroup({{16, 16, 32, 1}, {32, 32, 4, 7}}), 7},
        {IconGroup({}), std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChooseIconImage(row.group, 32, 32), row.expected);
    }
    Bytes cut = IconGroup({{32, 32, 32, 2}});
    cut.pop_back();
    EXPECT_EQ(ChooseIconImage(cut, 32, 32), std::nullopt);
    // A count beyond the entries the bytes hold.
    Bytes overcounted = IconGroup({{32, 32, 32, 2}});
    overcounted[4] = 0xFF;
    overcounted[5] = 0xFF;
    EXPECT_EQ(ChooseIconImage(overcounted, 32, 32), std::nullopt);
    Bytes cursors = IconGroup({{32, 32, 32, 2}});
    cursors[2] = 2;
    EXPECT_EQ(ChooseIconImage(cursors, 32, 32), std::nullopt);
}

// An icon DIB: the colour rows and the mask rows, each given top-down as the picture shows.
struct Dib {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<Bytes> colorRows;
    std::vector<Bytes> maskRows;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;

    Bytes Encode() const {
        Bytes out;
        for (const std::uint32_t field :
             {40u, std::uint32_t(width), std::uint32_t(height * 2), 1u | std::uint32_t(bits) << 16,
              compression, 0u, 0u, 0u, colorsUsed, 0u}) {
            Put32(out, field);
        }
        for (std::uint32_t color : palette) {
            Put32(out, color);
        }
        auto rows = [&](const std::vector<Bytes>& top) {
            for (auto row = top.rbegin(); row != top.rend(); ++row) {
                out.insert(out.end(), row->begin(), row->end());
            }
        };
        rows(colorRows);
        rows(maskRows);
        return out;
    }
};

TEST(IconDecoder, DecodesEachDepthAndRefusesTheRest) {
    const Dib good{1, 1, 24, {}, {{1, 2, 3, 0}}, {{0, 0, 0, 0}}};
    auto with = [&](auto change) {
        Dib dib = good;
        change(dib);
        return dib;
    };
    struct Row {
        const char* what;
        Dib dib;
        std::vector<std::uint32_t> expected;  // empty: refused
    };
    const Row rows[] = {
        {"4 bits: rows bottom-up, the mask clears the top right pixel",
         Dib{2,
             2,
             4,
             {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
             {{0x12, 0, 0, 0}, {0x30, 0, 0, 0}},
             {{0x40, 0, 0, 0}, {0, 0, 0, 0}},
             0,
             4},
         {0xFFFF0000, 0x0000FF00, 0xFF0000FF, 0xFF000000}},
        {"1 bit",
         Dib{3, 1, 1, {0x000000, 0xFFFFFF}, {{0xA0, 0, 0, 0}}, {{0, 0, 0, 0}}},
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
        {"8 bits: an index past the palette shows black",
         Dib{2, 1, 8, {0x123456, 0x654321}, {{1, 7, 0, 0}}, {{0, 0, 0, 0}}, 0, 2},
         {0xFF654321, 0xFF000000}},
        {"24 bits, stored blue-green-red",
         Dib{1, 1, 24, {}, {{0x11, 0x22, 0x33, 0}}, {{0x80, 0, 0, 0}}},
         {0x00332211}},
        {"32 bits with alpha: the mask is ignored",
         Dib{2, 1, 32, {}, {{0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66, 0}}, {{0, 0, 0, 0}}},
         {0x80332211, 0x00665544}},
        {"32 bits, alpha all zero: the mask decides",
         Dib{2, 1, 32, {}, {{0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0}}, {{0x40, 0, 0, 0}}},
         {0xFF332211, 0x00665544}},
        {"a palette shorter than the depth asks for",
         Dib{1, 1, 4, {0x000000, 0xFFFFFF}, {{0x10, 0, 0, 0}}, {{0, 0, 0, 0}}},
         {}},
        {"BI_BITFIELDS", with([](Dib& dib) { dib.compression = 3; }), {}},
        {"16 bits", with([](Dib& dib) { dib.bits = 16; }), {}},
        {"wider than 256", with([](Dib& dib) { dib.width = 257; }), {}},
        {"no width", with([](Dib& dib) { dib.width = 0; }), {}},
    };
    for (const Row& row : rows) {
        const auto image = DecodeIconImage(row.dib.Encode());
        ASSERT_EQ(image.has_value(), !row.expected.empty()) << row.what;
        if (image) {
            EXPECT_EQ(image->argb, row.expected) << row.what;
        }
    }
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    png.resize(64);
    EXPECT_FALSE(DecodeIconImage(png));
    Bytes cut = good.Encode();
    cut.pop_back();
    EXPECT_FALSE(DecodeIconImage(cut)) << "without the last mask byte";
}

TEST(IconDecoder, ScalesByNearestNeighbour) {
    const gdi::IconImage small{2, 1, {0xFF0000FF, 0xFFFF0000}};
    const auto scaled = resource::ScaleIconImage(small, 4, 2);
    EXPECT_EQ(scaled.argb,
              (std::vector<std::uint32_t>{0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000,
                                          0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000}));
}

TEST_F(Resources, ProgramIconResolvesToItsDecoded32x32Image) {
    const HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCE(128), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto id = ChooseIconImage(Load(group), 32, 32);
    ASSERT_TRUE(id);
    const HRSRC icon = FindResourceA(nullptr, MAKEINTRESOURCE(*id), RT_ICON);
    ASSERT_NE(icon, nullptr);
    const auto bytes = Load(icon);
    const auto image = DecodeIconImage(bytes);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 32);
    ASSERT_EQ(image->height, 32);
    // A 32-bit image with alpha: pixel (x, y) is the BGRA quad of DIB row 31 - y.
    ASSERT_GE(bytes.size(), 40u + 32 * 32 * 4);
    int transparent = 0;
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::size_t at = 40 + static_cast<std::size_t>(((31 - y) * 32 + x) * 4);
            const std::uint32_t expected = std::uint32_t{bytes[at + 3]} << 24 |
                                           std::uint32_t{bytes[at + 2]} << 16 |
                                           std::uint32_t{bytes[at + 1]} << 8 | bytes[at];
            ASSERT_EQ(image->argb[static_cast<std::size_t>(y * 32 + x)], expected) << x << "," << y;
            transparent += (expected >> 24) == 0;
            opaque += (expected >> 24) == 0xFF;
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_GT(opaque, 0);
}

TEST(StockIcon, ApplicationIconIsAnOpaquePictureOnATransparentGround) {
    const auto icon = resource::StockApplicationIcon();
    ASSERT_EQ(icon.argb.size(), 32u * 32u);
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.argb.front() >> 24, 0u);
    EXPECT_EQ(icon.argb[16 * 32 + 16] >> 24, 0xFFu);
}

TEST_F(Resources, LoadIconSharesOneIconPerName) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HICON icon = LoadIconA(module, MAKEINTRESOURCE(128));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(module, "#128"), icon);
    const auto image = gdi::GetIconImage(icon);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);

    const HICON stock = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), stock);
    EXPECT_EQ(gdi::GetIconImage(stock)->argb, resource::StockApplicationIcon().argb);

    // Stock icons come only without a module, module icons only with one.
    SetLastError(0);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCE(128)), nullptr);
    EXPECT_EQ(LoadIconA(module, IDI_APPLICATION), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// Random byte changes and truncations of the real file and of single resources, fed to every
// reader: each may refuse, none may crash or read outside its bytes.
Bytes Mutate(const Bytes& original, std::mt19937& random) {
    auto below = [&](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
    };
    Bytes bytes = original;
    if (bytes.empty() || below(3) == 0) {
        bytes.resize(bytes.empty() ? 0 : below(bytes.size()));
        return bytes;
    }
    // Values readers treat specially half the time, else single bits.
    static constexpr std::uint8_t kSpecial[] = {0x00, 0xFF, 0x7F, 0x80, 0x01};
    for (std::size_t flips = 1 + below(8); flips > 0; --flips) {
        std::uint8_t& byte = bytes[below(bytes.size())];
        byte = below(2) == 0 ? kSpecial[below(std::size(kSpecial))]
                             : static_cast<std::uint8_t>(byte ^ (1u << below(8)));
    }
    return bytes;
}

void ExerciseModule() {
    static const std::pair<LPCSTR, LPCSTR> kLookups[] = {
        {RT_DIALOG, MAKEINTRESOURCE(100)},     {RT_DIALOG, MAKEINTRESOURCE(102)},
        {RT_DIALOG, MAKEINTRESOURCE(134)},     {RT_MENU, MAKEINTRESOURCE(134)},
        {RT_GROUP_ICON, MAKEINTRESOURCE(128)}, {RT_ICON, MAKEINTRESOURCE(1)},
        {RT_ICON, MAKEINTRESOURCE(2)},         {RT_STRING, MAKEINTRESOURCE(7)},
    };
    for (const auto& [type, name] : kLookups) {
        const HRSRC found = FindResourceA(nullptr, name, type);
        if (!found) {
            continue;
        }
        const auto bytes = Load(found);
        (void)DialogTemplate::Parse(bytes);
        (void)MenuTemplate::Parse(bytes);
        (void)DecodeIconImage(bytes);
        if (const auto id = ChooseIconImage(bytes, 32, 32)) {
            (void)FindResourceA(nullptr, MAKEINTRESOURCE(*id), RT_ICON);
        }
    }
    char buffer[16];
    for (UINT id : {102u, 103u, 104u}) {
        const int copied = LoadStringA(nullptr, id, buffer, sizeof buffer);
        ASSERT_GE(copied, 0);
        ASSERT_LT(copied, static_cast<int>(sizeof buffer));
        ASSERT_EQ(buffer[copied], '\0');
    }
}

TEST_F(Resources, CorruptedResourcesAreRefusedSafely) {
    std::mt19937 random(20260101);
    for (int round = 0; round < 1500; ++round) {
        const Bytes bytes = Mutate(RealRes(), random);
        Register(bytes);
        ExerciseModule();
    }
    Register(RealRes());

    const auto file = ResFile::Parse(RealRes());
    ASSERT_TRUE(file);
    for (const ResEntry& entry : file->Entries()) {
        const Bytes original(entry.bytes.begin(), entry.bytes.end());
        for (int round = 0; round < 300; ++round) {
            const Bytes bytes = Mutate(original, random);
            (void)DialogTemplate::Parse(bytes);
            (void)MenuTemplate::Parse(bytes);
            (void)DecodeIconImage(bytes);
            (void)ChooseIconImage(bytes, 32, 32);
            const Bytes image = ResImage({{std::uint16_t{6}, std::uint16_t{7}, kJapanese, bytes}});
            if (const auto strings = ResFile::Parse(image)) {
                (void)FindString(*strings, 102);
                (void)FindString(*strings, 111);
            }
        }
    }
}

}  // namespace
}  // namespace winapi
