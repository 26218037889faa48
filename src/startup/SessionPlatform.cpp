#include "startup/SessionPlatform.h"

namespace tovrin::startup {

namespace {

bool Given(const char* value)
{
    return value && *value;
}

} // namespace

std::string PreferredPlatform(const char* qpaPlatform, const char* waylandDisplay,
                              const char* x11Display)
{
    if (Given(qpaPlatform) || !Given(waylandDisplay) || !Given(x11Display))
        return {};
    return "xcb;wayland";
}

} // namespace tovrin::startup
