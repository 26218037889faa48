#pragma once

#include "app/WindowManager.h"

class QWidget;

namespace tovrin::app {

// The window manager of the desktop, for a top-level widget.
class QtWindowManager : public WindowManager
{
public:
    explicit QtWindowManager(QWidget& window) : m_window(window) {}

    void setStayOnTop(bool onTop) override;
    std::optional<geometry::FrameMargins> frameEstimate() override;

private:
    QWidget& m_window;
};

} // namespace tovrin::app
