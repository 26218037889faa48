#pragma once

#include "app/Tray.h"

#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>
#include <optional>

namespace tovrin::app {

class TrayBalloon;

// The notification area on QSystemTrayIcon: an XEmbed notification area, or a panel that
// speaks the status-notifier protocol over D-Bus.
class SystemTray : public Tray
{
    Q_OBJECT

public:
    using Tray::Tray;
    ~SystemTray() override;

    void addIcon(const QIcon& icon, const QString& toolTip, const Balloon& greeting,
                 QMenu* menu) override;
    void removeIcon() override;
    bool available() const override;
    void holdBalloons() override;
    void releaseBalloons() override;

    // The platform's least time a balloon stays up, whatever is asked for.
    static constexpr int kMinimumBalloonMs = 10000;

private:
    void showBalloon(const Balloon& balloon, int waitedMs = 0);
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_holdBalloons = false;
    std::optional<Balloon> m_heldBalloon;
    QPointer<TrayBalloon> m_balloon; // the one drawn here, while it is up
};

} // namespace tovrin::app
