#pragma once

#include "lookup/ServiceHosts.h"

#include <string>

namespace tovrin::app {

// What a build configures: the maker's host and number, and the service hosts.
struct WindowConfig
{
    std::string makerHost; // empty: the maker's pages built into the program
    std::string makerNumber;
    lookup::HostTable hosts;
};

} // namespace tovrin::app
