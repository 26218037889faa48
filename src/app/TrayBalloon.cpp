#include "app/TrayBalloon.h"

#include "geometry/BalloonPlacement.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace tovrin::app {

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

constexpr int kFollowMs = 250;

geometry::PixelRect FromQt(const QRect& r)
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

void TrayBalloon::showBy(std::function<std::optional<QRect>()> iconOnScreen, int timeoutMs)
{
    m_iconOnScreen = std::move(iconOnScreen);
    adjustSize();
    if (const auto icon = m_iconOnScreen())
        placeBy(*icon);
    show();
    QTimer::singleShot(timeoutMs, this, &QWidget::close);
    // A panel tells its icons nothing when it moves (one still settling at its edge, one
    // that hides itself): the balloon looks where the icon is now and then.
    auto* follow = new QTimer(this);
    connect(follow, &QTimer::timeout, this, [this] {
        if (const auto icon = m_iconOnScreen(); icon && *icon != m_placedBy)
            placeBy(*icon);
    });
    follow->start(kFollowMs);
}

void TrayBalloon::placeBy(const QRect& icon)
{
    m_placedBy = icon;
    const QScreen* screen = QGuiApplication::screenAt(icon.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const geometry::PixelRect at = geometry::PlaceBalloon(
        FromQt(icon), {width(), height()}, FromQt(screen ? screen->geometry() : icon));
    move(at.x, at.y);
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

} // namespace tovrin::app
