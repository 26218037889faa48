#pragma once

// Test doubles for the window's platform: browser controls, the window manager and the
// notification area, each recording what the window asks of it into one shared log.

#include "app/Form1.h"
#include "browser/BrowserControl.h"
#include "browser/BrowserEngine.h"
#include "platform/WinApi.h"

#include <QStringList>
#include <optional>

#include <memory>
#include <vector>

namespace tovrin::testing {

// One log for all doubles, so that tests can check the order of calls across them.
struct CallLog
{
    QStringList calls;
    QStringList matching(const QString& prefix) const { return calls.filter(prefix); }
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

browser::BrowserFactory RecordingBrowserFactory(CallLog& log,
                                                browser::BrowserEngine* engine = nullptr);

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

class RecordingWindowBackend : public platform::WindowBackend
{
public:
    explicit RecordingWindowBackend(CallLog& log) : m_log(log) {}
    void setStayOnTop(bool onTop) override;
    std::optional<platform::FrameMargins> frameEstimate() override
    {
        ++frameEstimates;
        return frame;
    }
    bool onTop = false;
    std::optional<platform::FrameMargins> frame; // what the window manager would say
    int frameEstimates = 0;

private:
    CallLog& m_log;
};

class RecordingTray : public platform::TrayBackend
{
public:
    explicit RecordingTray(CallLog& log) : m_log(log) {}
    bool addIcon(const platform::NOTIFYICONDATAA& record) override;
    bool deleteIcon(platform::HWND hWnd, platform::UINT id) override;
    bool available() const override { return isAvailable; }
    void holdBalloons() override { m_log.calls << QStringLiteral("balloons held"); }
    void releaseBalloons() override { m_log.calls << QStringLiteral("balloons released"); }

    bool isAvailable = true;
    std::vector<platform::NOTIFYICONDATAA> icons; // currently shown

private:
    CallLog& m_log;
};

// The window's platform on these doubles; window is set to the window backend made.
app::Form1::Platform RecordingPlatform(CallLog& log, RecordingTray& tray,
                                       RecordingWindowBackend*& window,
                                       browser::BrowserEngine* engine = nullptr);

} // namespace tovrin::testing
