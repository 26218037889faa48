#include "Doubles.h"

#include <algorithm>

namespace tovrin::testing {

RecordingBrowser::RecordingBrowser(QWidget* parent, const browser::BrowserRole& role,
                                   CallLog& log, browser::BrowserEngine* engine)
    : BrowserControl(parent, role, engine), m_log(log)
{
    // Like the engine's view, the control takes the focus only into its page.
    page = new QWidget(this);
    page->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(page);
}

void RecordingBrowser::load(const QString& address)
{
    navigations << address;
    m_log.calls << objectName() + QStringLiteral(".Navigate ") + address;
}

void RecordingBrowser::unload()
{
    m_log.calls << objectName() + QStringLiteral(".Clear");
}

void RecordingBrowser::setSilent(bool silent)
{
    m_silent = silent;
    m_log.calls << objectName() + QStringLiteral(".Silent ") +
                       (silent ? QStringLiteral("true") : QStringLiteral("false"));
}

browser::BrowserFactory RecordingBrowserFactory(CallLog& log, browser::BrowserEngine* engine)
{
    return [&log, engine](QWidget* parent,
                          const browser::BrowserRole& role) -> browser::BrowserControl* {
        return new RecordingBrowser(parent, role, log, engine);
    };
}

app::Form1::Platform RecordingPlatform(CallLog& log, RecordingTray& tray,
                                       RecordingWindowBackend*& window,
                                       browser::BrowserEngine* engine)
{
    auto windows = [&log, &window](QWidget&) {
        auto backend = std::make_unique<RecordingWindowBackend>(log);
        window = backend.get();
        return std::unique_ptr<platform::WindowBackend>(std::move(backend));
    };
    return {RecordingBrowserFactory(log, engine), windows, &tray};
}

void RecordingWindowBackend::setStayOnTop(bool on)
{
    onTop = on;
    m_log.calls << (on ? QStringLiteral("SetWindowPos TOPMOST")
                       : QStringLiteral("SetWindowPos NOTOPMOST"));
}

bool RecordingTray::addIcon(const platform::NOTIFYICONDATAA& record)
{
    icons.push_back(record);
    m_log.calls << QStringLiteral("Shell_NotifyIcon ADD");
    return true;
}

bool RecordingTray::deleteIcon(platform::HWND hWnd, platform::UINT id)
{
    m_log.calls << QStringLiteral("Shell_NotifyIcon DELETE");
    const auto it = std::find_if(icons.begin(), icons.end(),
                                 [&](const auto& r) { return r.hWnd == hWnd && r.uID == id; });
    if (it == icons.end())
        return false;
    icons.erase(it);
    return true;
}

} // namespace tovrin::testing
