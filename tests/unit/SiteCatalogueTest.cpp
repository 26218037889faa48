#include "lookup/SiteCatalogue.h"
#include "SiteAddresses.h"
#include "lookup/Utf8EncodeUri.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace tovrin::lookup;
using reference::Expected;
using reference::kWordAddresses;

namespace {

std::string Address(SiteTable table, std::int16_t n, std::u16string_view query,
                    const HostTable& hosts = HostTable())
{
    const SiteEntry* entry = FindSite(table, n);
    EXPECT_NE(entry, nullptr);
    return entry ? BuildAddress(*entry, hosts, UTF8EncodeURI(query), query) : std::string();
}

// The address with the query part cut out, for comparing the same entry across queries.
std::string WithQuery(const Expected& e, const std::string& query)
{
    std::string address = e.address;
    const auto at = address.rfind("word");
    return address.replace(at, 4, query);
}

} // namespace

TEST(SiteCatalogue, EveryEntryBuildsItsAddressAndNoneIsMissingOrExtra)
{
    for (const auto& e : kWordAddresses)
        EXPECT_EQ(Address(e.table, e.number, u"word"), e.address)
            << "table " << static_cast<int>(e.table) << " entry " << e.number;
    // Walked from the catalogue's side: an entry added, dropped or renumbered shows.
    std::size_t entries = 0;
    for (const SiteTable table : {SiteTable::Dictionary, SiteTable::Translation, SiteTable::Search})
        for (const SiteEntry& entry : SiteEntries(table)) {
            ++entries;
            const auto expected = std::find_if(
                std::begin(kWordAddresses), std::end(kWordAddresses),
                [&](const Expected& e) { return e.table == table && e.number == entry.number; });
            EXPECT_NE(expected, std::end(kWordAddresses))
                << "table " << static_cast<int>(table) << " entry " << entry.number;
        }
    EXPECT_EQ(entries, std::size(kWordAddresses));
}

TEST(SiteCatalogue, QueriesGoInEncodedOrRawByEntry)
{
    for (const auto& e : kWordAddresses) {
        const SiteEntry* entry = FindSite(e.table, e.number);
        ASSERT_NE(entry, nullptr);
        SCOPED_TRACE(e.address);
        const std::string chinese = Address(e.table, e.number, u"词典");
        const std::string reserved = Address(e.table, e.number, u"a&b#c d");
        const std::string empty = Address(e.table, e.number, u"");
        switch (entry->query) {
        case QueryPart::Encoded:
            EXPECT_EQ(chinese, WithQuery(e, "%E8%AF%8D%E5%85%B8"));
            EXPECT_EQ(reserved, WithQuery(e, "a%26b%23c%20d"));
            EXPECT_EQ(empty, WithQuery(e, ""));
            break;
        case QueryPart::Raw:
            EXPECT_EQ(chinese, WithQuery(e, "词典"));
            EXPECT_EQ(reserved, WithQuery(e, "a%26b%23c%20d"));
            EXPECT_EQ(empty, WithQuery(e, ""));
            break;
        case QueryPart::None:
            EXPECT_EQ(chinese, e.address);
            EXPECT_EQ(reserved, e.address);
            EXPECT_EQ(empty, e.address);
            break;
        }
    }
}

TEST(SiteCatalogue, EmptyQueriesLeaveTheTemplateAndSuffixJoined)
{
    EXPECT_EQ(Address(SiteTable::Dictionary, 3, u""), "http://dict.youdao.com/search?q=");
    EXPECT_EQ(Address(SiteTable::Dictionary, 5, u""), "http://www.dreye.com.cn/ews/--01--.html");
    EXPECT_EQ(Address(SiteTable::Search, 9, u""), "http://search.sina.com.cn/?q=&c=news");
}

TEST(SiteCatalogue, EncodedEntriesUseTheStoredQueryNotTheText)
{
    const SiteEntry* youdao = FindSite(SiteTable::Dictionary, 3);
    ASSERT_NE(youdao, nullptr);
    EXPECT_EQ(BuildAddress(*youdao, HostTable(), "stale", u"fresh"),
              "http://dict.youdao.com/search?q=stale");
    const SiteEntry* baidu = FindSite(SiteTable::Search, 1);
    ASSERT_NE(baidu, nullptr);
    EXPECT_EQ(BuildAddress(*baidu, HostTable(), "stale", u"fresh"),
              "http://www.baidu.com/s?wd=fresh");
}

TEST(SiteCatalogue, NumbersOutsideATableSelectNothing)
{
    for (const std::int16_t n :
         {std::int16_t(-32768), std::int16_t(-1), std::int16_t(13), std::int16_t(32767)})
        EXPECT_EQ(FindSite(SiteTable::Dictionary, n), nullptr) << n;
    for (const std::int16_t n : {std::int16_t(0), std::int16_t(-1), std::int16_t(10)})
        EXPECT_EQ(FindSite(SiteTable::Translation, n), nullptr) << n;
    for (const std::int16_t n :
         {std::int16_t(0), std::int16_t(-5), std::int16_t(14), std::int16_t(18)})
        EXPECT_EQ(FindSite(SiteTable::Search, n), nullptr) << n;
    // Dictionary 0 is the contact entry, handled apart from the lookups.
    EXPECT_EQ(FindSite(SiteTable::Dictionary, kContactEntry), nullptr);
}

TEST(SiteCatalogue, ContactAddressCarriesTheMakersNumber)
{
    EXPECT_EQ(ContactAddress(HostTable(), "12345"),
              "http://wpa.qq.com/msgrd?v=1&uin=12345&site=qq&menu=yes");
}

TEST(HostTable, BuildOverridesReplaceHostsOrAreRejectedWhole)
{
    HostTable hosts;
    EXPECT_TRUE(hosts.applyOverrides("baidu=127.0.0.1:8080;contact=qq.example"));
    EXPECT_EQ(Address(SiteTable::Search, 1, u"x", hosts), "http://127.0.0.1:8080/s?wd=x");
    EXPECT_EQ(ContactAddress(hosts, "1"), "http://qq.example/msgrd?v=1&uin=1&site=qq&menu=yes");
    EXPECT_TRUE(hosts.applyOverrides(""));

    HostTable untouched;
    EXPECT_FALSE(untouched.applyOverrides("haici=dict.example;nosuchservice=x"));
    EXPECT_FALSE(untouched.applyOverrides("haici=evil.example/path?"));
    EXPECT_FALSE(untouched.applyOverrides("haici="));
    EXPECT_FALSE(untouched.applyOverrides("haici"));
    EXPECT_EQ(untouched.host(Service::Haici), "dict.cn");
}
