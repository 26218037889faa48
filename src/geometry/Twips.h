#pragma once

#include <cmath>

namespace tovrin::geometry {

// Positions and sizes are kept in twips; a device-independent pixel is 15 twips, and
// Qt's high-DPI scaling takes it from there to the screen.
inline constexpr float kTwipsPerPixel = 15.0f;

inline int TwipsToPixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline float PixelsToTwips(int pixels)
{
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

} // namespace tovrin::geometry
