#pragma once

namespace tovrin::platform {

struct ScreenRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Where a balloon of the size given stands by its notification-area icon: beside the icon
// on the side away from the screen edge the icon's panel lies along (above an icon at the
// bottom, to the right of one at the left edge, and so on), lined up with the icon and
// kept on the screen.
ScreenRect PlaceBalloon(ScreenRect icon, int width, int height, ScreenRect screen);

} // namespace tovrin::platform
