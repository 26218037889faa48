#pragma once

#include "platform/WinApi.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace tovrin::platform {

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

    // While held, balloons wait (the icons themselves appear at once); releasing shows
    // the waiting balloons of the icons still there. Painting a balloon while the
    // program starts would hold up its first page.
    void holdBalloons();
    void releaseBalloons();

private:
    struct Balloon
    {
        QString title;
        QString text;
        QSystemTrayIcon::MessageIcon kind;
        int timeoutMs;
    };
    void showBalloon(QSystemTrayIcon& icon, const Balloon& balloon);

    void onActivated(HWND hWnd, UINT id, UINT callbackMessage,
                     QSystemTrayIcon::ActivationReason reason);

    IconResolver m_icons;
    std::map<std::pair<HWND, UINT>, std::unique_ptr<QSystemTrayIcon>> m_trayIcons;
    bool m_holdBalloons = false;
    std::map<std::pair<HWND, UINT>, Balloon> m_heldBalloons;
};

} // namespace tovrin::platform
