#include "lookup/SiteCatalogue.h"

#include "lookup/Utf8EncodeUri.h"

namespace tovrin::lookup {

const SiteEntry* FindSite(SiteTable table, std::int16_t number)
{
    if (!SiteNumbered(table, number))
        return nullptr;
    return &SiteEntries(table)[static_cast<std::size_t>(number - 1)];
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
