#pragma once

#include <string>

namespace tovrin::startup {

// The windowing platform to ask Qt for, from the session's environment, or "" to leave
// the choice to Qt (and to a user who set QT_QPA_PLATFORM).
//
// The window is designed to start centred and to stay on top of other windows; a
// Wayland client can do neither. In a Wayland session that also offers XWayland the
// program therefore prefers X11, falling back to Wayland if the X server cannot be
// reached.
std::string PreferredPlatform(const char* qpaPlatform, const char* waylandDisplay,
                              const char* x11Display);

} // namespace tovrin::startup
