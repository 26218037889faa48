#include "platform/QtTrayBackend.h"

#include "platform/AnsiText.h"
#include "platform/TrayBalloon.h"
#include "platform/X11Window.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <QApplication>

#include <algorithm>
#include <optional>

namespace tovrin::platform {

namespace {

// Qt's own rule, asked once as Qt asks it once: its tray icons register with a
// status-notifier watcher when one is on the session bus with a host behind it.
bool IconsAreStatusNotifierItems()
{
    static const bool items = [] {
        const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher))
            return false;
        QDBusMessage get = QDBusMessage::createMethodCall(
            watcher, QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
        const QDBusMessage reply = bus.call(get, QDBus::Block, 1000);
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
               qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
    }();
    return items;
}

// The window Qt docks into an XEmbed notification area for an icon (the program shows one).
QWidget* DockedIconWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("QSystemTrayIconSys"))
            return window;
    return nullptr;
}

// How long a balloon waits for its icon to be docked before Qt shows it where it can.
constexpr int kDockWaitMs = 5000;
constexpr int kDockPollMs = 100;

} // namespace

QtTrayBackend::QtTrayBackend(IconResolver icons, QObject* parent)
    : QObject(parent), m_icons(std::move(icons))
{}

QtTrayBackend::~QtTrayBackend() = default;

bool QtTrayBackend::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayBackend::addIcon(const NOTIFYICONDATAA& record)
{
    const auto key = std::make_pair(record.hWnd, record.uID);
    if (m_trayIcons.count(key))
        return false;
    auto icon = std::make_unique<QSystemTrayIcon>();
    if (record.uFlags & NIF_ICON)
        icon->setIcon(m_icons ? m_icons(record.hIcon) : QIcon());
    if (record.uFlags & NIF_TIP)
        icon->setToolTip(QString::fromStdString(ReadAnsiField(record.szTip)));
    if (record.uFlags & NIF_MESSAGE) {
        const HWND hWnd = record.hWnd;
        const UINT id = record.uID;
        const UINT message = record.uCallbackMessage;
        connect(icon.get(), &QSystemTrayIcon::activated, this,
                [this, hWnd, id, message](QSystemTrayIcon::ActivationReason reason) {
                    onActivated(hWnd, id, message, reason);
                });
    }
    if (m_panelMenus && IconsAreStatusNotifierItems())
        icon->setContextMenu(m_panelMenus(record.hWnd));
    icon->show();
    if (record.uFlags & NIF_INFO) {
        const Balloon balloon{QString::fromStdString(ReadAnsiField(record.szInfoTitle)),
                              QString::fromStdString(ReadAnsiField(record.szInfo)),
                              record.dwInfoFlags == NIIF_INFO ? QSystemTrayIcon::Information
                                                              : QSystemTrayIcon::NoIcon,
                              std::max(static_cast<int>(record.uTimeout), kMinimumBalloonMs)};
        if (m_holdBalloons)
            m_heldBalloons[key] = balloon;
        else
            showBalloon(*icon, balloon);
    }
    m_trayIcons.emplace(key, std::move(icon));
    return true;
}

void QtTrayBackend::showBalloon(QSystemTrayIcon& icon, const Balloon& balloon, int waitedMs)
{
    // A status-notifier icon's balloon goes to the desktop's notification service, which
    // shows it where the desktop shows its notifications. In an XEmbed notification area
    // Qt places its own balloon by where the icon stood in its panel when it was docked,
    // which is not where the icon is once the panel has moved: the balloon is drawn here,
    // by the icon's place on the screen.
    if (IconsAreStatusNotifierItems() || QGuiApplication::platformName() != u"xcb") {
        icon.showMessage(balloon.title, balloon.text, balloon.kind, balloon.timeoutMs);
        return;
    }
    const QWidget* docked = DockedIconWindow();
    const auto onScreen =
        docked ? X11DockedWindowGeometry(docked->winId()) : std::optional<QRect>();
    if (onScreen) {
        delete m_balloon;
        m_balloon = new TrayBalloon(balloon.title, balloon.text, balloon.kind);
        m_balloon->showBy(*onScreen, balloon.timeoutMs);
    } else if (waitedMs < kDockWaitMs) {
        QTimer::singleShot(kDockPollMs, &icon, [this, &icon, balloon, waitedMs] {
            showBalloon(icon, balloon, waitedMs + kDockPollMs);
        });
    } else {
        icon.showMessage(balloon.title, balloon.text, balloon.kind, balloon.timeoutMs);
    }
}

void QtTrayBackend::setPanelMenus(MenuResolver menus)
{
    m_panelMenus = std::move(menus);
}

void QtTrayBackend::holdBalloons()
{
    m_holdBalloons = true;
}

void QtTrayBackend::releaseBalloons()
{
    m_holdBalloons = false;
    for (const auto& [key, balloon] : std::exchange(m_heldBalloons, {}))
        if (const auto it = m_trayIcons.find(key); it != m_trayIcons.end())
            showBalloon(*it->second, balloon);
}

bool QtTrayBackend::deleteIcon(HWND hWnd, UINT id)
{
    const auto it = m_trayIcons.find(std::make_pair(hWnd, id));
    if (it == m_trayIcons.end())
        return false;
    it->second->hide();
    delete m_balloon;
    m_heldBalloons.erase(it->first);
    m_trayIcons.erase(it);
    return true;
}

void QtTrayBackend::onActivated(HWND hWnd, UINT id, UINT callbackMessage,
                                QSystemTrayIcon::ActivationReason reason)
{
    const auto send = [&](UINT mouseMessage) {
        SendMessageA(hWnd, callbackMessage, id, static_cast<LPARAM>(mouseMessage));
    };
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        send(WM_LBUTTONUP);
        break;
    case QSystemTrayIcon::DoubleClick:
        // The second click of a double click: the double-click message, then its release.
        send(WM_LBUTTONDBLCLK);
        send(WM_LBUTTONUP);
        break;
    case QSystemTrayIcon::Context:
        send(WM_RBUTTONUP);
        break;
    case QSystemTrayIcon::MiddleClick:
        send(WM_MBUTTONUP);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

} // namespace tovrin::platform
