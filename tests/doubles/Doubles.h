#pragma once

// Test doubles for the window's platform: browser controls, the window manager and the
// notification area, each recording what the window asks of it into one shared log.

#include "app/MainWindow.h"
#include "app/Tray.h"
#include "app/WindowManager.h"
#include "browser/BrowserControl.h"
#include "browser/BrowserEngine.h"

#include <QStringList>

#include <optional>

namespace tovrin::testing {

// One log for all doubles, so that tests can check the order of calls across them.
struct CallLog
{
    QStringList calls;
    QStringList matching(const QString& part) const { return calls.filter(part); }
    void clear() { calls.clear(); }
};

// A browser control whose pages are lines in the log ("WebBrowser1.Navigate …"), logged
// when the page would load: at once, or when the engine given lets it.
class RecordingBrowser : public browser::BrowserControl
{
    Q_OBJECT

public:
    RecordingBrowser(QWidget* parent, const browser::BrowserRole& role, CallLog& log,
                     browser::BrowserEngine* engine = nullptr);

    void setSilent(bool silent) override;
    bool silent() const override { return m_silent; }

    QStringList navigations;
    QWidget* page = nullptr; // what takes the focus, as the engine's page does

protected:
    void load(const QString& address) override;
    void unload() override;

private:
    CallLog& m_log;
    bool m_silent = false;
};

// An engine that starts at once and logs "engine started".
class RecordingEngine : public browser::BrowserEngine
{
public:
    explicit RecordingEngine(CallLog& log) : m_log(log) {}

protected:
    void startProcesses() override { m_log.calls << QStringLiteral("engine started"); }

private:
    CallLog& m_log;
};

class RecordingWindowManager : public app::WindowManager
{
public:
    explicit RecordingWindowManager(CallLog& log) : m_log(log) {}
    void setStayOnTop(bool onTop) override;
    std::optional<geometry::FrameMargins> frameEstimate() override
    {
        ++frameEstimates;
        return frame;
    }
    bool onTop = false;
    std::optional<geometry::FrameMargins> frame; // what the window manager would say
    int frameEstimates = 0;

private:
    CallLog& m_log;
};

// A notification area that shows nothing: it keeps what it was given, and clicks on its
// icon are the test's.
class RecordingTray : public app::Tray
{
    Q_OBJECT

public:
    explicit RecordingTray(CallLog& log) : m_log(log) {}
    void addIcon(const QIcon& icon, const QString& toolTip, const Balloon& greeting,
                 QMenu* menu) override;
    void removeIcon() override;
    bool available() const override { return isAvailable; }
    void holdBalloons() override { m_log.calls << QStringLiteral("balloons held"); }
    void releaseBalloons() override { m_log.calls << QStringLiteral("balloons released"); }

    void leftClick() { emit clicked(); }
    void rightClick() { emit menuRequested(); }

    bool isAvailable = true;
    bool iconShown = false;
    QString toolTip;
    Balloon greeting;
    QMenu* menu = nullptr;

private:
    CallLog& m_log;
};

// The window's platform on these doubles; windowManager is set to the one made.
app::MainWindow::Platform RecordingPlatform(CallLog& log, RecordingTray& tray,
                                            RecordingWindowManager*& windowManager,
                                            browser::BrowserEngine* engine = nullptr);

} // namespace tovrin::testing
