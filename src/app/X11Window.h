#pragma once

#include "geometry/Pixels.h"

#include <QRect>
#include <QWindow>

#include <optional>

namespace tovrin::app {

// Asks an X11 window manager, before the window is mapped, what frame it will put
// around it (the extended window manager hints' frame-extents request). Nothing when
// the program does not run on X11, the window manager does not offer the request, or it
// gives no answer within a short wait.
std::optional<geometry::FrameMargins> RequestX11FrameExtents(WId window);

// Where a window docked into another one (an icon in an XEmbed notification area) stands
// on the screen, asked of the X server: Qt keeps the position the icon had in its panel
// when it was docked, and a panel that moves afterwards does not tell its icons. Nothing
// when the program does not run on X11 or the window is not docked.
std::optional<QRect> X11DockedWindowGeometry(WId window);

// Asks an X11 window manager to activate a window for the launch with that startup id
// (DESKTOP_STARTUP_ID): the id goes on the window, the activation carries the launch's
// time, so that a window manager that prevents focus stealing lets it through, and the
// launch's busy feedback ends. Nothing off X11.
void X11UseStartupId(WId window, const QByteArray& startupId);

} // namespace tovrin::app
