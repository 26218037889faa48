#pragma once

#include <functional>

class QWidget;

namespace tovrin::app {

// Holds a window's first frame until the window manager has made it the active window,
// or until longestMs have passed, whichever comes first.
//
// Shown and painted at once, the window would draw three frames in its first moments:
// the controls before activation, the same again once the window manager has framed
// the window, and the query box focused and selected once it is active. Where the
// window is composed by a software renderer each frame is a whole-window composition on
// the thread the browser engine shares, and they hold up the first page. Held, the
// window draws one frame, already active, at about the time the first would have been
// drawn. A window manager that does not activate the window costs at most longestMs.
// Measured with Qt 6.4.2 on xcb, Mesa's llvmpipe and openbox 3.6.1; to see it, compare
// bench/measure_desktop.py's start-up with the hold and without it.
void HoldFirstFrameUntilActive(QWidget& window, int longestMs);

// Runs action once the window can be typed in: its first frame is on the screen, it is
// the active window and input holds the keyboard focus; or after longestMs if that
// does not come (a window manager that does not activate new windows). The action is
// told which of the two it was.
void RunWhenReadyToType(QWidget& window, QWidget& input, std::function<void(bool ready)> action,
                        int longestMs);

} // namespace tovrin::app
