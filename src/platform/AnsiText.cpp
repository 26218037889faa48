#include "platform/AnsiText.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace tovrin::platform {

namespace {

// Converts with iconv; characters the target cannot hold become '?'.
std::string convert(const char* to, const char* from, std::string_view text)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(text);
    std::string out;
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // Skip one undecodable byte and mark the gap.
            out += '?';
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

// Length of the longest prefix of GBK text that fits in limit bytes without cutting a
// two-byte character.
std::size_t fitGbk(const std::string& gbk, std::size_t limit)
{
    std::size_t i = 0;
    while (i < gbk.size()) {
        const std::size_t step = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    return i;
}

} // namespace

void WriteAnsiField(char* field, std::size_t width, std::string_view utf8)
{
    if (width == 0)
        return;
    const std::string gbk = convert("GBK", "UTF-8", utf8);
    const std::size_t length = fitGbk(gbk, width - 1);
    std::memcpy(field, gbk.data(), length);
    field[length] = '\0';
    std::memset(field + length + 1, ' ', width - length - 1);
}

std::string ReadAnsiField(const char* field, std::size_t width)
{
    const std::size_t length = strnlen(field, width);
    return convert("UTF-8", "GBK", std::string_view(field, length));
}

} // namespace tovrin::platform
