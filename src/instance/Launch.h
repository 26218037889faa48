#pragma once

#include "instance/SingleInstance.h"

#include <memory>
#include <variant>

namespace tovrin::instance {

// A launch that owns the session's endpoint: what it was asked for, to carry out itself.
struct FirstLaunch
{
    Request request;
    std::unique_ptr<SingleInstance> instance;
};

// Step 0 of every launch: the command line, then the session's program. Either this
// launch is the first and owns the endpoint, or the status it ends with: its help or
// version printed, its command line refused, or its request handed to the running
// program (which answers within a second; one still starting is waited for).
std::variant<FirstLaunch, int> ClaimOrHandOver(int argc, char* argv[], const char* version);

} // namespace tovrin::instance
