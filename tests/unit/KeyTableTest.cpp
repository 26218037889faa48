#include "lookup/KeyTable.h"
#include "lookup/Categories.h"

#include <gtest/gtest.h>

using namespace tovrin::lookup;

TEST(KeyTable, FunctionKeysOpenTheSiteWithTheirNumberPerCategory)
{
    struct Row
    {
        int category;
        int lastKey; // Fn for n up to this opens site n; 0: none
        SiteTable table;
    };
    const Row rows[] = {
        {0, 12, SiteTable::Dictionary},
        {1, 9, SiteTable::Translation},
        {2, 0, {}},
        {3, 18, SiteTable::Search},
        {4, 0, {}},
        {-1, 0, {}},
        {5, 0, {}},
    };
    for (const auto& row : rows) {
        for (int key = kVkF1; key <= kVkF24; ++key) {
            const int n = key - 111;
            const auto lookup = FunctionKeyLookup(row.category, key);
            if (n <= row.lastKey) {
                ASSERT_TRUE(lookup) << "category " << row.category << " F" << n;
                EXPECT_EQ(lookup->table, row.table);
                EXPECT_EQ(lookup->site, n);
            } else {
                EXPECT_FALSE(lookup) << "category " << row.category << " F" << n;
            }
        }
        // Keys that are not function keys never look anything up.
        for (const int key : {0, 13, 65, 111, 136, 255})
            EXPECT_FALSE(FunctionKeyLookup(row.category, key));
    }
}

TEST(KeyTable, EnterOpensEachCategorysDefaultSite)
{
    // What the user gets, as addresses: Dr.eye for words, the iciba translator, and
    // Baidu for searches (with the text as typed, even where an encoding differs).
    const auto opened = [](int listIndex) {
        const EnterRule rule = EnterKeyRule(listIndex);
        const bool opensSite =
            rule.action == EnterAction::Lookup || rule.action == EnterAction::BaiduSearch;
        const SiteEntry* site = opensSite ? FindSite(rule.lookup.table, rule.lookup.site) : nullptr;
        return site ? BuildAddress(*site, HostTable(), "w%20x", u"w x") : std::string();
    };
    EXPECT_EQ(opened(0), "http://www.dreye.com.cn/ews/w%20x--01--.html");
    EXPECT_EQ(opened(1), "http://fy.iciba.com/");
    EXPECT_EQ(EnterKeyRule(2).action, EnterAction::NavigateTyped);
    EXPECT_EQ(opened(3), "http://www.baidu.com/s?wd=w%20x");
    for (const int none : {4, -1, 5, 100}) {
        EXPECT_EQ(EnterKeyRule(none).action, EnterAction::Nothing) << none;
        EXPECT_EQ(opened(none), "") << none;
    }
}

TEST(Categories, ListIndexesMapToCategoriesAndNothingElse)
{
    EXPECT_EQ(FindCategory(-1), nullptr);
    EXPECT_EQ(FindCategory(5), nullptr);
    ASSERT_NE(FindCategory(4), nullptr);
    EXPECT_EQ(FindCategory(4)->panel, Panel::None);
    EXPECT_EQ(FindCategory(2)->panel, Panel::Arrow);
    // The prompts' quotes are the curved U+2018/U+2019 and the commas full-width.
    EXPECT_EQ(FindCategory(0)->prompt,
              "\xE8\xAF\xB7\xE8\xBE\x93\xE5\x85\xA5\xE6\x82\xA8\xE8\xA6\x81\xE6\x9F\xA5\xE8\xAF"
              "\xA2\xE7\x9A\x84\xE5\x86\x85\xE5\xAE\xB9\xEF\xBC\x8C\xE9\xBB\x98\xE8\xAE\xA4\xE4"
              "\xBD\xBF\xE7\x94\xA8 \xE2\x80\x98\xE8\xAF\x91\xE5\x85\xB8\xE9\x80\x9A\xE2\x80\x99");
}
