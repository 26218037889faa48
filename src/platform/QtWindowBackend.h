#pragma once

#include "platform/WinApi.h"

class QWidget;

namespace tovrin::platform {

// A top-level widget as the layer's window.
class QtWindowBackend : public WindowBackend
{
public:
    explicit QtWindowBackend(QWidget& window) : m_window(window) {}

    void setStayOnTop(bool onTop) override;
    std::optional<FrameMargins> frameEstimate() override;

private:
    QWidget& m_window;
};

} // namespace tovrin::platform
