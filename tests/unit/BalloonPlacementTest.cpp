#include "geometry/BalloonPlacement.h"

#include <gtest/gtest.h>

using tovrin::geometry::PixelRect;
using tovrin::geometry::PlaceBalloon;

TEST(BalloonPlacement, BesideTheIconAwayFromItsPanelsEdgeAndOnTheScreen)
{
    constexpr PixelRect kScreen{0, 0, 1280, 1024};
    const struct
    {
        const char* where;
        PixelRect icon;
        PixelRect balloon; // 200 x 50
    } cases[] = {
        {"bottom edge, right corner: above, kept on the screen",
         {1257, 993, 22, 30},
         {1080, 939, 200, 50}},
        {"top edge, along it: below, centred on the icon", {600, 1, 22, 30}, {511, 35, 200, 50}},
        {"left edge, along it: to the right", {1, 400, 30, 22}, {35, 386, 200, 50}},
        {"right edge, along it: to the left", {1249, 400, 30, 22}, {1045, 386, 200, 50}},
        {"top left corner: below", {1, 1, 22, 30}, {0, 35, 200, 50}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceBalloon(c.icon, {200, 50}, kScreen), c.balloon) << c.where;

    // A second screen to the right of the first.
    EXPECT_EQ(PlaceBalloon({2537, 993, 22, 30}, {200, 50}, {1280, 0, 1280, 1024}),
              (PixelRect{2360, 939, 200, 50}));
}
