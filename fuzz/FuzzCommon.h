#pragma once

// Checks shared by the fuzz targets, written independently of the code under test.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzzcheck {

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The fuzzer's bytes as UTF-16 code units, two bytes each.
inline std::u16string Units(const std::uint8_t* data, std::size_t size)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    return units;
}

// UTF-8 of UTF-16 text, unpaired surrogates as U+FFFD.
inline std::string ReferenceUtf8(std::u16string_view text)
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

inline bool Unreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '.' || c == '_' || c == '~';
}

inline int UpperHex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are a failure too
}

// Decodes an escaped query: unreserved ASCII as itself, everything else as %XX with
// upper-case digits. With allowRaw, bytes of 0x80 and above may stand as themselves.
inline std::string Decode(std::string_view encoded, bool allowRaw)
{
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '%') {
            require(i + 2 < encoded.size());
            const int hi = UpperHex(encoded[i + 1]);
            const int lo = UpperHex(encoded[i + 2]);
            require(hi >= 0 && lo >= 0);
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            require(allowRaw);
            out += c;
        } else {
            require(Unreserved(c));
            out += c;
        }
    }
    return out;
}

} // namespace fuzzcheck
