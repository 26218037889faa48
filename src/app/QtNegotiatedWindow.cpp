#include "app/QtNegotiatedWindow.h"

#include <QLoggingCategory>
#include <QWidget>
#include <QWindow>

#include <chrono>

namespace tovrin::app {

Q_DECLARE_LOGGING_CATEGORY(lcWindow)

using geometry::FrameMargins;
using geometry::PixelRect;
using geometry::PixelSize;

QtNegotiatedWindow::QtNegotiatedWindow(QWidget& window, WindowManager& manager,
                                       std::function<bool()> inNormalState,
                                       std::function<void()> onWatch)
    : m_window(window), m_manager(manager), m_inNormalState(std::move(inNormalState))
{
    m_watch.setInterval(geometry::WindowSizeNegotiation::kWatchIntervalMs);
    QObject::connect(&m_watch, &QTimer::timeout, &window, std::move(onWatch));
}

FrameMargins QtNegotiatedWindow::drawnFrame() const
{
    // Asked of the window itself: the widget keeps the first non-empty answer until its
    // next move or resize.
    const QWindow* handle = m_window.windowHandle();
    const QMargins m = handle ? handle->frameMargins() : QMargins();
    return {m.left(), m.top(), m.right(), m.bottom()};
}

std::optional<FrameMargins> QtNegotiatedWindow::requestFrame()
{
    return m_manager.frameEstimate();
}

PixelSize QtNegotiatedWindow::clientSize() const
{
    return {m_window.width(), m_window.height()};
}

void QtNegotiatedWindow::resizeClient(PixelSize size)
{
    m_window.resize(size.width, size.height);
}

void QtNegotiatedWindow::placeClient(PixelRect rect)
{
    m_window.setGeometry(rect.x, rect.y, rect.width, rect.height);
}

bool QtNegotiatedWindow::shownNormal() const
{
    return m_window.isVisible() && normalState();
}

bool QtNegotiatedWindow::normalState() const
{
    return m_inNormalState();
}

void QtNegotiatedWindow::setWatching(bool on)
{
    if (on)
        m_watch.start();
    else
        m_watch.stop();
}

void QtNegotiatedWindow::trace(std::string_view what)
{
    qCDebug(lcWindow) << QLatin1StringView(what.data(), static_cast<qsizetype>(what.size()))
                      << "client" << m_window.geometry() << "normal" << m_inNormalState();
}

namespace {

class Steady : public geometry::MonotonicClock
{
public:
    std::int64_t nowMs() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

} // namespace

const geometry::MonotonicClock& SteadyClock()
{
    static const Steady clock;
    return clock;
}

} // namespace tovrin::app
