// Every catalogue entry, with any query text, gives "http://host" + path + query + suffix,
// where the query part carries no unescaped reserved character and decodes to the text.

#include "FuzzCommon.h"
#include "lookup/SiteCatalogue.h"
#include "lookup/Utf8EncodeUri.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzcheck;
    using namespace tovrin::lookup;
    if (size < 3)
        return 0;
    const auto table = static_cast<SiteTable>(data[0] % 3);
    const auto number = static_cast<std::int16_t>(data[1] | (data[2] << 8));
    const std::u16string text = Units(data + 3, size - 3);
    const SiteEntry* entry = FindSite(table, number);
    if (!entry)
        return 0;
    static const HostTable hosts;
    const std::string encoded = UTF8EncodeURI(text);
    const std::string address = BuildAddress(*entry, hosts, encoded, text);

    const std::string head = "http://" + hosts.host(entry->service) + std::string(entry->path);
    require(address.compare(0, head.size(), head) == 0);
    require(address.size() >= head.size() + entry->suffix.size());
    require(address.compare(address.size() - entry->suffix.size(), entry->suffix.size(),
                            entry->suffix) == 0);
    const std::string_view query(address.data() + head.size(),
                                 address.size() - head.size() - entry->suffix.size());
    switch (entry->query) {
    case QueryPart::Encoded:
        require(query == encoded);
        require(Decode(query, false) == Utf8(text));
        break;
    case QueryPart::Raw:
        require(Decode(query, true) == Utf8(text));
        break;
    case QueryPart::None:
        require(query.empty());
        break;
    }
    return 0;
}
