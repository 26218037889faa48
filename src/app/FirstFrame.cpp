#include "app/FirstFrame.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

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
