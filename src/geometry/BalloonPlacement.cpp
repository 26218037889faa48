#include "geometry/BalloonPlacement.h"

#include <algorithm>

namespace tovrin::geometry {

namespace {

// Between the balloon and its icon.
constexpr int kGap = 4;

int Within(int start, int length, int areaStart, int areaLength)
{
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

PixelRect PlaceBalloon(PixelRect icon, PixelSize size, PixelRect screen)
{
    const int width = size.width;
    const int height = size.height;
    const int toLeft = icon.x - screen.x;
    const int toRight = screen.x + screen.width - (icon.x + icon.width);
    const int toTop = icon.y - screen.y;
    const int toBottom = screen.y + screen.height - (icon.y + icon.height);
    const int nearest = std::min({toLeft, toRight, toTop, toBottom});

    PixelRect balloon{0, 0, width, height};
    if (nearest == toBottom || nearest == toTop) {
        balloon.x = icon.x + (icon.width - width) / 2;
        balloon.y = nearest == toBottom ? icon.y - kGap - height : icon.y + icon.height + kGap;
    } else {
        balloon.y = icon.y + (icon.height - height) / 2;
        balloon.x = nearest == toRight ? icon.x - kGap - width : icon.x + icon.width + kGap;
    }
    balloon.x = Within(balloon.x, width, screen.x, screen.width);
    balloon.y = Within(balloon.y, height, screen.y, screen.height);
    return balloon;
}

} // namespace tovrin::geometry
