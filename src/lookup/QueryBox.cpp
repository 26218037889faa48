#include "lookup/QueryBox.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace tovrin::lookup {

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

void QueryBox::focusOutEvent(QFocusEvent* event)
{
    const int start = selectionStart();
    const int length = selectionLength();
    const bool cursorAtStart = cursorPosition() == start;
    QLineEdit::focusOutEvent(event); // deselects
    if (start < 0 || hasSelectedText())
        return;
    if (cursorAtStart)
        setSelection(start + length, -length);
    else
        setSelection(start, length);
}

void QueryBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_releaseEndsDoubleClick = true;
    emit doubleClicked();
}

} // namespace tovrin::lookup
