#include "platform/sheet_pack.h"

#include <cstdlib>
#include <cstring>

namespace {
// Each token: a 16-bit header, kind in the top two bits, count - 1 below.
enum Kind { OPAQUE_LITERAL = 0, RUN = 1, ABOVE = 2, LITERAL = 3 };
const size_t MAX_COUNT = 1 << 14;
const size_t MIN_REPEAT = 3;  // shorter repeats cost more as tokens than as literals

uint8_t* PutHeader(uint8_t* p, Kind kind, size_t count) {
    uint16_t header = (uint16_t)((unsigned)kind << 14 | (unsigned)(count - 1));
    p[0] = (uint8_t)header;
    p[1] = (uint8_t)(header >> 8);
    return p + 2;
}

uint8_t* PutLiterals(uint8_t* p, const uint32_t* pixels, size_t count, bool opaque) {
    p = PutHeader(p, opaque ? OPAQUE_LITERAL : LITERAL, count);
    int bytes = opaque ? 3 : 4;
    for (size_t i = 0; i < count; i++) {
        for (int b = 0; b < bytes; b++) *p++ = (uint8_t)(pixels[i] >> (8 * b));
    }
    return p;
}

uint32_t GetPixel(const uint8_t* p, int bytes) {
    uint32_t v = bytes == 3 ? 0xFF000000u : 0;
    for (int b = 0; b < bytes; b++) v |= (uint32_t)p[b] << (8 * b);
    return v;
}
}  // namespace

uint8_t* PackSheet(const uint32_t* pixels, int width, int height, size_t* size) {
    size_t n = (size_t)width * height, w = (size_t)width;
    // The worst case alternates opaque and clear literals; only the pages
    // written are ever touched.
    uint8_t* scratch = (uint8_t*)malloc(6 * n + 16);
    if (!scratch) return nullptr;
    uint8_t* p = scratch;
    size_t literalStart = 0, literalCount = 0;
    bool literalOpaque = true;
    auto flush = [&]() {
        if (literalCount) p = PutLiterals(p, pixels + literalStart, literalCount, literalOpaque);
        literalCount = 0;
    };
    for (size_t i = 0; i < n;) {
        size_t limit = n - i < MAX_COUNT ? n - i : MAX_COUNT;
        size_t run = 1, above = 0;
        while (run < limit && pixels[i + run] == pixels[i]) run++;
        if (i >= w) {
            while (above < limit && pixels[i + above] == pixels[i + above - w]) above++;
        }
        if (above >= MIN_REPEAT && above >= run) {
            flush();
            p = PutHeader(p, ABOVE, above);
            i += above;
        } else if (run >= MIN_REPEAT) {
            flush();
            p = PutHeader(p, RUN, run);
            for (int b = 0; b < 4; b++) *p++ = (uint8_t)(pixels[i] >> (8 * b));
            i += run;
        } else {
            bool opaque = pixels[i] >> 24 == 0xFF;
            if (literalCount && (opaque != literalOpaque || literalCount == MAX_COUNT)) flush();
            if (!literalCount) literalStart = i, literalOpaque = opaque;
            literalCount++;
            i++;
        }
    }
    flush();
    *size = (size_t)(p - scratch);
    uint8_t* packed = (uint8_t*)malloc(*size ? *size : 1);
    if (packed) memcpy(packed, scratch, *size);
    free(scratch);
    return packed;
}

int UnpackSheet(const uint8_t* data, size_t size, int width, int height, uint32_t* out) {
    if (!data || !out || width <= 0 || height <= 0) return 0;
    size_t n = (size_t)width * height, w = (size_t)width, at = 0, i = 0;
    while (i < n) {
        if (size - at < 2) return 0;
        unsigned header = data[at] | (unsigned)data[at + 1] << 8;
        at += 2;
        Kind kind = (Kind)(header >> 14);
        size_t count = (header & (MAX_COUNT - 1)) + 1;
        if (count > n - i) return 0;
        uint32_t* target = out + i;
        if (kind == RUN) {
            if (size - at < 4) return 0;
            uint32_t v = GetPixel(data + at, 4);
            at += 4;
            for (size_t k = 0; k < count; k++) target[k] = v;
        } else if (kind == ABOVE) {
            if (i < w) return 0;
            // Longer than a row, the copy overlaps itself: forwards, pixel by pixel.
            if (count <= w) {
                memcpy(target, target - w, count * sizeof(uint32_t));
            } else {
                for (size_t k = 0; k < count; k++) target[k] = target[k - w];
            }
        } else if (kind == OPAQUE_LITERAL) {
            if ((size - at) / 3 < count) return 0;
            const uint8_t* p = data + at;
            for (size_t k = 0; k < count; k++, p += 3) {
                target[k] = 0xFF000000u | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
            }
            at += 3 * count;
        } else {
            if ((size - at) / 4 < count) return 0;
            for (size_t k = 0; k < count; k++) target[k] = GetPixel(data + at + 4 * k, 4);
            at += 4 * count;
        }
        i += count;
    }
    return 1;
}
