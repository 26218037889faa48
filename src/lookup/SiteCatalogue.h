#pragma once

#include "lookup/ServiceHosts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tovrin::lookup {

// The three numbered tables, each opened by its own dispatcher.
enum class SiteTable { Dictionary, Translation, Search };

enum class QueryPart {
    Encoded, // the stored encoded query
    Raw,     // the query box's text, read at the moment of the lookup
    None     // a fixed address
};

struct SiteEntry
{
    std::int16_t number;
    Service service;
    std::string_view path; // everything after the host, up to the query
    QueryPart query;
    std::string_view suffix;
};

namespace tables {
using enum QueryPart;
using enum Service;

// clang-format off
inline constexpr std::array<SiteEntry, 12> kDictionarySites{{
    { 1, BaiduDictionary,   "/s?wd=",                               Raw,     ""},
    { 2, GoogleHongKong,    "/dictionary?langpair=en%7Czh-CN&q=",   Encoded, ""},
    { 3, YoudaoDictionary,  "/search?q=",                           Encoded, ""},
    { 4, Iciba,             "/",                                    Encoded, ""},
    { 5, DrEye,             "/ews/",                                Encoded, "--01--.html"},
    { 6, Haici,             "/",                                    Encoded, ""},
    { 7, HujiangDictionary, "/app/w/",                              Encoded, ""},
    { 8, JinqiaoDictionary, "/searchw.jsp?word=",                   Encoded, ""},
    { 9, Cibo,              "/search.php?dictkeyword=",             Encoded, ""},
    {10, Cambridge,         "/search/british/?q=",                  Encoded, ""},
    {11, Jukuu,             "/search.php?q=",                       Encoded, ""},
    {12, CnkiDictionary,    "/dict_result.aspx?searchword=",        Encoded, ""},
}};

inline constexpr std::array<SiteEntry, 9> kTranslationSites{{
    {1, IcibaTranslation,      "/",                                  None, ""},
    {2, YoudaoTranslation,     "/translate?i=well&keyfrom=dict.top", None, ""},
    {3, Haici,                 "/fy/",                               None, ""},
    {4, YahooChinaTranslation, "/",                                  None, ""},
    {5, GoogleTranslate,       "/#",                                 None, ""},
    {6, MicrosoftTranslator,   "/",                                  None, ""},
    {7, Jinqiao,               "/",                                  None, ""},
    {8, Huajian,               "/",                                  None, ""},
    {9, DaErDuoTranslation,    "/",                                  None, ""},
}};

inline constexpr std::array<SiteEntry, 13> kSearchSites{{
    { 1, Baidu,            "/s?wd=",                                       Raw,     ""},
    { 2, GoogleHongKong,   "/search?hl=zh-CN&newwindow=1&safe=strict&q=",  Encoded, ""},
    { 3, BingChina,        "/search?q=",                                   Encoded, ""},
    { 4, YahooChinaSearch, "/s?p=",                                        Encoded, ""},
    { 5, Soso,             "/q?pid=s.idx&ch=s.idx&w=",                     Raw,     ""},
    { 6, Sogou,            "/web?query=",                                  Encoded, ""},
    { 7, Ask,              "/web?q=",                                      Encoded, ""},
    { 8, Youdao,           "/search?q=",                                   Encoded, ""},
    { 9, SinaSearch,       "/?q=",                                         Raw,     "&c=news"},
    {10, Zhongsou,         "/p?v=网页&y=9&k=com&netid=&w=",                Raw,     ""},
    {11, Yiso,             "/s/?q=",                                       Encoded, ""},
    {12, Qihoo,            "/wenda.php?kw=",                               Raw,     "&ff=1&do=search&noq=q&src=nindex"},
    {13, Gougou,           "/search?search=",                              Raw,     ""},
}};
// clang-format on
} // namespace tables

using tables::kDictionarySites;
using tables::kSearchSites;
using tables::kTranslationSites;

// Dictionary entry 0 is not a lookup: it opens the maker's contact page.
inline constexpr std::int16_t kContactEntry = 0;

constexpr std::span<const SiteEntry> SiteEntries(SiteTable table)
{
    switch (table) {
    case SiteTable::Dictionary:
        return kDictionarySites;
    case SiteTable::Translation:
        return kTranslationSites;
    case SiteTable::Search:
        return kSearchSites;
    }
    return {};
}

constexpr std::size_t SiteCount(SiteTable table)
{
    return SiteEntries(table).size();
}

// Whether rows carry the numbers 1, 2, 3... in order, read by numberOf.
template <typename Rows, typename NumberOf>
constexpr bool NumberedFromOne(const Rows& rows, NumberOf numberOf)
{
    std::int16_t expected = 1;
    for (const auto& row : rows)
        if (numberOf(row) != expected++)
            return false;
    return true;
}

// Each table numbers its sites 1, 2, 3... in order, so that site n is entry n - 1 and
// the arrays of buttons indexed by site number can be sized by the table.
constexpr bool NumberedInOrder(SiteTable table)
{
    return NumberedFromOne(SiteEntries(table), [](const SiteEntry& e) { return e.number; });
}
static_assert(NumberedInOrder(SiteTable::Dictionary) && NumberedInOrder(SiteTable::Translation) &&
              NumberedInOrder(SiteTable::Search));

constexpr bool SiteNumbered(SiteTable table, std::int16_t number)
{
    return number >= 1 && static_cast<std::size_t>(number) <= SiteCount(table);
}

// The entry with this number, or nullptr when the table has none.
const SiteEntry* FindSite(SiteTable table, std::int16_t number);

// "http://" + host + path + query + suffix. The encoded query goes in as stored; the raw
// text goes in with its unsafe ASCII escaped (see EscapeRawQuery).
std::string BuildAddress(const SiteEntry& entry, const HostTable& hosts,
                         std::string_view encodedQuery, std::u16string_view rawText);

// The instant-messaging link that starts a conversation with the maker.
std::string ContactAddress(const HostTable& hosts, std::string_view makerNumber);

} // namespace tovrin::lookup
