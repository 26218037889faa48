#include "lookup/ServiceHosts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tovrin::lookup {

HostTable::HostTable()
{
    for (const auto& entry : kDefaultHosts)
        m_hosts[static_cast<std::size_t>(entry.service)] = std::string(entry.host);
}

bool IsPlainHost(std::string_view host)
{
    if (host.empty())
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == ':' || c == '[' || c == ']';
    });
}

bool HostTable::applyOverrides(std::string_view overrides)
{
    std::vector<std::pair<std::size_t, std::string>> changes;
    while (!overrides.empty()) {
        const auto end = overrides.find(';');
        const auto item = overrides.substr(0, end);
        overrides = end == std::string_view::npos ? std::string_view{} : overrides.substr(end + 1);
        if (item.empty())
            continue;
        const auto eq = item.find('=');
        if (eq == std::string_view::npos)
            return false;
        const auto key = item.substr(0, eq);
        const auto host = item.substr(eq + 1);
        const auto found = std::find_if(kDefaultHosts.begin(), kDefaultHosts.end(),
                                        [&](const ServiceHost& s) { return s.key == key; });
        if (found == kDefaultHosts.end() || !IsPlainHost(host))
            return false;
        changes.emplace_back(static_cast<std::size_t>(found->service), std::string(host));
    }
    for (auto& [index, host] : changes)
        m_hosts[index] = std::move(host);
    return true;
}

} // namespace tovrin::lookup
