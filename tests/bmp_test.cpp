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

// Headers, then a palette (or bit masks) from offset 54, then the pixel rows.
Bytes Bmp(Bytes b, const std::vector<uint32_t>& palette, const Bytes& rows) {
    for (size_t i = 0; i < palette.size(); i++) Put32(&b, 54 + 4 * i, palette[i]);
    b.insert(b.end(), rows.begin(), rows.end());
    Put32(&b, 2, (uint32_t)b.size());
    return b;
}

int Decode(const Bytes& b, int w, int h, uint32_t key, std::vector<uint32_t>* out) {
    out->assign((size_t)w * h, 0xDEADBEEF);
    return DecodeBmp(b.data(), (uint32_t)b.size(), w, h, key, out->data());
}

// 3x2, 24-bit, bottom-up: rows padded to 12 bytes.
Bytes TwentyFourBit() {
    return Bmp(Header(3, 2, 24, 0), {},
               {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 9, 9, 9,  // bottom
                0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x10, 0x20, 0x30, 9, 9, 9});
}
}  // namespace

// Each layout decoded into a texture of the given size: placed at the top
// left, cropped or padded with transparent black; a colour key turns exact
// matches transparent and the file's own alpha is ignored.
TEST(Bmp, LayoutsDecodeToTopLeftPixelsWithTheColourKey) {
    const uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, K = 0xFF000000, W = 0xFFFFFFFF,
                   C = 0xFF302010;
    std::vector<uint32_t> greys;
    for (uint32_t i = 0; i < 16; i++) greys.push_back(0x00010101u * i);
    struct Case {
        const char* name;
        Bytes file;
        int w, h;
        uint32_t key;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"24-bit", TwentyFourBit(), 3, 2, 0, {K, W, C, R, G, B}},
        {"24-bit black key", TwentyFourBit(), 3, 2, K, {0, W, C, R, G, B}},
        {"24-bit green key", TwentyFourBit(), 3, 2, G, {K, W, C, R, 0, B}},
        {"24-bit padded", TwentyFourBit(), 4, 3, 0, {K, W, C, 0, R, G, B, 0, 0, 0, 0, 0}},
        {"24-bit cropped", TwentyFourBit(), 2, 1, 0, {K, W}},
        {"32-bit top-down",
         Bmp(Header(2, -2, 32, 0), {}, {1, 2, 3, 0, 4, 5, 6, 0x80, 7, 8, 9, 0xFF, 0, 0, 0, 0}),
         2,
         2,
         K,
         {0xFF030201, 0xFF060504, 0xFF090807, 0}},
        {"bitfields in a V5 header",
         Bmp(Header(1, 1, 32, 0, 124, 3), {0x0000FF00, 0x00FF0000, 0xFF000000},
             {0, 0x11, 0x22, 0x33}),
         1,
         1,
         0,
         {0xFF112233}},
        // Index 7 lies beyond the two-colour palette.
        {"8-bit",
         Bmp(Header(3, 1, 8, 2), {0x00123456, 0x0000FF00}, {1, 0, 7, 0}),
         3,
         1,
         G,
         {0, 0xFF123456, K}},
        {"4-bit",
         Bmp(Header(3, 1, 4, 16), greys, {0x2F, 0x50, 0, 0}),
         3,
         1,
         0,
         {0xFF020202, 0xFF0F0F0F, 0xFF050505}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> px;
        ASSERT_EQ(1, Decode(c.file, c.w, c.h, c.key, &px)) << c.name;
        EXPECT_EQ(px, c.pixels) << c.name;
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
    palette = Bmp(palette, {}, {});
    EXPECT_EQ(0, Decode(palette, 2, 1, 0, &px));
    EXPECT_EQ(0, Decode(TwentyFourBit(), 0, 2, 0, &px)) << "no target";
}

// The check that stands in for decoding where no pixels are kept must agree
// with the decoder on every file, also one whose pixels lie past the largest
// headers and palette the check reads.
TEST(Bmp, CheckBmpFileAgreesWithLoadingOnEveryCutAndLie) {
    Bytes full = Header(40, 3, 8, 256, 1024);
    full.resize(full.size() + 40 * 3, 5);
    Put32(&full, 2, (uint32_t)full.size());
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
        if (!b.empty()) fwrite(b.data(), 1, b.size(), f);
        fclose(f);
        EXPECT_EQ(LoadBmpPixels(path, 40, 3, 0, out.data()), CheckBmpFile(path)) << b.size();
    }
    EXPECT_EQ(1, CheckBmpFile(path) * LoadBmpPixels(path, 40, 3, 0, out.data()));
    remove(path);
    EXPECT_EQ(0, CheckBmpFile(path) + LoadBmpPixels(path, 40, 3, 0, out.data()));
}
