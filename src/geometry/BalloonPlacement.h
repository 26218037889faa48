#pragma once

#include "geometry/Pixels.h"

namespace tovrin::geometry {

// Where a balloon of the size given stands by its notification-area icon: beside the icon
// on the side away from the screen edge the icon's panel lies along (above an icon at the
// bottom, to the right of one at the left edge, and so on), lined up with the icon and
// kept on the screen.
PixelRect PlaceBalloon(PixelRect icon, PixelSize balloon, PixelRect screen);

} // namespace tovrin::geometry
