#pragma once

#include "app/MainWindow.h"

#include <QObject>

#include <functional>

namespace tovrin::browser {
class BrowserEngine;
}
namespace tovrin::app {
class Tray;
}

namespace tovrin::startup {

class StartupLog;

// The order in which the program comes up, one step after another (RunApplication takes
// them in this order; from step 6 on each waits for the one before it, and for at most
// the time given in Waits):
//
//  0. The command line, and one program a session: a launch that finds the session's
//     program running hands its request over and ends, before anything of a window is
//     made (a running program answers within a second; one still starting is waited for).
//  1. Before any thread is started: whether the browser engine's sandbox can start here
//     (the check forks).
//  2. Before the first graphics context: no shader caches on disk, Qt's or the drivers'.
//  3. Qt, on the windowing platform the session is best served by; the design's fonts
//     mapped to the installed ones that stand in for them.
//  4. The notification area and the browser engine, made before the window and gone
//     after it, with their holds taken: the pages the window asks for wait for the
//     engine's start in step 7 (the advertisement for step 8), and the greeting balloon
//     for step 8.
//  5. The window, built on the holds: its load procedure asks for its pages and its icon.
//     What the command line asked for is looked up as the first page, and later launches'
//     requests are taken from here on.
//  6. The window is shown, centred. Its first frame is held until the window manager
//     activates it (at most firstFrameMs), so that it is drawn once, already active.
//  7. Once it is painted, active and the query box holds the focus (at most engineMs),
//     the browser engine starts, and the pages asked for so far load in the order the
//     browsers first asked for them. A word typed meanwhile is kept; a lookup made
//     meanwhile replaces the result browser's first page. A launch that asked for a
//     lookup has no typing to wait for: its engine starts as the window is shown.
//  8. Once the result browser's first page is in (at most firstPageMs after step 7),
//     the strip's pages that wait for it load, and the greeting balloon shows.
//  9. The program runs until its window is unloaded: by "退出", by closing the window, or
//     when the session or a terminal ends it (SIGTERM, SIGINT).
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

    // Step 4. Without an engine (it cannot start here) the window shows no pages, and
    // without a notification area there is no balloon.
    StartupSequence(browser::BrowserEngine* engine, app::Tray* tray, const StartupLog& log,
                    Waits waits);

    // Step 5: what the window is built on. It comes from here, so that no window is built
    // before the holds are taken.
    app::MainWindow::Platform windowPlatform(
        browser::BrowserFactory browsers,
        std::function<std::unique_ptr<app::WindowManager>(QWidget&)> windowManager) const;

    // Steps 6 to 8, on the window built in step 5.
    void show(app::MainWindow& window);

private:
    void engineStep(app::MainWindow& window, bool readyToType);
    void firstPageStep();

    browser::BrowserEngine* m_engine;
    app::Tray* m_tray;
    const StartupLog& m_log;
    const Waits m_waits;
    bool m_firstPageIn = false;
};

// The holds of steps 6 and 7 on their own.

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

} // namespace tovrin::startup
