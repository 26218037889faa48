#include "app/QueryBox.h"

#include <QMouseEvent>

namespace tovrin::app {

QueryBox::QueryBox(QWidget* parent) : QLineEdit(parent) {}

void QueryBox::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (m_releaseEndsDoubleClick) {
        m_releaseEndsDoubleClick = false;
        return;
    }
    emit clicked();
}

void QueryBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_releaseEndsDoubleClick = true;
    emit doubleClicked();
}

} // namespace tovrin::app
