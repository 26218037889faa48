#include "platform/TrayBalloon.h"

#include "platform/BalloonPlacement.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace tovrin::platform {

namespace {

QStyle::StandardPixmap KindPixmap(QSystemTrayIcon::MessageIcon kind)
{
    switch (kind) {
    case QSystemTrayIcon::Warning:
        return QStyle::SP_MessageBoxWarning;
    case QSystemTrayIcon::Critical:
        return QStyle::SP_MessageBoxCritical;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

ScreenRect FromQt(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

} // namespace

TrayBalloon::TrayBalloon(const QString& title, const QString& text,
                         QSystemTrayIcon::MessageIcon kind)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("trayBalloon"));
    setAttribute(Qt::WA_DeleteOnClose);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 8, 12, 10);
    layout->setHorizontalSpacing(8);
    if (kind != QSystemTrayIcon::NoIcon) {
        auto* icon = new QLabel(this);
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
        icon->setPixmap(style()->standardIcon(KindPixmap(kind)).pixmap(size, size));
        layout->addWidget(icon, 0, 0, Qt::AlignTop);
    }
    auto* heading = new QLabel(title, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading, 0, 1);
    layout->addWidget(new QLabel(text, this), 1, 1);
}

void TrayBalloon::showBy(const QRect& iconOnScreen, int timeoutMs)
{
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(iconOnScreen.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const ScreenRect at = PlaceBalloon(FromQt(iconOnScreen), width(), height(),
                                       FromQt(screen ? screen->geometry() : iconOnScreen));
    move(at.x, at.y);
    show();
    QTimer::singleShot(timeoutMs, this, &QWidget::close);
}

void TrayBalloon::mousePressEvent(QMouseEvent*)
{
    close();
}

void TrayBalloon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().toolTipBase());
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace tovrin::platform
