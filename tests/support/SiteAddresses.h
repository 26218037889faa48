#pragma once

// Every site entry's address for the query "word", written out by hand: host, template
// and suffix as they must stand. The unit tests check the catalogue against it, and the
// end-to-end walk reads it for the addresses the browser engine must request.

#include "lookup/SiteCatalogue.h"

#include <cstdint>

namespace reference {

using tovrin::lookup::SiteTable;

struct Expected
{
    SiteTable table;
    std::int16_t number;
    const char* address; // for the query "word"
};

inline constexpr Expected kWordAddresses[] = {
    {SiteTable::Dictionary, 1, "http://dict.baidu.com/s?wd=word"},
    {SiteTable::Dictionary, 2, "http://www.google.com.hk/dictionary?langpair=en%7Czh-CN&q=word"},
    {SiteTable::Dictionary, 3, "http://dict.youdao.com/search?q=word"},
    {SiteTable::Dictionary, 4, "http://www.iciba.com/word"},
    {SiteTable::Dictionary, 5, "http://www.dreye.com.cn/ews/word--01--.html"},
    {SiteTable::Dictionary, 6, "http://dict.cn/word"},
    {SiteTable::Dictionary, 7, "http://dict.hjenglish.com/app/w/word"},
    {SiteTable::Dictionary, 8, "http://dict.netat.net/searchw.jsp?word=word"},
    {SiteTable::Dictionary, 9, "http://www.cibo.cn/search.php?dictkeyword=word"},
    {SiteTable::Dictionary, 10, "http://dictionary.cambridge.org/search/british/?q=word"},
    {SiteTable::Dictionary, 11, "http://www.jukuu.com/search.php?q=word"},
    {SiteTable::Dictionary, 12, "http://dict.cnki.net/dict_result.aspx?searchword=word"},
    {SiteTable::Translation, 1, "http://fy.iciba.com/"},
    {SiteTable::Translation, 2, "http://fanyi.youdao.com/translate?i=well&keyfrom=dict.top"},
    {SiteTable::Translation, 3, "http://dict.cn/fy/"},
    {SiteTable::Translation, 4, "http://fanyi.cn.yahoo.com/"},
    {SiteTable::Translation, 5, "http://translate.google.com/#"},
    {SiteTable::Translation, 6, "http://www.microsofttranslator.com/"},
    {SiteTable::Translation, 7, "http://www.netat.net/"},
    {SiteTable::Translation, 8, "http://www.hjtrans.com/"},
    {SiteTable::Translation, 9, "http://dict.bigear.cn/"},
    {SiteTable::Search, 1, "http://www.baidu.com/s?wd=word"},
    {SiteTable::Search, 2,
     "http://www.google.com.hk/search?hl=zh-CN&newwindow=1&safe=strict&q=word"},
    {SiteTable::Search, 3, "http://cn.bing.com/search?q=word"},
    {SiteTable::Search, 4, "http://search.cn.yahoo.com/s?p=word"},
    {SiteTable::Search, 5, "http://www.soso.com/q?pid=s.idx&ch=s.idx&w=word"},
    {SiteTable::Search, 6, "http://www.sogou.com/web?query=word"},
    {SiteTable::Search, 7, "http://www.ask.com/web?q=word"},
    {SiteTable::Search, 8, "http://www.youdao.com/search?q=word"},
    {SiteTable::Search, 9, "http://search.sina.com.cn/?q=word&c=news"},
    {SiteTable::Search, 10, "http://p.zhongsou.com/p?v=网页&y=9&k=com&netid=&w=word"},
    {SiteTable::Search, 11, "http://www.yisou.com/s/?q=word"},
    {SiteTable::Search, 12,
     "http://www.qihoo.com/wenda.php?kw=word&ff=1&do=search&noq=q&src=nindex"},
    {SiteTable::Search, 13, "http://www.gougou.com/search?search=word"},
};

} // namespace reference
