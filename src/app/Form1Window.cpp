// The window's own behaviour: resize layout, notification-area icon and window hook,
// the tray menu's commands, and unloading.

#include "app/Form1.h"

#include "app/Module1.h"
#include "app/NoticeBox.h"
#include "app/Twips.h"
#include "maker/MakerPages.h"
#include "platform/AnsiText.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QLoggingCategory>
#include <QMenu>
#include <QPushButton>
#include <QWindow>

namespace tovrin::app {

using namespace tovrin::platform;

// Window-state and size decisions, for tracing with QT_LOGGING_RULES="tovrin.window=true".
Q_LOGGING_CATEGORY(lcWindow, "tovrin.window", QtWarningMsg)

namespace {

void Place(QWidget* w, const layout::Rect& r)
{
    w->setGeometry(TwipRect(r.left, r.top, r.width, r.height));
}

// A frame the window manager has drawn: while the window is being framed the margins
// can read as nothing or as nonsense.
bool IsFrame(const QMargins& m)
{
    return !m.isNull() && m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0;
}

} // namespace

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

QMargins Form1::frameMargins() const
{
    // Asked of the window itself: the widget keeps the first non-empty answer until its
    // next move or resize.
    const QWindow* window = windowHandle();
    return window ? window->frameMargins() : QMargins();
}

bool Form1::frameArrived() const
{
    return IsFrame(frameMargins());
}

QSize Form1::frameExtra() const
{
    if (const QMargins m = frameMargins(); IsFrame(m)) {
        m_knownFrame = QSize(m.left() + m.right(), m.top() + m.bottom());
    } else if (!m_knownFrame && !m_frameEstimateAsked && windowHandle()) {
        // Before the window is first shown, the window manager can say what frame it
        // will give it: the first showing is then at the right size, and the page the
        // window opens with is not laid out again a moment later.
        m_frameEstimateAsked = true;
        if (const auto f = m_windowBackend->frameEstimate())
            m_knownFrame = QSize(f->left + f->right, f->top + f->bottom);
        qCDebug(lcWindow) << "frame estimate" << m_knownFrame.value_or(QSize());
    }
    // Until the window manager has framed the window (and while it is unmapped) there is
    // no frame to read; the estimate or the last frame seen is the better guess then.
    return m_knownFrame.value_or(QSize(0, 0));
}

bool Form1::requestApplied() const
{
    return size() == m_requestedClient;
}

float Form1::OuterWidth() const
{
    return m_pendingOuter && !requestApplied() ? m_pendingOuter->W
                                               : PixelsToTwips(width() + frameExtra().width());
}

float Form1::OuterHeight() const
{
    return m_pendingOuter && !requestApplied() ? m_pendingOuter->H
                                               : PixelsToTwips(height() + frameExtra().height());
}

void Form1::SetOuterSize(float W, float H)
{
    const QSize frame = frameExtra();
    qCDebug(lcWindow) << "set outer size" << W << H << "frame" << frame << "known"
                      << bool(m_knownFrame);
    // Until the frame is there to read, the size may rest on a guess: make it exact
    // once the frame is known.
    if (!frameArrived() && !m_frameWatch.isActive()) {
        m_frameWatchClock.start();
        m_frameWatch.start();
    }
    const QSize client(std::max(TwipsToPixels(W) - frame.width(), 0),
                       std::max(TwipsToPixels(H) - frame.height(), 0));
    m_requestedOuter = layout::Size{W, H};
    m_requestedClient = client;
    // No resize event follows a size the widget already has.
    if (client == size())
        return;
    m_pendingOuter = layout::Size{W, H};
    m_resizeAskedClock.start();
    resize(client);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pendingOuter.reset();
    if (m_requestedOuter && !requestApplied())
        m_requestedOuter.reset(); // resized by the user since
    Form_Resize();
    if (m_frameWatch.isActive())
        onFrameWatch();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Reparenting into the window manager's frame moves the client: the frame has come.
    if (m_frameWatch.isActive())
        onFrameWatch();
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
        show();
        SetWindowState(0);
    }
}

void Form1::onFrameWatch()
{
    // The window manager's frame arrives after the first sizes were set: once it is
    // known and the size set from code has been applied, make that size exact.
    // A resize asked for while Qt delivers the first resize event sends no event of its
    // own, so the applied size is read from the widget rather than waited for.
    const bool frameKnown = frameArrived();
    const bool timedOut = m_frameWatchClock.hasExpired(kFrameWatchMs);
    const bool outstanding = m_requestedOuter && !requestApplied();
    if ((!frameKnown || outstanding) && !timedOut) {
        // A size asked for while the window was being shown can be lost on the way, and
        // a busy window manager can leave it unanswered; ask again now and then.
        if (outstanding && isVisible() && WindowState() == 0 &&
            m_resizeAskedClock.hasExpired(kResizeAskAgainMs)) {
            qCDebug(lcWindow) << "size" << m_requestedClient << "not applied; asking again";
            m_resizeAskedClock.start();
            resize(m_requestedClient);
        }
        return;
    }
    m_frameWatch.stop();
    m_pendingOuter.reset();
    qCDebug(lcWindow) << "frame known" << frameKnown << frameMargins() << geometry()
                      << "requested client" << m_requestedClient << "state" << WindowState();
    if (!frameKnown || !m_requestedOuter || WindowState() != 0 || !requestApplied())
        return;
    const QSize outer(TwipsToPixels(m_requestedOuter->W), TwipsToPixels(m_requestedOuter->H));
    if (size() + frameExtra() != outer)
        SetOuterSize(m_requestedOuter->W, m_requestedOuter->H);
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
    return NotificationAreaAvailable();
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
                          << "frame" << frameGeometry() << "client" << geometry() << "pending"
                          << bool(m_pendingOuter);
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
    else if (event->type() == QEvent::WindowStateChange)
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
        if (!isVisible() || WindowState() != 0) {
            show();
            SetWindowState(0);
        }
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
    if (bTopmost == 1) {
        zhiding->setText(QStringLiteral("窗口置顶"));
        SetWindowPos(hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        bTopmost = 0;
    } else {
        zhiding->setText(QStringLiteral("取消置顶"));
        SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        bTopmost = 1;
    }
}

void Form1::connect_Click()
{
    zhiding->setText(QStringLiteral("窗口置顶"));
    SetWindowPos(hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    bTopmost = 0;
    WebBrowser4->Navigate(
        QString::fromStdString(lookup::ContactAddress(m_config.hosts, m_config.makerNumber)));
}

} // namespace tovrin::app
