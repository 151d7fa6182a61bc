// A compact in-memory form of a decoded sheet, so that sheets no scene has
// drawn yet do not hold four bytes a pixel. Lossless: runs of one colour,
// runs repeating the row above, and literal colours (three bytes where
// opaque). Only ever unpacked from what PackSheet wrote.
#pragma once
#include <cstddef>
#include <cstdint>

// Packs width x height ARGB pixels into a new malloc'd buffer of `*size`
// bytes; null when out of memory.
uint8_t* PackSheet(const uint32_t* pixels, int width, int height, size_t* size);
// Writes the width x height pixels back into `out`; 0 when the data ends
// early or would overrun.
int UnpackSheet(const uint8_t* data, size_t size, int width, int height, uint32_t* out);
