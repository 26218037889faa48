#pragma once

// Reference conversions written independently of the code under test, for the unit tests
// and the fuzz targets.

#include <cstdint>
#include <string>
#include <string_view>

namespace reference {

// UTF-8 of UTF-16 text, unpaired surrogates as U+FFFD.
inline std::string Utf8(std::u16string_view text)
{
    std::string out;
    auto put = [&](std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            put(0xFFFD);
        } else {
            put(u);
        }
    }
    return out;
}

} // namespace reference
