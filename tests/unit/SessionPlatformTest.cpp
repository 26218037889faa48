#include "startup/SessionPlatform.h"

#include <gtest/gtest.h>

using tovrin::startup::PreferredPlatform;

TEST(SessionPlatform, XWaylandIsPreferredOnlyWhenNobodyChoseAndBothAreThere)
{
    struct Case
    {
        const char* qpa;
        const char* wayland;
        const char* x11;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "wayland-0", ":0", "xcb;wayland"}, // a Wayland session with XWayland
        {"", "wayland-0", ":0", "xcb;wayland"},      // an empty setting chooses nothing
        {"wayland", "wayland-0", ":0", ""},          // the user's own choice stands
        {"xcb", "wayland-0", ":0", ""},
        {nullptr, "wayland-0", nullptr, ""}, // Wayland alone
        {nullptr, "wayland-0", "", ""},
        {nullptr, nullptr, ":0", ""}, // an X11 session
        {nullptr, nullptr, nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreferredPlatform(c.qpa, c.wayland, c.x11), c.expected)
            << (c.qpa ? c.qpa : "(unset)") << " " << (c.wayland ? c.wayland : "(unset)") << " "
            << (c.x11 ? c.x11 : "(unset)");
}
