#include "lookup/Utf8EncodeUri.h"
#include "ReferenceUtf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using tovrin::lookup::EscapeRawQuery;
using tovrin::lookup::UTF8EncodeURI;

namespace {

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

std::string PercentDecode(const std::string& encoded)
{
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size()) {
            out += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += encoded[i];
        }
    }
    return out;
}

struct Example
{
    std::u16string input;
    std::string expected;
};

} // namespace

TEST(Utf8EncodeUri, EncodesByTheRuleItsBoundariesAndReservedAsciiAndReplacesLoneHalves)
{
    const std::u16string high{char16_t(0xD840)}, low{char16_t(0xDC00)};
    const Example examples[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"\u00E9", "%C3%A9"},
        {u"\u8BCD", "%E8%AF%8D"},
        {u"abc \u8BCD", "abc%20%E8%AF%8D"},
        {u"\u007F", "%7F"},
        {u"\u0080", "%C2%80"},
        {u"\u07FF", "%DF%BF"},
        {u"\u0800", "%E0%A0%80"},
        {u"\uFFFF", "%EF%BF%BF"},
        {u"\u8BCD\u5178", "%E8%AF%8D%E5%85%B8"},
        {u"AZaz09-._~", "AZaz09-._~"},
        // Reserved ASCII is escaped, so that queries keep their meaning.
        {u"C++", "C%2B%2B"},
        {u"C#", "C%23"},
        {u"AT&T", "AT%26T"},
        {u"50%", "50%25"},
        {u"a=b?c/d", "a%3Db%3Fc%2Fd"},
        {u"\t\r\n", "%09%0D%0A"},
        {std::u16string(1, u'\0'), "%00"},
        // Surrogate pairs are one character; a lone half is U+FFFD.
        {u"\U00020000", "%F0%A0%80%80"},
        {u"\U0001F600", "%F0%9F%98%80"},
        {u"\U0010FFFF", "%F4%8F%BF%BF"},
        {high, "%EF%BF%BD"},
        {low, "%EF%BF%BD"},
        {high + u"a", "%EF%BF%BDa"},
        {low + high, "%EF%BF%BD%EF%BF%BD"}, // a low half before a high one is no pair
        {high + high + low, "%EF%BF%BD%F0%A0%80%80"},
    };
    for (const auto& [input, expected] : examples)
        EXPECT_EQ(UTF8EncodeURI(input), expected);
}

TEST(Utf8EncodeUri, WellFormedTextDecodesBackToItsUtf8)
{
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> plane(0, 9);
    std::uniform_int_distribution<char32_t> ascii(0, 0x7F), bmp(0x80, 0xFFFF),
        astral(0x10000, 0x10FFFF), length(0, 40);
    for (int round = 0; round < 2000; ++round) {
        std::u16string input;
        const auto n = length(rng);
        for (char32_t i = 0; i < n; ++i) {
            const int p = plane(rng);
            char32_t cp = p < 4 ? ascii(rng) : p < 8 ? bmp(rng) : astral(rng);
            if (cp >= 0xD800 && cp <= 0xDFFF)
                cp = 0x4E00; // surrogate values are not characters
            AppendUtf16(input, cp);
        }
        const std::string expected = reference::Utf8(input);
        const std::string encoded = UTF8EncodeURI(input);
        for (const char c : encoded)
            ASSERT_TRUE(c > 0x20 && c < 0x7F) << "not printable ASCII in " << encoded;
        ASSERT_EQ(PercentDecode(encoded), expected);
    }
}

TEST(Utf8EncodeUri, HexDigitsAreAlwaysUppercase)
{
    std::u16string all;
    for (char32_t cp = 1; cp < 0x3000; cp += 7)
        AppendUtf16(all, cp);
    const std::string encoded = UTF8EncodeURI(all);
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%')
            continue;
        ASSERT_LT(i + 2, encoded.size());
        for (const char digit : {encoded[i + 1], encoded[i + 2]})
            ASSERT_TRUE((digit >= '0' && digit <= '9') || (digit >= 'A' && digit <= 'F'));
    }
}

TEST(EscapeRawQuery, LeavesNonAsciiToTheBrowserButEscapesReservedAscii)
{
    EXPECT_EQ(EscapeRawQuery(u""), "");
    EXPECT_EQ(EscapeRawQuery(u"word"), "word");
    EXPECT_EQ(EscapeRawQuery(u"\u8BCD\u5178"), "\xE8\xAF\x8D\xE5\x85\xB8");
    EXPECT_EQ(EscapeRawQuery(u"a&b#c d"), "a%26b%23c%20d");
    EXPECT_EQ(EscapeRawQuery(u"\u8BCD&x=1"), "\xE8\xAF\x8D%26x%3D1");
    EXPECT_EQ(EscapeRawQuery(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
}
