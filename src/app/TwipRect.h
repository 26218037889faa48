#pragma once

#include "app/ResizeLayout.h"
#include "app/Twips.h"

#include <QRect>

namespace tovrin::app {

inline QRect TwipRect(float left, float top, float width, float height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

inline QRect TwipRect(const layout::Rect& r)
{
    return TwipRect(r.left, r.top, r.width, r.height);
}

} // namespace tovrin::app
