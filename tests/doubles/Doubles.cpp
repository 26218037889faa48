#include "Doubles.h"

namespace tovrin::testing {

RecordingBrowser::RecordingBrowser(QWidget* parent, const browser::BrowserRole& role, CallLog& log,
                                   browser::BrowserEngine* engine)
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

void RecordingWindowManager::setStayOnTop(bool on)
{
    onTop = on;
    m_log.calls << (on ? QStringLiteral("stays on top") : QStringLiteral("not on top"));
}

void RecordingTray::addIcon(const QIcon&, const QString& tip, const Balloon& balloon, QMenu* m)
{
    iconShown = true;
    toolTip = tip;
    greeting = balloon;
    menu = m;
    m_log.calls << QStringLiteral("icon added");
}

void RecordingTray::removeIcon()
{
    iconShown = false;
    m_log.calls << QStringLiteral("icon removed");
}

app::MainWindow::Platform RecordingPlatform(CallLog& log, RecordingTray& tray,
                                            RecordingWindowManager*& windowManager,
                                            browser::BrowserEngine* engine)
{
    auto browsers = [&log, engine](QWidget* parent,
                                   const browser::BrowserRole& role) -> browser::BrowserControl* {
        return new RecordingBrowser(parent, role, log, engine);
    };
    auto windowManagers = [&log, &windowManager](QWidget&) {
        auto manager = std::make_unique<RecordingWindowManager>(log);
        windowManager = manager.get();
        return std::unique_ptr<app::WindowManager>(std::move(manager));
    };
    return {browsers, windowManagers, &tray};
}

} // namespace tovrin::testing
