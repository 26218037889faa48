#pragma once

#include "platform/WinApi.h"

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <map>
#include <memory>
#include <utility>

class QMenu;

namespace tovrin::platform {

class TrayBalloon;

// The notification area on QSystemTrayIcon. The icon's clicks come back to its window
// as the record's callback message, with the mouse message in lParam.
class QtTrayBackend : public QObject, public TrayBackend
{
    Q_OBJECT

public:
    // Resolves a record's hIcon (its window's handle) to the image to show.
    using IconResolver = std::function<QIcon(HICON)>;

    explicit QtTrayBackend(IconResolver icons, QObject* parent = nullptr);
    ~QtTrayBackend() override;

    bool addIcon(const NOTIFYICONDATAA& record) override;
    bool deleteIcon(HWND hWnd, UINT id) override;
    bool available() const override;

    // The platform's least time a balloon stays up, whatever the record asks for.
    static constexpr int kMinimumBalloonMs = 10000;

    // Panels that host status-notifier items over D-Bus (Xfce's, KDE's, GNOME's
    // extension) draw an item's menu themselves and need not report a right click; such
    // an icon hands them its window's tray menu, found through this. An icon in an
    // XEmbed notification area reports right clicks, for the window to show the menu.
    using MenuResolver = std::function<QMenu*(HWND)>;
    void setPanelMenus(MenuResolver menus);

    void holdBalloons() override;
    void releaseBalloons() override;

private:
    struct Balloon
    {
        QString title;
        QString text;
        QSystemTrayIcon::MessageIcon kind;
        int timeoutMs;
    };
    void showBalloon(QSystemTrayIcon& icon, const Balloon& balloon, int waitedMs = 0);

    void onActivated(HWND hWnd, UINT id, UINT callbackMessage,
                     QSystemTrayIcon::ActivationReason reason);

    IconResolver m_icons;
    MenuResolver m_panelMenus;
    std::map<std::pair<HWND, UINT>, std::unique_ptr<QSystemTrayIcon>> m_trayIcons;
    bool m_holdBalloons = false;
    std::map<std::pair<HWND, UINT>, Balloon> m_heldBalloons;
    QPointer<TrayBalloon> m_balloon; // the one drawn here, while it is up
};

} // namespace tovrin::platform
