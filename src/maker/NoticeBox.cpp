#include "maker/NoticeBox.h"

#include <QEvent>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>

#include <algorithm>
#include <cmath>

namespace tovrin::maker {

NoticeBox::NoticeBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setReadOnly(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    document()->setDocumentMargin(2);
    connect(this, &QTextEdit::textChanged, this, &NoticeBox::applyLineSpacing);
}

int NoticeBox::lineSpacing() const
{
    // From the point size, so that a font about to be replaced is never loaded.
    const QFont f = font();
    const double pixels = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * logicalDpiY() / 72.0;
    return std::max(static_cast<int>(std::lround(pixels)), 1);
}

void NoticeBox::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyLineSpacing();
}

void NoticeBox::applyLineSpacing()
{
    // Setting the block format changes the document, which reports a text change.
    if (m_applying)
        return;
    m_applying = true;
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(lineSpacing(), QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(format);
    m_applying = false;
}

} // namespace tovrin::maker
