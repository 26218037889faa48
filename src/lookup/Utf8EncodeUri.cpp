#include "lookup/Utf8EncodeUri.h"

#include <cstdint>

namespace tovrin::lookup {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Calls emit(codePoint, isAscii) for every code point of text, pairing surrogates
// and replacing the unpaired ones.
template <typename Emit> void forEachCodePoint(std::u16string_view text, Emit&& emit)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t cp = unit;
        if (isHighSurrogate(unit)) {
            if (i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
                cp = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
                ++i;
            } else {
                cp = kReplacement;
            }
        } else if (isLowSurrogate(unit)) {
            cp = kReplacement;
        }
        emit(cp);
    }
}

// Writes the UTF-8 bytes of cp through put(byte).
template <typename Put> void utf8Bytes(char32_t cp, Put&& put)
{
    if (cp < 0x80) {
        put(static_cast<std::uint8_t>(cp));
    } else if (cp < 0x800) {
        put(static_cast<std::uint8_t>(0xC0 | (cp >> 6)));
        put(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        put(static_cast<std::uint8_t>(0xE0 | (cp >> 12)));
        put(static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
        put(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    } else {
        put(static_cast<std::uint8_t>(0xF0 | (cp >> 18)));
        put(static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F)));
        put(static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
        put(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    }
}

void appendPercent(std::string& out, std::uint8_t byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

constexpr std::size_t utf8Length(char32_t cp)
{
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

constexpr bool encodedAsItself(char32_t cp)
{
    return cp < 0x80 && IsUnreservedAscii(static_cast<char16_t>(cp));
}

} // namespace

std::string UTF8EncodeURI(std::u16string_view szInput)
{
    if (szInput.empty())
        return {};
    // Every key in the query box encodes the whole text again, so this is kept quick:
    // one pass to size the result exactly, one to write it.
    std::size_t length = 0;
    forEachCodePoint(szInput,
                     [&](char32_t cp) { length += encodedAsItself(cp) ? 1 : 3 * utf8Length(cp); });
    std::string result(length, '\0');
    char* out = result.data();
    static constexpr char kHex[] = "0123456789ABCDEF";
    forEachCodePoint(szInput, [&](char32_t cp) {
        if (encodedAsItself(cp)) {
            *out++ = static_cast<char>(cp);
            return;
        }
        utf8Bytes(cp, [&](std::uint8_t byte) {
            out[0] = '%';
            out[1] = kHex[byte >> 4];
            out[2] = kHex[byte & 0x0F];
            out += 3;
        });
    });
    return result;
}

std::string EscapeRawQuery(std::u16string_view szInput)
{
    std::string result;
    result.reserve(szInput.size() * 3);
    forEachCodePoint(szInput, [&](char32_t cp) {
        if (cp >= 0x80) {
            utf8Bytes(cp, [&](std::uint8_t byte) { result += static_cast<char>(byte); });
        } else if (IsUnreservedAscii(static_cast<char16_t>(cp))) {
            result += static_cast<char>(cp);
        } else {
            appendPercent(result, static_cast<std::uint8_t>(cp));
        }
    });
    return result;
}

} // namespace tovrin::lookup
