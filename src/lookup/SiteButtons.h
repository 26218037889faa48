#pragma once

#include "lookup/SiteCatalogue.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tovrin::lookup {

struct Rgb
{
    std::uint8_t r, g, b;
};

// One coloured site button. Its index is the site number it opens; all rows stand at
// top 430 twips, 300 twips high.
struct SiteButton
{
    std::int16_t index;
    std::string_view caption;
    int left;  // twips
    int width; // twips
    Rgb colour;
};

inline constexpr int kButtonRowTop = 430;
inline constexpr int kButtonRowHeight = 300;

inline constexpr Rgb kLightGreen{128, 255, 128};
inline constexpr Rgb kLightYellow{255, 255, 128};
inline constexpr Rgb kPink{255, 192, 192};
inline constexpr Rgb kLightCyan{192, 255, 255};
inline constexpr Rgb kLightMagenta{255, 192, 255};

// clang-format off
inline constexpr std::array<SiteButton, kDictionarySites.size()> kDictionaryButtons{{
    { 1, "百度 F1",      0,   800, kLightGreen},
    { 2, "谷歌 F2",    960,   800, kLightYellow},
    { 3, "有道 F3",   1920,   800, kLightGreen},
    { 4, "金山 F4",   2880,   800, kLightYellow},
    { 5, "译典通F5",  3840,   915, kLightGreen},
    { 6, "海词 F6",   4920,   800, kLightYellow},
    { 7, "沪江 F7",   5880,   800, kLightGreen},
    { 8, "金桥 F8",   6840,   800, kLightYellow},
    { 9, "词博 F9",   7800,   800, kLightGreen},
    {10, "剑桥F10",   8760,   800, kLightYellow},
    {11, "句库F11",   9720,   800, kLightGreen},
    {12, "CNKI*F12", 10680,  915, kLightYellow},
}};

inline constexpr std::array<SiteButton, kTranslationSites.size()> kTranslationButtons{{
    {1, "爱词霸 F1",      0, 1035, kPink},
    {2, "有道 F2",     1200,  795, kLightCyan},
    {3, "海词 F3",     2160,  800, kPink},
    {4, "雅虎 F4",     3120,  795, kLightCyan},
    {5, "谷歌 F5",     4080,  795, kPink},
    {6, "必应 F6",     5040,  800, kLightCyan},
    {7, "金桥 F7",     6000,  800, kPink},
    {8, "联通华建 F8", 6960, 1155, kLightCyan},
    {9, "大耳朵 F9",   8280, 1035, kPink},
}};

inline constexpr std::array<SiteButton, kSearchSites.size()> kSearchButtons{{
    { 1, "百度 F1",      0, 900, kLightMagenta},
    { 2, "谷歌 F2",    900, 900, kLightGreen},
    { 3, "必应 F3",   1800, 900, kLightMagenta},
    { 4, "雅虎 F4",   2700, 900, kLightGreen},
    { 5, "搜搜 F5",   3600, 900, kLightMagenta},
    { 6, "搜狗 F6",   4500, 900, kLightGreen},
    { 7, "Ask F7",    5400, 900, kPink},
    { 8, "有道 F8",   6300, 900, kLightGreen},
    { 9, "新浪 F9",   7200, 900, kLightMagenta},
    {10, "中搜F10",   8100, 900, kLightGreen},
    {11, "易搜F11",   9000, 900, kLightMagenta},
    {12, "奇虎F12",   9900, 900, kLightGreen},
    {13, "狗狗",     10800, 900, kLightMagenta},
}};
// clang-format on

// The order in which the search row joins the tab chain after the translation row.
inline constexpr std::array<std::int16_t, kSearchButtons.size()> kSearchButtonTabOrder{
    13, 1, 2, 4, 5, 3, 8, 6, 7, 10, 9, 12, 11};

// A row has one button per site of its table, in site order, so that an array of
// buttons indexed by site number, sized by the row, is filled without a gap or an
// index out of bounds.
constexpr bool RowMatchesCatalogue(std::span<const SiteButton> row, SiteTable table)
{
    return row.size() == SiteCount(table) &&
           NumberedFromOne(row, [](const SiteButton& b) { return b.index; });
}
static_assert(RowMatchesCatalogue(kDictionaryButtons, SiteTable::Dictionary));
static_assert(RowMatchesCatalogue(kTranslationButtons, SiteTable::Translation));
static_assert(RowMatchesCatalogue(kSearchButtons, SiteTable::Search));

constexpr bool IsOrderOfSearchRow(std::array<std::int16_t, kSearchButtons.size()> order)
{
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != static_cast<std::int16_t>(i + 1))
            return false;
    return true;
}
static_assert(IsOrderOfSearchRow(kSearchButtonTabOrder));

} // namespace tovrin::lookup
