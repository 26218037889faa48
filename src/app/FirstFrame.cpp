#include "app/FirstFrame.h"

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

} // namespace

void HoldFirstFrameUntilActive(QWidget& window, int longestMs)
{
    auto* hold = new FirstFrameHold(window);
    QTimer::singleShot(longestMs, hold, [hold] { hold->release(); });
}

} // namespace tovrin::app
