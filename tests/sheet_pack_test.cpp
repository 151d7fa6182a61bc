// The packed form that sheets wait in until first drawn: every pixel must
// come back exactly, whatever mix of runs, repeated rows and literals.
#include "platform/sheet_pack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {
std::vector<uint32_t> RoundTrip(const std::vector<uint32_t>& pixels, int width, int height,
                                size_t* packedSize = nullptr) {
    size_t size = 0;
    uint8_t* packed = PackSheet(pixels.data(), width, height, &size);
    EXPECT_NE(nullptr, packed);
    std::vector<uint32_t> out(pixels.size(), 0xDEADBEEFu);
    EXPECT_EQ(1, UnpackSheet(packed, size, width, height, out.data()));
    free(packed);
    if (packedSize) *packedSize = size;
    return out;
}
}  // namespace

TEST(SheetPack, EveryKindOfContentComesBackExactly) {
    const int w = 97, h = 61;  // odd sizes: runs and repeats cross row ends
    std::vector<uint32_t> pixels(w * h);
    uint32_t seed = 12345;
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            seed = seed * 1103515245u + 12345u;
            uint32_t noise = 0xFF000000u | seed >> 8;
            uint32_t& p = pixels[y * w + x];
            if (y < 10)
                p = 0xFF123456;  // one long run over rows
            else if (y < 20)
                p = (x % 2) ? 0 : noise;  // clear and opaque alternating
            else if (y < 30)
                p = pixels[(y - 10) * w + x];  // rows repeated from above
            else if (y < 40)
                p = x < 50 ? noise : 0x00000000;  // literals, then keyed
            else if (y < 45)
                p = 0x80FF00FFu + (x / 3);  // translucent short runs
            else
                p = noise;  // nothing to share
        }
    }
    EXPECT_EQ(pixels, RoundTrip(pixels, w, h));
}

TEST(SheetPack, TokensLongerThanTheirCountSplit) {
    // Width 1 repeats the pixel above every step.
    const int w = 300, h = 200;
    std::vector<uint32_t> flat(w * h, 0xFF00FF00u), stripes(w * h);
    for (int i = 0; i < w * h; i++) stripes[i] = 0xFF000000u | (uint32_t)(i % w) * 0x010101u;
    size_t flatSize = 0;
    EXPECT_EQ(flat, RoundTrip(flat, w, h, &flatSize));
    EXPECT_LT(flatSize, 100u);
    EXPECT_EQ(stripes, RoundTrip(stripes, w, h));
    std::vector<uint32_t> column(70000);
    for (size_t i = 0; i < column.size(); i++) column[i] = i < 5 ? 0xFF000000u + (uint32_t)i : 7;
    EXPECT_EQ(column, RoundTrip(column, 1, (int)column.size()));
}

TEST(SheetPack, ShortOrMismatchedDataIsRefused) {
    const int w = 16, h = 16;
    std::vector<uint32_t> pixels(w * h);
    for (int i = 0; i < w * h; i++) pixels[i] = 0xFF000000u | (uint32_t)(i * 7919);
    size_t size = 0;
    uint8_t* packed = PackSheet(pixels.data(), w, h, &size);
    ASSERT_NE(nullptr, packed);
    std::vector<uint32_t> out(w * h * 2);
    for (size_t cut = 0; cut < size; cut++) {
        EXPECT_EQ(0, UnpackSheet(packed, cut, w, h, out.data())) << cut;
    }
    EXPECT_EQ(0, UnpackSheet(packed, size, w, h * 2, out.data()));  // more pixels than packed
    EXPECT_EQ(0, UnpackSheet(packed, size, 0, h, out.data()));
    free(packed);
}
