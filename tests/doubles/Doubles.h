#pragma once

// Test doubles for the window's platform: browser controls, the window manager and the
// notification area, each recording what the window asks of it into one shared log.

#include "app/Form1.h"
#include "platform/BrowserControl.h"
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

class RecordingBrowser : public platform::BrowserControl
{
    Q_OBJECT

public:
    RecordingBrowser(QWidget* parent, const QString& name, CallLog& log);

    void Navigate(const QString& address) override;
    void setSilent(bool silent) override;
    bool silent() const override { return m_silent; }
    void clear() override;

    QStringList navigations;
    QWidget* page = nullptr; // what takes the focus, as the engine's page does

private:
    CallLog& m_log;
    bool m_silent = false;
};

platform::BrowserFactory RecordingBrowserFactory(CallLog& log);

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

    bool isAvailable = true;
    std::vector<platform::NOTIFYICONDATAA> icons; // currently shown

private:
    CallLog& m_log;
};

// The window's platform on these doubles; window is set to the window backend made.
app::Form1::Platform RecordingPlatform(CallLog& log, RecordingTray& tray,
                                       RecordingWindowBackend*& window);

} // namespace tovrin::testing
