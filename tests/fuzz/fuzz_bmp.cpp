// A BMP file through our reader: from disk at a full-screen size, as the
// texture loader reads it, and from memory into a small keyed sprite sheet.
#include "fuzz_common.h"
#include "platform/bmp.h"

namespace {
uint32_t sheet[40 * 24];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp();
    fuzz::WriteFile("fuzz.bmp", data, size);
    PlatformReleaseTexture(PlatformLoadTexture(0, "fuzz.bmp", 640, 480, 0));
    DecodeBmp(data, (uint32_t)size, 40, 24, 0xFF00FF00u, sheet);
    return 0;
}
