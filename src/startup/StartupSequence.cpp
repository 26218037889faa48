#include "startup/StartupSequence.h"

#include "app/Tray.h"
#include "browser/BrowserEngine.h"
#include "startup/EventWatch.h"
#include "startup/StartupLog.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <utility>

namespace tovrin::startup {

StartupSequence::StartupSequence(browser::BrowserEngine* engine, app::Tray* tray,
                                 const StartupLog& log, Waits waits)
    : m_engine(engine), m_tray(tray), m_log(log), m_waits(waits)
{
    if (m_engine)
        m_engine->hold();
    if (m_tray)
        m_tray->holdBalloons();
}

app::MainWindow::Platform StartupSequence::windowPlatform(
    browser::BrowserFactory browsers,
    std::function<std::unique_ptr<app::WindowManager>(QWidget&)> windowManager) const
{
    return {std::move(browsers), std::move(windowManager), m_tray};
}

void StartupSequence::show(app::MainWindow& window)
{
    // Step 6.
    if (m_engine)
        m_engine->prepareWindow(window);
    HoldFirstFrameUntilActive(window, m_waits.firstFrameMs);
    m_log.watch(window);
    // With nothing to wait for (a lookup asked for on the command line), step 7 comes
    // first: the engine and its first page start as the window is shown.
    if (m_waits.engineMs == 0)
        engineStep(window, false);
    else
        RunWhenReadyToType(
            window, window.queryBox(), [this, &window](bool ready) { engineStep(window, ready); },
            m_waits.engineMs);
    window.show();
    m_log.mark("show returned");
}

void StartupSequence::engineStep(app::MainWindow& window, bool readyToType)
{
    // Step 7.
    if (readyToType)
        m_log.mark("ready to type");
    connect(&window.resultView(), &browser::BrowserControl::loadFinished, this,
            &StartupSequence::firstPageStep,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    QTimer::singleShot(m_waits.firstPageMs, this, &StartupSequence::firstPageStep);
    if (m_engine) {
        m_engine->start();
        m_log.mark("engine started");
    }
}

void StartupSequence::firstPageStep()
{
    // Step 8.
    if (std::exchange(m_firstPageIn, true))
        return;
    if (m_engine)
        m_engine->releaseWaitingPages();
    if (m_tray)
        m_tray->releaseBalloons();
}

void HoldFirstFrameUntilActive(QWidget& window, int longestMs)
{
    window.setUpdatesEnabled(false);
    auto* hold = new EventWatch(
        window,
        [&window](const QEvent& event) {
            return event.type() == QEvent::ActivationChange && window.isActiveWindow();
        },
        [&window](bool) { window.setUpdatesEnabled(true); }); // the whole window is painted again
    QTimer::singleShot(longestMs, hold, [hold] { hold->end(false); });
}

void RunWhenReadyToType(QWidget& window, QWidget& input, std::function<void(bool)> action,
                        int longestMs)
{
    auto painted = std::make_shared<bool>(false);
    const auto ready = [&window, &input, painted] {
        return *painted && window.isActiveWindow() && input.hasFocus();
    };
    auto* watch = new EventWatch(
        window,
        [painted, ready](const QEvent& event) {
            if (event.type() == QEvent::Paint)
                *painted = true;
            return (event.type() == QEvent::Paint || event.type() == QEvent::ActivationChange) &&
                   ready();
        },
        [&window, action = std::move(action)](bool seen) {
            // Posted: the frame being painted is drawn and flushed to the screen first.
            QTimer::singleShot(0, &window, [action, seen] { action(seen); });
        });
    QObject::connect(qApp, &QApplication::focusChanged, watch, [watch, ready] {
        if (ready())
            watch->end(true);
    });
    QTimer::singleShot(longestMs, watch, [watch] { watch->end(false); });
}

} // namespace tovrin::startup
