#include "lookup/ColourButton.h"

#include <QPainter>

namespace tovrin::lookup {

namespace {

const QColor kBorder(0x80, 0x80, 0x80);

} // namespace

ColourButton::ColourButton(const QString& caption, QColor colour, QWidget* parent)
    : QPushButton(caption, parent), m_colour(colour)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, m_colour);
    const QRect edge = r.adjusted(0, 0, -1, -1);
    if (isDown()) {
        // Sunken: dark above and to the left, light below and to the right.
        p.setPen(kBorder.darker(150));
        p.drawLine(edge.topLeft(), edge.topRight());
        p.drawLine(edge.topLeft(), edge.bottomLeft());
        p.setPen(kBorder.lighter(150));
        p.drawLine(edge.bottomLeft(), edge.bottomRight());
        p.drawLine(edge.topRight(), edge.bottomRight());
    } else {
        p.setPen(kBorder);
        p.drawRect(edge);
    }
    if (hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(edge);
    }
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, text());
}

} // namespace tovrin::lookup
