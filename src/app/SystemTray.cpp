#include "app/SystemTray.h"

#include "app/TrayBalloon.h"
#include "app/X11Window.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace tovrin::app {

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

// The window Qt docks into an XEmbed notification area for the icon.
QWidget* DockedIconWindow()
{
    const auto widgets = QApplication::topLevelWidgets();
    const auto found = std::find_if(widgets.begin(), widgets.end(), [](const QWidget* w) {
        return w->objectName() == QLatin1String("QSystemTrayIconSys");
    });
    return found == widgets.end() ? nullptr : *found;
}

// How long a balloon waits for its icon to be docked before Qt shows it where it can.
constexpr int kDockWaitMs = 5000;
constexpr int kDockPollMs = 100;

} // namespace

SystemTray::~SystemTray() = default;

bool SystemTray::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTray::addIcon(const QIcon& icon, const QString& toolTip, const Balloon& greeting,
                         QMenu* menu)
{
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(toolTip);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &SystemTray::onActivated);
    // Panels that host status-notifier items over D-Bus (Xfce's, KDE's, GNOME's
    // extension) draw an item's menu themselves and need not report a right click. An
    // icon in an XEmbed notification area reports right clicks, for the window to show
    // the menu.
    if (menu && IconsAreStatusNotifierItems())
        m_icon->setContextMenu(menu);
    m_icon->show();
    const Balloon balloon{greeting.title, greeting.text,
                          std::max(greeting.timeoutMs, kMinimumBalloonMs)};
    if (m_holdBalloons)
        m_heldBalloon = balloon;
    else
        showBalloon(balloon);
}

void SystemTray::removeIcon()
{
    delete m_balloon;
    m_heldBalloon.reset();
    if (m_icon)
        m_icon->hide();
    m_icon.reset();
}

void SystemTray::holdBalloons()
{
    m_holdBalloons = true;
}

void SystemTray::releaseBalloons()
{
    m_holdBalloons = false;
    if (auto balloon = std::exchange(m_heldBalloon, std::nullopt); balloon && m_icon)
        showBalloon(*balloon);
}

void SystemTray::showBalloon(const Balloon& balloon, int waitedMs)
{
    // A status-notifier icon's balloon goes to the desktop's notification service, which
    // shows it where the desktop shows its notifications. In an XEmbed notification area
    // Qt places its own balloon by where the icon stood in its panel when it was docked,
    // which is not where the icon is once the panel has moved: the balloon is drawn here,
    // by the icon's place on the screen.
    const auto showByQt = [&] {
        m_icon->showMessage(balloon.title, balloon.text, QSystemTrayIcon::Information,
                            balloon.timeoutMs);
    };
    if (IconsAreStatusNotifierItems() || QGuiApplication::platformName() != u"xcb")
        return showByQt();
    const QPointer<QWidget> docked = DockedIconWindow();
    const auto iconOnScreen = [docked]() -> std::optional<QRect> {
        return docked ? X11DockedWindowGeometry(docked->winId()) : std::nullopt;
    };
    if (iconOnScreen()) {
        delete m_balloon;
        m_balloon = new TrayBalloon(balloon.title, balloon.text, QSystemTrayIcon::Information);
        m_balloon->showBy(iconOnScreen, balloon.timeoutMs);
    } else if (waitedMs < kDockWaitMs) {
        QTimer::singleShot(kDockPollMs, m_icon.get(), [this, balloon, waitedMs] {
            showBalloon(balloon, waitedMs + kDockPollMs);
        });
    } else {
        showByQt();
    }
}

void SystemTray::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick: // its second click
        emit clicked();
        break;
    case QSystemTrayIcon::Context:
        emit menuRequested();
        break;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
}

} // namespace tovrin::app
