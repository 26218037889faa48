#include "browser/FocusGuard.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace tovrin::browser {

FocusGuard::FocusGuard(QWidget& view) : QObject(&view), m_view(view)
{
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

void FocusGuard::rendererEnded()
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused || m_view.isAncestorOf(focused))
        return;
    m_elsewhere = focused;
    m_since.start();
}

void FocusGuard::onFocusChanged(QWidget* now)
{
    // The user's own click into the page keeps the focus there.
    if (!m_elsewhere || !now || !m_view.isAncestorOf(now) || m_since.elapsed() > kGuardMs ||
        QApplication::mouseButtons() != Qt::NoButton)
        return;
    QTimer::singleShot(0, m_elsewhere, [back = m_elsewhere] {
        if (back)
            back->setFocus(Qt::OtherFocusReason);
    });
    m_elsewhere = nullptr;
}

} // namespace tovrin::browser
