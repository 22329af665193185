#include <gtest/gtest.h>

#include "color/color_value.h"

namespace color {
namespace {

struct PackRow {
    int red, green, blue;
    ColorRef packed;
};

// Byte order 0x00BBGGRR, and only the low 8 bits of each channel are kept.
TEST(PackRgb, PacksLowBytesInColorRefOrder) {
    const PackRow rows[] = {
        {0, 0, 0, 0x00000000},   {255, 255, 255, 0x00FFFFFF},    {255, 0, 0, 0x000000FF},
        {0, 255, 0, 0x0000FF00}, {0, 0, 255, 0x00FF0000},        {18, 52, 86, 0x00563412},
        {300, 0, 0, 0x0000002C}, {0, 256, 0, 0x00000000},        {-1, 0, 0, 0x000000FF},
        {0, 0, 511, 0x00FF0000}, {-256, -255, 1000, 0x00E80100},
    };
    for (const PackRow& row : rows) {
        EXPECT_EQ(PackRgb(row.red, row.green, row.blue), row.packed)
            << row.red << ", " << row.green << ", " << row.blue;
    }
}

TEST(UnpackRgb, YieldsEachByteAndIgnoresTheTopByte) {
    EXPECT_EQ(UnpackRgb(0x00563412), (ChannelTriple{18, 52, 86}));
    EXPECT_EQ(UnpackRgb(kWhite), (ChannelTriple{255, 255, 255}));
    EXPECT_EQ(UnpackRgb(0x00000000), (ChannelTriple{0, 0, 0}));
    // The failure value of a pixel read has all 32 bits set; its channels are its three low bytes.
    EXPECT_EQ(UnpackRgb(0xFFFFFFFF), (ChannelTriple{255, 255, 255}));
    EXPECT_EQ(UnpackRgb(0x01020304), (ChannelTriple{4, 3, 2}));
}

TEST(PackRgb, RoundTripsEveryByteOfEachChannel) {
    for (int v = 0; v < 256; ++v) {
        const int other = 255 - v;
        EXPECT_EQ(UnpackRgb(PackRgb(v, other, v / 2)), (ChannelTriple{v, other, v / 2}));
        EXPECT_EQ(UnpackRgb(PackRgb(other, v / 3, v)), (ChannelTriple{other, v / 3, v}));
    }
}

}  // namespace
}  // namespace color
