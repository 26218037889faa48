#pragma once

#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>
#include <optional>

namespace tovrin::app {

// A notification-area icon's balloon, drawn by the program where Qt cannot place its own
// (an XEmbed notification area): the icon of its kind, a bold title and the text. A click
// closes it, and so does its time running out.
class TrayBalloon : public QWidget
{
    Q_OBJECT

public:
    TrayBalloon(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon kind);

    // Shows it beside the icon for timeoutMs, following the icon where its panel moves
    // meanwhile; iconOnScreen tells where the icon stands, or nothing when it cannot say.
    void showBy(std::function<std::optional<QRect>()> iconOnScreen, int timeoutMs);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeBy(const QRect& icon);

    std::function<std::optional<QRect>()> m_iconOnScreen;
    QRect m_placedBy;
};

} // namespace tovrin::app
