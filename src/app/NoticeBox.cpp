#include "app/NoticeBox.h"

#include <QEvent>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>

#include <cmath>

namespace tovrin::app {

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
    const QFontInfo info(font());
    return std::max(info.pixelSize(), 1);
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

} // namespace tovrin::app
