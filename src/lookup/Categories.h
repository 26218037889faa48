#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tovrin::lookup {

// Category numbers are the selector's list indexes; -1 means nothing is selected.
enum class Category : int {
    None = -1,
    WordLookup = 0,
    OnlineTranslation = 1,
    WebBrowsing = 2,
    SearchEngines = 3,
    LiteratureSearch = 4,
};

// The set of buttons a category shows under the query line.
enum class Panel { None, Arrow, Dictionary, Translation, Search };

struct CategoryInfo
{
    Category category;
    std::string_view item; // the selector's list item
    Panel panel;
    std::string_view prompt; // put into the query box when the category is chosen
};

// The prompts use full-width commas and the curved quotes U+2018/U+2019.
inline constexpr std::array<CategoryInfo, 5> kCategories{{
    {Category::WordLookup, "单词查询", Panel::Dictionary,
     "请输入您要查询的内容，默认使用 \u2018译典通\u2019"},
    {Category::OnlineTranslation, "在线翻译", Panel::Translation,
     "请点击以下按钮选择在线翻译方式，默认使用 \u2018词霸\u2019"},
    {Category::WebBrowsing, "网页浏览", Panel::Arrow, "请输入您要访问的网址"},
    {Category::SearchEngines, "搜索引擎", Panel::Search,
     "请输入您要搜索的内容，默认使用 \u2018百度\u2019"},
    {Category::LiteratureSearch, "文献检索", Panel::None, "开发中，敬请期待"},
}};

// The category at a list index, or nullptr for -1 and anything out of range.
constexpr const CategoryInfo* FindCategory(int listIndex)
{
    if (listIndex < 0 || listIndex >= static_cast<int>(kCategories.size()))
        return nullptr;
    return &kCategories[static_cast<std::size_t>(listIndex)];
}

} // namespace tovrin::lookup
