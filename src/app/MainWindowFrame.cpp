// The window's frame: its state, its size and layout, and the notification area it hides
// in.

#include "app/MainWindow.h"

#include "app/QtNegotiatedWindow.h"
#include "app/Tray.h"
#include "app/X11Window.h"
#include "geometry/WindowSizeNegotiation.h"
#include "lookup/LookupBar.h"
#include "maker/MakerStrip.h"
#include "ui/TwipRect.h"

#include <QAction>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <utility>

namespace tovrin::app {

// Window-state and size decisions, for tracing with QT_LOGGING_RULES="tovrin.window=true".
Q_LOGGING_CATEGORY(lcWindow, "tovrin.window", QtWarningMsg)

void MainWindow::setVisible(bool visible)
{
    if (visible && !m_shownOnce) {
        m_activationPending = true; // the program's first showing
        create();
        m_size->requestFrameBeforeShowing();
        // The window starts centred on the screen at its design outer size.
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            m_size->centreOnFirstShowing(
                {area.x(), area.y(), area.width(), area.height()},
                {geometry::kMinimumWidth, geometry::kMinimumHeightStripOpen});
        }
    }
    QMainWindow::setVisible(visible);
}

MainWindow::State MainWindow::state() const
{
    // The program hides its window only to the notification area, and a window hidden
    // there counts as minimized, whatever the window system made of the state on unmap.
    if (m_shownOnce && isHidden())
        return State::Minimized;
    const Qt::WindowStates states = windowState();
    if (states.testFlag(Qt::WindowMinimized))
        return State::Minimized;
    if (states.testFlag(Qt::WindowMaximized) || states.testFlag(Qt::WindowFullScreen))
        return State::Maximized;
    return State::Normal;
}

void MainWindow::setState(State state)
{
    // A minimize that the layout would answer by hiding the window: hide first and record
    // the state on the hidden window. Asking the window manager to iconify a window that
    // is being withdrawn races with the withdrawal and can leave it iconic for good.
    if (state == State::Minimized && isVisible() && !m_shownFromTray && canHideToTray()) {
        hide();
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    Qt::WindowStates states = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == State::Minimized)
        states |= Qt::WindowMinimized;
    else if (state == State::Maximized)
        states |= Qt::WindowMaximized;
    setWindowState(states);
    if (state == State::Normal && isVisible()) {
        raise();
        activateWindow();
    }
}

// Back from the notification area (the icon, the menu, a notification area that went
// away): the program's own showing, in the normal state.
void MainWindow::showFromTray()
{
    m_shownFromTray = true;
    m_activationPending = true; // the activation it brings selects the query
    show();
    setState(State::Normal);
}

void MainWindow::comeForward(const QByteArray& startupId, const QByteArray& activationToken)
{
    // Qt's Wayland window presents the token it finds here when it asks for activation.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    if (!startupId.isEmpty() && windowHandle())
        X11UseStartupId(winId(), startupId);
    if (isHidden() || state() == State::Minimized) {
        showFromTray();
        return;
    }
    m_activationPending = true;
    raise();
    activateWindow();
}

void MainWindow::lookUp(const QString& words, int category)
{
    m_lookup->lookUp(words, category);
}

void MainWindow::hideToTray()
{
    m_shownFromTray = false;
    setState(State::Minimized);
    // Without a notification area a hidden window would be out of reach.
    if (canHideToTray())
        hide();
}

void MainWindow::onTrayClicked()
{
    if (state() == State::Minimized)
        showFromTray();
    else
        hideToTray();
}

void MainWindow::onShowItem()
{
    // The menu item decides by how the window was shown last, not by its state.
    if (m_shownFromTray)
        hideToTray();
    else if (!isVisible() || state() != State::Normal)
        showFromTray();
    else
        m_shownFromTray = true; // shown already: not raised, activated or re-selected
    m_showItem->setText(isVisible() ? QStringLiteral("隐藏窗口") : QStringLiteral("显示窗口"));
}

void MainWindow::onTrayWatch()
{
    // A notification area that goes away while the window is hidden in it (a panel that
    // crashed or restarts) would leave the window out of reach: it comes back as the
    // icon would bring it back.
    if (isVisible() || m_unloaded) {
        m_trayWatch.stop();
    } else if (!canHideToTray()) {
        m_trayWatch.stop();
        showFromTray();
    }
}

bool MainWindow::canHideToTray() const
{
    return m_platform.tray && m_platform.tray->available();
}

geometry::Size MainWindow::outerSize() const
{
    return m_size->outerSize();
}

void MainWindow::setOuterSize(geometry::Size outer)
{
    m_size->setOuterSize(outer);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_size->resized();
    layOut();
    m_size->watchFrame();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    m_size->moved();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_shownOnce = true;
    qCDebug(lcWindow) << "shown";
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    qCDebug(lcWindow) << "hidden";
    m_trayWatch.start(); // it stops itself once the window is shown again
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        // An arming that no activation used is dropped when the user switches away.
        if (std::exchange(m_activationPending, false) && isActiveWindow())
            m_lookup->rearm();
    } else if (event->type() == QEvent::WindowStateChange) {
        layOut();
    }
}

// The layout that follows the window's size: the minimum size, then every control that
// follows it, and a minimized window goes to the notification area.
void MainWindow::layOut()
{
    if (std::exchange(m_inLayout, true))
        return;
    if (state() != State::Minimized) {
        const bool stripOpen = m_strip->isOpen();
        geometry::Size size = outerSize();
        qCDebug(lcWindow) << "resize pass at" << size.W << size.H << "state"
                          << static_cast<int>(state()) << "frame" << frameGeometry() << "client"
                          << geometry();
        // A maximized window cannot be resized; it is laid out at the size it has.
        if (state() == State::Normal) {
            const geometry::Size corrected = geometry::MinimumSize(size, stripOpen);
            if (!(corrected == size)) {
                setOuterSize(corrected);
                size = corrected;
            }
        }
        applyLayout(geometry::LayOut(m_twips, size, stripOpen));
    }
    m_inLayout = false;
    if (state() == State::Minimized && !m_shownFromTray && isVisible() && canHideToTray())
        hide();
}

void MainWindow::applyLayout(const geometry::Controls& c)
{
    m_twips = c;
    m_result->setGeometry(ui::TwipRect(c.webBrowser1));
    m_contactButton->setGeometry(ui::TwipRect(c.contact));
    m_strip->place(c);
}

void MainWindow::onStripClosed()
{
    if (state() == State::Maximized) {
        // The window keeps its size: the result view reaches down to its bottom and the
        // contact button stands at its corner.
        geometry::Controls c = m_twips;
        const float height = outerSize().H;
        c.webBrowser1.height = std::max(height - c.webBrowser1.top, 0.0f);
        applyLayout(c);
        m_strip->hideParts();
        c.contact.left = c.webBrowser1.width - c.contact.width;
        c.contact.top = height - c.contact.height - geometry::kBottomAllowance;
        applyLayout(c);
    } else {
        setOuterSize({outerSize().W, geometry::kMinimumHeightStripClosed});
        // The window system applies the new size later; lay out for it now.
        layOut();
    }
}

} // namespace tovrin::app
