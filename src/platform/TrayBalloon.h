#pragma once

#include <QSystemTrayIcon>
#include <QWidget>

namespace tovrin::platform {

// A notification-area icon's balloon, drawn by the program where Qt cannot place its own
// (an XEmbed notification area): the icon of its kind, a bold title and the text. A click
// closes it, and so does its time running out.
class TrayBalloon : public QWidget
{
    Q_OBJECT

public:
    TrayBalloon(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon kind);

    // Shows it beside the icon standing at iconOnScreen, for timeoutMs.
    void showBy(const QRect& iconOnScreen, int timeoutMs);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tovrin::platform
