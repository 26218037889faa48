#pragma once

#include "app/WindowSizeNegotiation.h"

#include <QTimer>

#include <functional>

class QWidget;

namespace tovrin::app {

// A top-level widget as its size negotiation sees it, with the frame watch's timer.
class QtNegotiatedWindow : public NegotiatedWindow
{
public:
    // windowState gives 0 for normal, 1 minimized, 2 maximized; onWatch runs every
    // tick of the frame watch.
    QtNegotiatedWindow(QWidget& window, platform::WindowBackend& backend,
                       std::function<int()> windowState, std::function<void()> onWatch);

    platform::FrameMargins drawnFrame() const override;
    std::optional<platform::FrameMargins> requestFrame() override;
    PixelSize clientSize() const override;
    void resizeClient(PixelSize size) override;
    void placeClient(PixelRect rect) override;
    bool shownNormal() const override;
    bool normalState() const override;
    void setWatching(bool on) override;
    void trace(std::string_view what) override;

private:
    QWidget& m_window;
    platform::WindowBackend& m_backend;
    std::function<int()> m_windowState;
    QTimer m_watch;
};

// The steady clock, in milliseconds.
const MonotonicClock& SteadyClock();

} // namespace tovrin::app
