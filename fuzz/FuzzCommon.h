#pragma once

// Checks shared by the fuzz targets, written independently of the code under test.

#include "ReferenceUtf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzzcheck {

using reference::Utf8;

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

inline bool Unreserved(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
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
