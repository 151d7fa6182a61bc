#include "platform/bmp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/paths.h"

namespace {
const uint32_t FILE_HEADER_SIZE = 14;
const uint32_t MAX_FILE_BYTES = 64u << 20;
const int64_t MAX_SIDE = 32768;
const uint32_t BI_RGB = 0;
const uint32_t BI_BITFIELDS = 3;
const uint32_t BI_ALPHABITFIELDS = 6;

uint16_t Read16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// A channel held under a bit mask, widened to 8 bits.
struct Channel {
    uint32_t mask;
    int shift;
    int bits;
};

Channel MakeChannel(uint32_t mask) {
    Channel c = {mask, 0, 0};
    if (!mask) return c;
    while (!(mask & 1)) {
        mask >>= 1;
        c.shift++;
    }
    while (mask & 1) {
        mask >>= 1;
        c.bits++;
    }
    return c;
}

uint32_t Extract(const Channel& c, uint32_t value) {
    if (!c.bits) return 0;
    uint32_t v = (value & c.mask) >> c.shift;
    if (c.bits >= 8) return v >> (c.bits - 8);
    uint32_t max = (1u << c.bits) - 1;
    return (v * 255 + max / 2) / max;
}

struct BmpLayout {
    const uint8_t* data;
    uint32_t size;
    int64_t width, height;  // height > 0
    bool topDown;
    int bitCount;
    uint32_t stride;
    uint32_t pixelOffset;
    uint32_t palette[256];
    uint32_t paletteCount;
    Channel red, green, blue;
};

bool ReadMasks(BmpLayout* b, uint32_t compression) {
    uint32_t masks[3];
    if (compression == BI_RGB) {
        if (b->bitCount == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
        }
    } else {
        // Right after a 40-byte header, or inside a larger one: the same place.
        uint32_t at = FILE_HEADER_SIZE + 40;
        if ((uint64_t)at + 12 > b->size) return false;
        for (int i = 0; i < 3; i++) masks[i] = Read32(b->data + at + 4 * i);
    }
    b->red = MakeChannel(masks[0]);
    b->green = MakeChannel(masks[1]);
    b->blue = MakeChannel(masks[2]);
    return true;
}

bool ReadPalette(BmpLayout* b, uint32_t headerSize, uint32_t colorsUsed) {
    uint32_t capacity = 1u << b->bitCount;
    uint32_t count = colorsUsed == 0 || colorsUsed > capacity ? capacity : colorsUsed;
    uint64_t at = (uint64_t)FILE_HEADER_SIZE + headerSize;
    uint64_t available = b->size > at ? (b->size - at) / 4 : 0;
    if (count > available) return false;
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t* p = b->data + at + 4 * i;
        b->palette[i] = (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
    }
    b->paletteCount = count;
    return true;
}

bool ParseHeaders(BmpLayout* b) {
    if (b->size < FILE_HEADER_SIZE + 40 || b->data[0] != 'B' || b->data[1] != 'M') return false;
    const uint8_t* info = b->data + FILE_HEADER_SIZE;
    uint32_t headerSize = Read32(info);
    if (headerSize < 40 || headerSize > 1024 || FILE_HEADER_SIZE + headerSize > b->size) {
        return false;
    }
    int32_t width = (int32_t)Read32(info + 4);
    int32_t height = (int32_t)Read32(info + 8);
    b->bitCount = Read16(info + 14);
    uint32_t compression = Read32(info + 16);
    b->width = width;
    b->topDown = height < 0;
    b->height = height < 0 ? -(int64_t)height : height;
    if (Read16(info + 12) != 1 || b->width <= 0 || b->height <= 0) return false;
    if (b->width > MAX_SIDE || b->height > MAX_SIDE) return false;
    int bits = b->bitCount;
    bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (paletted || bits == 24) {
        if (compression != BI_RGB) return false;
    } else if (bits == 16 || bits == 32) {
        if (compression != BI_RGB && compression != BI_BITFIELDS &&
            compression != BI_ALPHABITFIELDS) {
            return false;
        }
        if (!ReadMasks(b, compression)) return false;
    } else {
        return false;
    }
    if (paletted && !ReadPalette(b, headerSize, Read32(info + 32))) return false;
    uint64_t stride = ((uint64_t)b->width * bits + 31) / 32 * 4;
    b->stride = (uint32_t)stride;
    b->pixelOffset = Read32(b->data + 10);
    return (uint64_t)b->pixelOffset + stride * (uint64_t)b->height <= b->size;
}

uint32_t PixelRgb(const BmpLayout& b, const uint8_t* row, int64_t x) {
    switch (b.bitCount) {
        case 24: {
            const uint8_t* p = row + 3 * x;
            return (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
        }
        case 32:
        case 16: {
            uint32_t v = b.bitCount == 32 ? Read32(row + 4 * x) : Read16(row + 2 * x);
            return Extract(b.red, v) << 16 | Extract(b.green, v) << 8 | Extract(b.blue, v);
        }
        default: {
            int bits = b.bitCount;
            int64_t bitPos = x * bits;
            uint32_t byte = row[bitPos / 8];
            uint32_t index = (byte >> (8 - bits - bitPos % 8)) & ((1u << bits) - 1);
            return index < b.paletteCount ? b.palette[index] : 0;
        }
    }
}
}  // namespace

int DecodeBmp(const uint8_t* data, uint32_t size, int width, int height, uint32_t colorKey,
              uint32_t* out) {
    if (!data || !out || width <= 0 || height <= 0) return 0;
    BmpLayout b;
    memset(&b, 0, sizeof b);
    b.data = data;
    b.size = size;
    if (!ParseHeaders(&b)) return 0;
    memset(out, 0, (size_t)width * height * sizeof(uint32_t));
    int64_t rows = b.height < height ? b.height : height;
    int64_t columns = b.width < width ? b.width : width;
    for (int64_t y = 0; y < rows; y++) {
        int64_t fileRow = b.topDown ? y : b.height - 1 - y;
        const uint8_t* row = data + b.pixelOffset + (uint64_t)fileRow * b.stride;
        uint32_t* target = out + y * width;
        for (int64_t x = 0; x < columns; x++) {
            uint32_t argb = 0xFF000000u | PixelRgb(b, row, x);
            target[x] = colorKey != 0 && argb == colorKey ? 0 : argb;
        }
    }
    return 1;
}

namespace {
// ParseHeaders reads nothing past the largest info header and palette.
const uint32_t HEADER_SPAN = FILE_HEADER_SIZE + 1024 + 256 * 4;

// Reads the first `limit` bytes of the file (all of it when shorter) into a
// new buffer; *size is the whole file's size.
uint8_t* ReadBmpFile(const char* path, uint32_t limit, uint32_t* size) {
    char mapped[1024];
    if (!PlatformMapReadPath(path, mapped, sizeof mapped)) return nullptr;
    FILE* file = fopen(mapped, "rb");
    if (!file) return nullptr;
    uint8_t* data = nullptr;
    if (fseek(file, 0, SEEK_END) == 0) {
        long length = ftell(file);
        if (length > 0 && (unsigned long)length <= MAX_FILE_BYTES &&
            fseek(file, 0, SEEK_SET) == 0) {
            size_t want = (unsigned long)length < limit ? (size_t)length : limit;
            data = (uint8_t*)malloc(want);
            if (data && fread(data, 1, want, file) != want) {
                free(data);
                data = nullptr;
            }
            *size = (uint32_t)length;
        }
    }
    fclose(file);
    return data;
}
}  // namespace

int LoadBmpPixels(const char* path, int width, int height, uint32_t colorKey, uint32_t* out) {
    uint32_t size = 0;
    uint8_t* data = ReadBmpFile(path, MAX_FILE_BYTES, &size);
    int ok = data && DecodeBmp(data, size, width, height, colorKey, out);
    free(data);
    return ok;
}

int CheckBmpFile(const char* path) {
    uint32_t size = 0;
    uint8_t* data = ReadBmpFile(path, HEADER_SPAN, &size);
    if (!data) return 0;
    BmpLayout b;
    memset(&b, 0, sizeof b);
    b.data = data;
    b.size = size;
    int ok = ParseHeaders(&b);
    free(data);
    return ok;
}
