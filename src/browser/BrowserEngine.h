#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QWidget;

namespace tovrin::browser {

class BrowserControl;

// The browser engine the window's controls share, as start-up sees it. Starting it
// takes the GUI thread for a few hundred milliseconds, so start-up holds it back until
// the window can be typed in. While held, a control's Navigate only notes the address
// here (a later one replaces an earlier one, clear() forgets it); start() loads the
// noted pages in the order the controls first asked. A control whose role waits for
// the first page is kept back until releaseWaitingPages(). An engine not held starts
// with the first page asked of it.
//
// One per program, made by the application and handed to the browser factory.
class BrowserEngine : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Readies the window, before it is first shown, for the views that come later.
    virtual void prepareWindow(QWidget& window) { Q_UNUSED(window) }
    // Keeps the pages asked for until start(), and those that wait for the first page
    // until releaseWaitingPages().
    void hold() { m_held = true; }
    void start();
    bool isStarted() const { return m_started; }
    void releaseWaitingPages();

    // For BrowserControl: whether the page is kept for later rather than loaded now.
    bool keeps(BrowserControl& control, const QString& address);
    void forget(BrowserControl& control);

signals:
    // The engine has started; the pages it kept are about to load.
    void started();

protected:
    // What starting means for the real engine; nothing for a stand-in.
    virtual void startProcesses() {}

private:
    bool waits(const BrowserControl& control) const;
    void loadKept();

    struct Kept
    {
        QPointer<BrowserControl> control;
        QString address;
    };
    std::vector<Kept> m_kept; // in the order the controls first asked
    bool m_held = false;
    bool m_started = false;
    bool m_waitingReleased = false;
};

} // namespace tovrin::browser
