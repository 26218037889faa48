#pragma once

#include "lookup/Categories.h"
#include "lookup/SiteCatalogue.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tovrin::lookup {

// Windows key and character codes, as the key procedures receive them.
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF24 = 135;
inline constexpr int kCharEnter = 13;

struct SiteLookup
{
    SiteTable table;
    std::int16_t site;
};

// Which function keys open a site in a category: Fn opens site n for n up to lastKey.
// F9 in online translation opens site 9, as the button "大耳朵 F9" promises; F14 to F18
// in the search category reach the dispatcher, which has no such site.
struct FunctionKeyRow
{
    Category category;
    SiteTable table;
    int lastKey;
};

inline constexpr std::array<FunctionKeyRow, 3> kFunctionKeyRows{{
    {Category::WordLookup, SiteTable::Dictionary, 12},
    {Category::OnlineTranslation, SiteTable::Translation, 9},
    {Category::SearchEngines, SiteTable::Search, 18},
}};

// The lookup a key code starts in a category (the list index), if any.
std::optional<SiteLookup> FunctionKeyLookup(int listIndex, int keyCode);

enum class EnterAction {
    Nothing,       // the key is left to the query box
    Lookup,        // a dispatcher call
    NavigateTyped, // the typed text as an address
    BaiduSearch,   // search site 1's address with the typed text, without the dispatcher
};

struct EnterRule
{
    Category category;
    EnterAction action;
    SiteLookup lookup; // for EnterAction::Lookup
};

inline constexpr std::array<EnterRule, 4> kEnterRules{{
    {Category::WordLookup, EnterAction::Lookup, {SiteTable::Dictionary, 5}},
    {Category::OnlineTranslation, EnterAction::Lookup, {SiteTable::Translation, 1}},
    {Category::WebBrowsing, EnterAction::NavigateTyped, {}},
    {Category::SearchEngines, EnterAction::BaiduSearch, {SiteTable::Search, 1}},
}};

// Every site a key or Enter opens is in the catalogue: a row edited to name a site that
// is not there fails to compile instead of opening nothing.
constexpr bool KeyRowsReachOnlyCatalogueSites()
{
    for (const auto& row : kFunctionKeyRows) {
        const std::size_t sites = SiteCount(row.table);
        // Keys past the last site reach the dispatcher, which opens nothing, by design in
        // the search category only.
        if (row.table != SiteTable::Search && static_cast<std::size_t>(row.lastKey) != sites)
            return false;
        if (row.lastKey > kVkF24 - kVkF1 + 1)
            return false;
    }
    for (const auto& rule : kEnterRules) {
        const bool opensSite =
            rule.action == EnterAction::Lookup || rule.action == EnterAction::BaiduSearch;
        if (opensSite && !SiteNumbered(rule.lookup.table, rule.lookup.site))
            return false;
    }
    return true;
}
static_assert(KeyRowsReachOnlyCatalogueSites());

// What Enter does in a category (the list index).
EnterRule EnterKeyRule(int listIndex);

} // namespace tovrin::lookup
