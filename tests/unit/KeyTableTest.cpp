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
}
