#pragma once

#include "geometry/Pixels.h"

#include <optional>

namespace tovrin::app {

// What the window asks of the window manager beyond what Qt does by itself.
class WindowManager
{
public:
    virtual ~WindowManager() = default;
    virtual void setStayOnTop(bool onTop) = 0;
    // The frame the window manager will give the window, asked before it is first
    // shown; nothing when the window system cannot say.
    virtual std::optional<geometry::FrameMargins> frameEstimate() { return std::nullopt; }
};

} // namespace tovrin::app
