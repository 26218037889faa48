#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;

namespace tovrin::app {

// The window's icon in the notification area, as the window uses it.
class Tray : public QObject
{
    Q_OBJECT

public:
    struct Balloon
    {
        QString title;
        QString text;
        int timeoutMs = 0;
    };

    using QObject::QObject;

    // Shows the icon with its tool tip and its greeting balloon (held, while balloons are
    // held). A panel that draws the icon's menu itself is given menu.
    virtual void addIcon(const QIcon& icon, const QString& toolTip, const Balloon& greeting,
                         QMenu* menu) = 0;
    virtual void removeIcon() = 0;
    // Whether the desktop has a notification area at the moment.
    virtual bool available() const = 0;
    // While held, the icon appears at once and its balloon waits for the release.
    virtual void holdBalloons() = 0;
    virtual void releaseBalloons() = 0;

signals:
    // The left button on the icon: the window hides or comes back.
    void clicked();
    // The right button, where the notification area leaves the menu to the window.
    void menuRequested();
};

} // namespace tovrin::app
