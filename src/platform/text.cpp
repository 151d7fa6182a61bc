// Shift-JIS (CP932) conversions. CP932, not SHIFT_JIS: the latter maps 0x5C
// to the yen sign and refuses the vendor characters the game's text uses.
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

namespace {
// Descriptors are opened once and reset before each use.
size_t Convert(iconv_t& cd, const char* to, const char* from, const char* in, char* out,
               size_t size) {
    if (size == 0) return 0;
    out[0] = '\0';
    if (!in) return 0;
    if (cd == (iconv_t)-1) cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return 0;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    size_t srcLeft = strlen(in);
    char* dst = out;
    size_t dstLeft = size - 1;
    while (srcLeft > 0 && dstLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != (size_t)-1) break;
        if (errno != EILSEQ && errno != EINVAL) break;
        // An invalid or cut-off sequence becomes '?' and conversion goes on.
        *dst++ = '?';
        dstLeft--;
        src++;
        srcLeft--;
    }
    *dst = '\0';
    return (size_t)(dst - out);
}
iconv_t toSjis = (iconv_t)-1;
iconv_t toUtf8 = (iconv_t)-1;
}  // namespace

size_t PlatformUtf8ToSjis(const char* utf8, char* out, size_t size) {
    return Convert(toSjis, "CP932", "UTF-8", utf8, out, size);
}

size_t PlatformSjisToUtf8(const char* sjis, char* out, size_t size) {
    return Convert(toUtf8, "UTF-8", "CP932", sjis, out, size);
}
