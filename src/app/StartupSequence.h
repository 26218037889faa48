#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace tovrin::browser {
class BrowserEngine;
}
namespace tovrin::platform {
class TrayBackend;
}

namespace tovrin::app {

class Form1;
class StartupLog;

// The order in which the program comes up. Each step waits for the one before it, and
// for at most the time given in Waits:
//
//  1. Before the window is built, the holds are taken: the pages Form_Load asks for wait
//     for the browser engine, and the greeting balloon of the tray set-up for step 4.
//  2. The window is shown, centred. Its first frame is held until the window manager
//     activates it (at most firstFrameMs), so that it is drawn once, already active.
//  3. Once it is painted, active and the query box holds the focus (at most engineMs),
//     the browser engine starts, and the pages asked for so far load in the order the
//     browsers first asked for them. A word typed meanwhile is kept; a lookup made
//     meanwhile replaces the result browser's first page.
//  4. Once the result browser's first page is in (at most firstPageMs after step 3),
//     the strip's pages that wait for it load, and the greeting balloon shows.
//
// Starting the engine takes the GUI thread for a few hundred milliseconds and painting
// a balloon holds up the first page; in this order the window can be typed in before
// either, and the page the user came for comes before the strip. Measured with Qt 6.4.2
// on xcb, Mesa's llvmpipe and openbox 3.6.1 (bench/measure_desktop.py and
// bench/measure_first_lookup.py).
class StartupSequence : public QObject
{
    Q_OBJECT

public:
    struct Waits
    {
        int firstFrameMs = 80; // window managers activate a new window within tens of ms
        int engineMs = 500;
        int firstPageMs = 1500;
    };

    // Step 1. Without an engine (it cannot start here) the window shows no pages, and
    // without a notification area there is no balloon.
    StartupSequence(browser::BrowserEngine* engine, platform::TrayBackend* tray,
                    const StartupLog& log, Waits waits);

    // Steps 2 to 4, on the window built after step 1.
    void run(Form1& form);

private:
    void engineStep(Form1& form, bool readyToType);
    void firstPageStep();

    browser::BrowserEngine* m_engine;
    platform::TrayBackend* m_tray;
    const StartupLog& m_log;
    const Waits m_waits;
    bool m_firstPageIn = false;
};

// The holds of steps 2 and 3 on their own.

// Holds a window's first frame until the window manager has made it the active window,
// or until longestMs have passed, whichever comes first. Shown and painted at once, the
// window would draw three frames in its first moments: the controls before activation,
// the same again once the window manager has framed it, and the query box focused and
// selected once it is active. Where a software renderer composes the window, each is a
// whole-window composition on the thread the engine shares.
void HoldFirstFrameUntilActive(QWidget& window, int longestMs);

// Runs action once the window can be typed in: its first frame is on the screen, it is
// the active window and input holds the keyboard focus; or after longestMs if that
// does not come (a window manager that does not activate new windows). The action is
// told which of the two it was.
void RunWhenReadyToType(QWidget& window, QWidget& input, std::function<void(bool ready)> action,
                        int longestMs);

} // namespace tovrin::app
