#pragma once

#include "app/WindowManager.h"
#include "geometry/WindowSizeNegotiation.h"

#include <QTimer>

#include <functional>

class QWidget;

namespace tovrin::app {

// A top-level widget as its size negotiation sees it, with the frame watch's timer.
class QtNegotiatedWindow : public geometry::NegotiatedWindow
{
public:
    // inNormalState says whether the window is neither minimized nor maximized; onWatch
    // runs every tick of the frame watch.
    QtNegotiatedWindow(QWidget& window, WindowManager& manager, std::function<bool()> inNormalState,
                       std::function<void()> onWatch);

    geometry::FrameMargins drawnFrame() const override;
    std::optional<geometry::FrameMargins> requestFrame() override;
    geometry::PixelSize clientSize() const override;
    void resizeClient(geometry::PixelSize size) override;
    void placeClient(geometry::PixelRect rect) override;
    bool shownNormal() const override;
    bool normalState() const override;
    void setWatching(bool on) override;
    void trace(std::string_view what) override;

private:
    QWidget& m_window;
    WindowManager& m_manager;
    std::function<bool()> m_inNormalState;
    QTimer m_watch;
};

// The steady clock, in milliseconds.
const geometry::MonotonicClock& SteadyClock();

} // namespace tovrin::app
