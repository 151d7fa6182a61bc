// The BMP reader: layouts byte for byte, colour keys, placement in the
// texture, and refusal of every short or lying file.
#include "platform/bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
typedef std::vector<uint8_t> Bytes;

void Put16(Bytes* b, size_t at, uint32_t v) {
    (*b)[at] = v & 0xFF;
    (*b)[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes* b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// Headers for a width x height bitmap; rows appended by the caller.
Bytes Header(int32_t width, int32_t height, int bits, uint32_t paletteCount, uint32_t infoSize = 40,
             uint32_t compression = 0) {
    size_t pixelOffset =
        14 + infoSize + (compression == 3 && infoSize == 40 ? 12 : 0) + 4 * paletteCount;
    Bytes b(pixelOffset, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(&b, 10, (uint32_t)pixelOffset);
    Put32(&b, 14, infoSize);
    Put32(&b, 18, (uint32_t)width);
    Put32(&b, 22, (uint32_t)height);
    Put16(&b, 26, 1);
    Put16(&b, 28, bits);
    Put32(&b, 30, compression);
    Put32(&b, 46, paletteCount);
    return b;
}

void Finish(Bytes* b) { Put32(b, 2, (uint32_t)b->size()); }

int Decode(const Bytes& b, int w, int h, uint32_t key, std::vector<uint32_t>* out) {
    out->assign((size_t)w * h, 0xDEADBEEF);
    return DecodeBmp(b.data(), (uint32_t)b.size(), w, h, key, out->data());
}

// 3x2, 24-bit, bottom-up: rows padded to 12 bytes.
Bytes TwentyFourBit() {
    Bytes b = Header(3, 2, 24, 0);
    const uint8_t bottom[12] = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 9, 9, 9};
    const uint8_t top[12] = {0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x10, 0x20, 0x30, 9, 9, 9};
    b.insert(b.end(), bottom, bottom + 12);
    b.insert(b.end(), top, top + 12);
    Finish(&b);
    return b;
}
}  // namespace

TEST(Bmp, TwentyFourBitBottomUpWithRowPadding) {
    std::vector<uint32_t> px;
    ASSERT_EQ(1, Decode(TwentyFourBit(), 3, 2, 0, &px));
    const uint32_t expected[6] = {0xFF000000, 0xFFFFFFFF, 0xFF302010,
                                  0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < 6; i++) EXPECT_EQ(expected[i], px[i]) << i;
}

TEST(Bmp, ColourKeyMakesExactMatchesTransparentBlack) {
    std::vector<uint32_t> px;
    ASSERT_EQ(1, Decode(TwentyFourBit(), 3, 2, 0xFF000000, &px));
    EXPECT_EQ(0u, px[0]);
    EXPECT_EQ(0xFF302010u, px[2]);
    ASSERT_EQ(1, Decode(TwentyFourBit(), 3, 2, 0xFF00FF00, &px));
    EXPECT_EQ(0xFF000000u, px[0]);  // black stays opaque under a green key
    EXPECT_EQ(0u, px[4]);
}

TEST(Bmp, PlacedAtTopLeftCroppedOrPadded) {
    std::vector<uint32_t> px;
    ASSERT_EQ(1, Decode(TwentyFourBit(), 4, 3, 0, &px));
    EXPECT_EQ(0xFF302010u, px[2]);
    EXPECT_EQ(0u, px[3]);  // padding column
    EXPECT_EQ(0xFF0000FFu, px[4 + 2]);
    for (int x = 0; x < 4; x++) EXPECT_EQ(0u, px[8 + x]);  // padding row
    ASSERT_EQ(1, Decode(TwentyFourBit(), 2, 1, 0, &px));
    EXPECT_EQ(0xFF000000u, px[0]);
    EXPECT_EQ(0xFFFFFFFFu, px[1]);
}

TEST(Bmp, ThirtyTwoBitTopDownIgnoresFileAlpha) {
    Bytes b = Header(2, -2, 32, 0);
    const uint8_t rows[16] = {1, 2, 3, 0, 4, 5, 6, 0x80, 7, 8, 9, 0xFF, 0, 0, 0, 0};
    b.insert(b.end(), rows, rows + 16);
    Finish(&b);
    std::vector<uint32_t> px;
    ASSERT_EQ(1, Decode(b, 2, 2, 0xFF000000, &px));
    EXPECT_EQ(0xFF030201u, px[0]);
    EXPECT_EQ(0xFF060504u, px[1]);
    EXPECT_EQ(0xFF090807u, px[2]);
    EXPECT_EQ(0u, px[3]);
}

TEST(Bmp, BitfieldsInV5Header) {
    Bytes b = Header(1, 1, 32, 0, 124, 3);
    Put32(&b, 54, 0x0000FF00);  // red
    Put32(&b, 58, 0x00FF0000);  // green
    Put32(&b, 62, 0xFF000000);  // blue
    const uint8_t pixel[4] = {0, 0x11, 0x22, 0x33};
    b.insert(b.end(), pixel, pixel + 4);
    Finish(&b);
    std::vector<uint32_t> px;
    ASSERT_EQ(1, Decode(b, 1, 1, 0, &px));
    EXPECT_EQ(0xFF112233u, px[0]);
}

TEST(Bmp, PalettedEightAndFourBit) {
    Bytes b8 = Header(3, 1, 8, 2);
    Put32(&b8, 54, 0x00123456);
    Put32(&b8, 58, 0x0000FF00);
    const uint8_t row8[4] = {1, 0, 7, 0};  // index 7 is beyond the palette
    b8.insert(b8.end(), row8, row8 + 4);
    Finish(&b8);
    std::vector<uint32_t> px;
    ASSERT_EQ(1, Decode(b8, 3, 1, 0xFF00FF00, &px));
    EXPECT_EQ(0u, px[0]);
    EXPECT_EQ(0xFF123456u, px[1]);
    EXPECT_EQ(0xFF000000u, px[2]);

    Bytes b4 = Header(3, 1, 4, 16);
    for (int i = 0; i < 16; i++) Put32(&b4, 54 + 4 * i, 0x00010101u * (uint32_t)i);
    const uint8_t row4[4] = {0x2F, 0x50, 0, 0};
    b4.insert(b4.end(), row4, row4 + 4);
    Finish(&b4);
    ASSERT_EQ(1, Decode(b4, 3, 1, 0, &px));
    EXPECT_EQ(0xFF020202u, px[0]);
    EXPECT_EQ(0xFF0F0F0Fu, px[1]);
    EXPECT_EQ(0xFF050505u, px[2]);
}

TEST(Bmp, EveryTruncationIsRefusedWithoutTouchingPastTheEnd) {
    Bytes full = TwentyFourBit();
    for (size_t length = 0; length < full.size(); length++) {
        // An exact-size heap copy lets the sanitizers catch any over-read.
        std::vector<uint8_t> cut(full.begin(), full.begin() + length);
        uint32_t out[6];
        EXPECT_EQ(0, DecodeBmp(cut.data(), (uint32_t)length, 3, 2, 0, out)) << length;
    }
}

TEST(Bmp, LyingHeadersAreRefused) {
    std::vector<uint32_t> px;
    Bytes b = TwentyFourBit();
    b[0] = 'X';
    EXPECT_EQ(0, Decode(b, 3, 2, 0, &px));
    struct Lie {
        size_t at;
        uint32_t value;
        int bytes;
    };
    const Lie lies[] = {
        {10, 0xFFFFFFF0u, 4},  // pixel offset past the end
        {14, 0xFFFFFFFFu, 4},  // header size
        {14, 12, 4},           // core header
        {18, 0x7FFFFFFFu, 4},  // width
        {22, 0x80000000u, 4},  // height INT_MIN
        {22, 0x40000000u, 4},  // height
        {18, 0, 4},            // empty
        {26, 2, 2},            // planes
        {28, 7, 2},            // bits per pixel
        {30, 1, 4},            // RLE8
        {30, 4, 4},            // JPEG
    };
    for (const Lie& lie : lies) {
        Bytes bad = TwentyFourBit();
        if (lie.bytes == 2) {
            Put16(&bad, lie.at, lie.value);
        } else {
            Put32(&bad, lie.at, lie.value);
        }
        EXPECT_EQ(0, Decode(bad, 3, 2, 0, &px)) << lie.at << " " << lie.value;
    }
    Bytes palette = Header(2, 1, 8, 0x40000000u);  // a palette bigger than the file
    palette.resize(palette.size() > 80 ? 80 : palette.size());
    Finish(&palette);
    EXPECT_EQ(0, Decode(palette, 2, 1, 0, &px));
}

TEST(Bmp, MissingFileAndBadTargetsFail) {
    uint32_t out[4];
    EXPECT_EQ(0, LoadBmpPixels("no\\such\\file.bmp", 2, 2, 0, out));
    Bytes b = TwentyFourBit();
    EXPECT_EQ(0, DecodeBmp(b.data(), (uint32_t)b.size(), 0, 2, 0, out));
    EXPECT_EQ(0, DecodeBmp(nullptr, 100, 2, 2, 0, out));
}

// The check that stands in for decoding where no pixels are kept must agree
// with the decoder on every file, also one whose pixels lie past the largest
// headers and palette the check reads.
TEST(Bmp, CheckBmpFileAgreesWithLoadingOnEveryCutAndLie) {
    Bytes full = Header(40, 3, 8, 256, 1024);
    full.resize(full.size() + 40 * 3, 5);
    Finish(&full);
    std::vector<Bytes> files;
    // Every cut within the fixed headers and at the ends of the info header,
    // the palette and the pixels; a sample in between.
    for (size_t length = 0; length <= full.size(); length++) {
        bool edge = length < 70 || (length + 4) % 1024 < 48 || length + 4 > full.size();
        if (edge || length % 97 == 0) files.emplace_back(full.begin(), full.begin() + length);
    }
    const size_t lies[] = {0, 10, 14, 18, 22, 26, 28, 30, 46};
    for (size_t at : lies) {
        Bytes bad = full;
        Put32(&bad, at, 0x7FFFFFF0u);
        files.push_back(bad);
    }
    files.push_back(full);
    std::vector<uint32_t> out(40 * 3);
    const char* path = "check-bmp-file.bmp";
    for (const Bytes& b : files) {
        FILE* f = fopen(path, "wb");
        ASSERT_TRUE(f);
        fwrite(b.data(), 1, b.size(), f);
        fclose(f);
        EXPECT_EQ(LoadBmpPixels(path, 40, 3, 0, out.data()), CheckBmpFile(path)) << b.size();
    }
    EXPECT_EQ(1, CheckBmpFile(path) * LoadBmpPixels(path, 40, 3, 0, out.data()));
    remove(path);
    EXPECT_EQ(0, CheckBmpFile(path));
}
