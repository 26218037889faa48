#include "lookup/SiteCatalogue.h"

#include "lookup/Utf8EncodeUri.h"

#include <algorithm>
#include <span>

namespace tovrin::lookup {

namespace {

std::span<const SiteEntry> entriesOf(SiteTable table)
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

} // namespace

const SiteEntry* FindSite(SiteTable table, std::int16_t number)
{
    const auto entries = entriesOf(table);
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [number](const SiteEntry& e) { return e.number == number; });
    return found == entries.end() ? nullptr : &*found;
}

std::string BuildAddress(const SiteEntry& entry, const HostTable& hosts,
                         std::string_view encodedQuery, std::u16string_view rawText)
{
    std::string address = "http://";
    address += hosts.host(entry.service);
    address += entry.path;
    switch (entry.query) {
    case QueryPart::Encoded:
        address += encodedQuery;
        break;
    case QueryPart::Raw:
        address += EscapeRawQuery(rawText);
        break;
    case QueryPart::None:
        break;
    }
    address += entry.suffix;
    return address;
}

std::string ContactAddress(const HostTable& hosts, std::string_view makerNumber)
{
    std::string address = "http://";
    address += hosts.host(Service::Contact);
    address += "/msgrd?v=1&uin=";
    address += makerNumber;
    address += "&site=qq&menu=yes";
    return address;
}

} // namespace tovrin::lookup
