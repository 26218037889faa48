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

TEST(KeyTable, EnterRunsEachCategorysDefault)
{
    const auto word = EnterKeyRule(0);
    EXPECT_EQ(word.action, EnterAction::Lookup);
    EXPECT_EQ(word.lookup.table, SiteTable::Dictionary);
    EXPECT_EQ(word.lookup.site, 5);
    const auto translation = EnterKeyRule(1);
    EXPECT_EQ(translation.action, EnterAction::Lookup);
    EXPECT_EQ(translation.lookup.table, SiteTable::Translation);
    EXPECT_EQ(translation.lookup.site, 1);
    EXPECT_EQ(EnterKeyRule(2).action, EnterAction::NavigateTyped);
    EXPECT_EQ(EnterKeyRule(3).action, EnterAction::BaiduSearch);
    for (const int none : {4, -1, 5, 100})
        EXPECT_EQ(EnterKeyRule(none).action, EnterAction::Nothing) << none;
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
