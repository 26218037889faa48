#pragma once

#include "geometry/ResizeLayout.h"
#include "geometry/Twips.h"

#include <QRect>

namespace tovrin::ui {

inline QRect TwipRect(float left, float top, float width, float height)
{
    using geometry::TwipsToPixels;
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

inline QRect TwipRect(const geometry::Rect& r)
{
    return TwipRect(r.left, r.top, r.width, r.height);
}

} // namespace tovrin::ui
