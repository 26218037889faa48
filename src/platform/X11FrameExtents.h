#pragma once

#include "platform/WinApi.h"

#include <QWindow>

#include <optional>

namespace tovrin::platform {

// Asks an X11 window manager, before the window is mapped, what frame it will put
// around it (the extended window manager hints' frame-extents request). Nothing when
// the program does not run on X11, the window manager does not offer the request, or it
// gives no answer within a short wait.
std::optional<FrameMargins> RequestX11FrameExtents(WId window);

} // namespace tovrin::platform
