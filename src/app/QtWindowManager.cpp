#include "app/QtWindowManager.h"

#include "app/X11Window.h"

#include <QWidget>
#include <QWindow>

namespace tovrin::app {

void QtWindowManager::setStayOnTop(bool onTop)
{
    const Qt::WindowFlags flags = m_window.windowFlags();
    const Qt::WindowFlags wanted =
        onTop ? flags | Qt::WindowStaysOnTopHint : flags & ~Qt::WindowStaysOnTopHint;
    if (QWindow* handle = m_window.windowHandle()) {
        // QWidget::setWindowFlags would re-create the native window, hiding it and
        // losing a maximized state; the window handle changes just the one flag.
        m_window.overrideWindowFlags(wanted);
        handle->setFlags(wanted);
    } else {
        m_window.setWindowFlags(wanted);
    }
}

std::optional<geometry::FrameMargins> QtWindowManager::frameEstimate()
{
    if (!m_window.windowHandle())
        return std::nullopt;
    return RequestX11FrameExtents(m_window.winId());
}

} // namespace tovrin::app
