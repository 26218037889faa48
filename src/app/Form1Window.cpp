// The window's own behaviour: resize layout, notification-area icon and window hook,
// the tray menu's commands, and unloading.

#include "app/Form1.h"

#include "app/Module1.h"
#include "app/NoticeBox.h"
#include "app/QtNegotiatedWindow.h"
#include "app/QtText.h"
#include "app/TwipRect.h"
#include "maker/MakerPages.h"
#include "platform/AnsiText.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QLoggingCategory>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <utility>

namespace tovrin::app {

using namespace tovrin::platform;

// Window-state and size decisions, for tracing with QT_LOGGING_RULES="tovrin.window=true".
Q_LOGGING_CATEGORY(lcWindow, "tovrin.window", QtWarningMsg)

namespace {

void Place(QWidget* w, const layout::Rect& r)
{
    w->setGeometry(TwipRect(r));
}

} // namespace

void Form1::setVisible(bool visible)
{
    if (visible && !m_shownOnce) {
        m_activationPending = true; // the program's first showing
        create();
        m_size->requestFrameBeforeShowing();
        // The window starts centred on the screen at its design outer size.
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            m_size->centreOnFirstShowing({area.x(), area.y(), area.width(), area.height()},
                                         {layout::kMinimumWidth, layout::kMinimumHeightStripOpen});
        }
    }
    QWidget::setVisible(visible);
}

int Form1::WindowState() const
{
    // The program hides its window only to the notification area, and a window hidden
    // there counts as minimized, whatever the window system made of the state on unmap.
    if (m_shownOnce && isHidden())
        return 1;
    const Qt::WindowStates state = windowState();
    if (state.testFlag(Qt::WindowMinimized))
        return 1;
    if (state.testFlag(Qt::WindowMaximized) || state.testFlag(Qt::WindowFullScreen))
        return 2;
    return 0;
}

void Form1::SetWindowState(int state)
{
    // A minimize that the resize handler will answer by hiding the window: hide first and
    // record the state on the hidden window. Asking the window manager to iconify a window
    // that is being withdrawn races with the withdrawal and can leave it iconic for good.
    if (state == 1 && isVisible() && Module1::bShownFromTray == 0 && canHideToTray()) {
        hide();
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    Qt::WindowStates s = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1)
        s |= Qt::WindowMinimized;
    else if (state == 2)
        s |= Qt::WindowMaximized;
    setWindowState(s);
    if (state == 0 && isVisible()) {
        raise();
        activateWindow();
    }
}

float Form1::OuterWidth() const
{
    return m_size->outerSize().W;
}

float Form1::OuterHeight() const
{
    return m_size->outerSize().H;
}

void Form1::SetOuterSize(float W, float H)
{
    m_size->setOuterSize(layout::Size{W, H});
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_size->resized();
    Form_Resize();
    m_size->watchFrame();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    m_size->moved();
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_shownOnce = true;
    qCDebug(lcWindow) << "shown";
}

void Form1::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    qCDebug(lcWindow) << "hidden";
    m_trayWatch.start(); // it stops itself once the window is shown again
}

void Form1::onTrayWatch()
{
    // A notification area that goes away while the window is hidden in it (a panel that
    // crashed or restarts) would leave the window out of reach: it comes back as the
    // icon would bring it back.
    if (isVisible() || m_unloaded) {
        m_trayWatch.stop();
    } else if (!canHideToTray()) {
        m_trayWatch.stop();
        Module1::bShownFromTray = 1;
        ShowAgain();
    }
}

void Form1::ShowAgain()
{
    // The program's own showing: the activation it brings runs Form_Activate.
    m_activationPending = true;
    show();
    SetWindowState(0);
}

void Form1::applyLayout(const layout::Controls& c)
{
    m_twips = c;
    Place(WebBrowser1, c.webBrowser1);
    Place(WebBrowser2, c.webBrowser2);
    Place(WebBrowser3, c.webBrowser3);
    Place(Text2, c.text2);
    Place(Cd_update, c.cdUpdate);
    Place(Cd_AD, c.cdAD);
    Place(Command1[0], c.contact);
    if (!c.stripButtonsVisible) {
        Cd_update->hide();
        Cd_AD->hide();
    }
}

bool Form1::canHideToTray() const
{
    // Hiding a window on a desktop without a notification area would leave it out of reach.
    return NotificationAreaAvailable(hWnd());
}

void Form1::Form_Resize()
{
    if (m_inResize)
        return;
    m_inResize = true;
    if (WindowState() != 1) {
        const bool stripOpen = bAdShown == 1;
        layout::Size size{OuterWidth(), OuterHeight()};
        qCDebug(lcWindow) << "resize pass at" << size.W << size.H << "state" << WindowState()
                          << "frame" << frameGeometry() << "client" << geometry();
        // A maximized window cannot be resized; it is laid out at the size it has.
        if (WindowState() == 0) {
            const layout::Size corrected = layout::MinimumSize(size, stripOpen);
            if (!(corrected == size)) {
                SetOuterSize(corrected.W, corrected.H);
                size = corrected;
            }
        }
        applyLayout(layout::LayOut(m_twips, size, stripOpen));
    }
    m_inResize = false;
    if (WindowState() == 1 && Module1::bShownFromTray == 0 && isVisible() && canHideToTray())
        hide();
}

void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        // An arming that no activation used is dropped when the user switches away.
        if (std::exchange(m_activationPending, false) && isActiveWindow())
            Form_Activate();
    } else if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::setUpTrayAndHook()
{
    Module1::SetMainWindow(this);
    Module1::lpOrigWndProc = GetWindowLongA(hWnd(), GWL_WNDPROC);

    nidTray = {};
    nidTray.cbSize = sizeof(NOTIFYICONDATAA);
    nidTray.hWnd = hWnd();
    nidTray.uID = 1;
    nidTray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    nidTray.uCallbackMessage = Module1::WM_TRAYICON;
    nidTray.hIcon = hWnd();
    WriteAnsiField(nidTray.szTip, "欢迎使用Tovrin");
    nidTray.dwState = 0;
    nidTray.dwStateMask = 0;
    WriteAnsiField(nidTray.szInfo, "单击本图标将显示/隐藏主程序");
    nidTray.uTimeout = 100;
    WriteAnsiField(nidTray.szInfoTitle, "欢迎使用Tovrin");
    nidTray.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconA(NIM_ADD, &nidTray);

    Module1::lpPrevWndProc = SetWindowLongA(hWnd(), GWL_WNDPROC, AddressOf(&Module1::WindowProc));
}

void Form1::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Shell_NotifyIconA(NIM_DELETE, &nidTray);
    SetWindowLongA(hWnd(), GWL_WNDPROC, Module1::lpOrigWndProc);
    Module1::SetMainWindow(nullptr);
    emit unloaded();
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Form1::PopupTrayMenu()
{
    mnuTray->popup(QCursor::pos());
}

void Form1::mnuShow_Click()
{
    if (Module1::bShownFromTray == 0) {
        Module1::bShownFromTray = 1;
        // Showing a window that is shown in the normal state changes nothing: it is not
        // raised, activated or re-selected.
        if (!isVisible() || WindowState() != 0)
            ShowAgain();
    } else if (canHideToTray()) {
        Module1::bShownFromTray = 0;
        SetWindowState(1);
        hide();
    }
    mnuShow->setText(isVisible() ? QStringLiteral("隐藏窗口") : QStringLiteral("显示窗口"));
}

void Form1::mnuExit_Click()
{
    close();
}

void Form1::zhiding_Click()
{
    setTopmost(bTopmost != 1);
}

void Form1::connect_Click()
{
    openContactPage();
}

// The stay-on-top state, its menu caption and its flag change together.
void Form1::setTopmost(bool topmost)
{
    zhiding->setText(topmost ? QStringLiteral("取消置顶") : QStringLiteral("窗口置顶"));
    SetWindowPos(hWnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    bTopmost = topmost ? 1 : 0;
}

// The tray item and the contact button: the window leaves the stay-on-top state and the
// contact control opens the maker's contact link.
void Form1::openContactPage()
{
    setTopmost(false);
    WebBrowser4->Navigate(Utf8(lookup::ContactAddress(m_config.hosts, m_config.makerNumber)));
}

} // namespace tovrin::app
