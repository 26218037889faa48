#include "app/StartupSequence.h"

#include "app/Form1.h"
#include "app/QueryBox.h"
#include "app/StartupLog.h"
#include "browser/BrowserEngine.h"
#include "platform/WinApi.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <utility>

namespace tovrin::app {

namespace {

class FirstFrameHold : public QObject
{
public:
    // A child of the window, so it never outlives it.
    explicit FirstFrameHold(QWidget& window) : QObject(&window), m_window(window)
    {
        window.setUpdatesEnabled(false);
        window.installEventFilter(this);
    }

    void release()
    {
        if (std::exchange(m_released, true))
            return;
        m_window.setUpdatesEnabled(true); // the whole window is painted again
        deleteLater();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::ActivationChange &&
            m_window.isActiveWindow())
            release();
        return false;
    }

private:
    QWidget& m_window;
    bool m_released = false; // by activation or by the wait, whichever came first
};

// Runs its action once, when the window is ready to type in or after its wait.
class WhenReadyToType : public QObject
{
public:
    WhenReadyToType(QWidget& window, QWidget& input, std::function<void(bool)> action)
        : QObject(&window), m_window(window), m_input(input), m_action(std::move(action))
    {
        window.installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this] { check(); });
    }

    void run()
    {
        if (!m_action)
            return;
        m_window.removeEventFilter(this);
        disconnect(qApp, nullptr, this, nullptr);
        std::exchange(m_action, {})(m_ready);
        deleteLater();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        if (event->type() == QEvent::Paint || event->type() == QEvent::ActivationChange)
            check();
        return false;
    }

private:
    void check()
    {
        // Posted: the frame being painted is drawn and flushed to the screen first.
        if (!m_ready && m_painted && m_window.isActiveWindow() && m_input.hasFocus()) {
            m_ready = true;
            QTimer::singleShot(0, this, [this] { run(); });
        }
    }

    QWidget& m_window;
    QWidget& m_input;
    std::function<void(bool)> m_action;
    bool m_painted = false;
    bool m_ready = false;
};

} // namespace

StartupSequence::StartupSequence(browser::BrowserEngine* engine, platform::TrayBackend* tray,
                                 const StartupLog& log, Waits waits)
    : m_engine(engine), m_tray(tray), m_log(log), m_waits(waits)
{
    // Step 1: an engine holds its pages until it is started.
    if (m_tray)
        m_tray->holdBalloons();
}

void StartupSequence::run(Form1& form)
{
    // Step 2.
    if (m_engine)
        m_engine->prepareWindow(form);
    HoldFirstFrameUntilActive(form, m_waits.firstFrameMs);
    RunWhenReadyToType(
        form, *form.Text1, [this, &form](bool ready) { engineStep(form, ready); },
        m_waits.engineMs);
    m_log.watch(form);
    form.show();
    m_log.mark("show returned");
}

void StartupSequence::engineStep(Form1& form, bool readyToType)
{
    // Step 3.
    if (readyToType)
        m_log.mark("ready to type");
    connect(form.WebBrowser1, &browser::BrowserControl::loadFinished, this,
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
    // Step 4.
    if (std::exchange(m_firstPageIn, true))
        return;
    if (m_engine)
        m_engine->releaseWaitingPages();
    if (m_tray)
        m_tray->releaseBalloons();
}

void RunWhenReadyToType(QWidget& window, QWidget& input, std::function<void(bool)> action,
                        int longestMs)
{
    auto* when = new WhenReadyToType(window, input, std::move(action));
    QTimer::singleShot(longestMs, when, [when] { when->run(); });
}

void HoldFirstFrameUntilActive(QWidget& window, int longestMs)
{
    auto* hold = new FirstFrameHold(window);
    QTimer::singleShot(longestMs, hold, [hold] { hold->release(); });
}

} // namespace tovrin::app
