// Our own reader for uncompressed BMP files (24- and 32-bit, and 8-bit
// palettes), so that a short or garbage file is refused, never over-read.
#pragma once
#include <cstdint>

// Decodes `path` into a width x height ARGB buffer, the bitmap placed 1:1 at
// the top-left (cropped or padded with transparent black). Pixels equal to
// colorKey (when nonzero) become 0x00000000. Returns 1 on success.
int LoadBmpPixels(const char* path, int width, int height, uint32_t colorKey, uint32_t* out);
// Whether LoadBmpPixels would decode `path`, without decoding it.
int CheckBmpFile(const char* path);
// The same from a buffer already in memory.
int DecodeBmp(const uint8_t* data, uint32_t size, int width, int height, uint32_t colorKey,
              uint32_t* out);
