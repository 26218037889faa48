#pragma once

#include <QColor>
#include <QPushButton>

namespace tovrin::lookup {

// A site button in the graphical style: flat in its own background colour with black
// text and a thin grey border, sunken while pressed, a dotted frame when focused.
// Painted by hand: a style sheet per button made the window slower to come up.
class ColourButton : public QPushButton
{
    Q_OBJECT

public:
    ColourButton(const QString& caption, QColor colour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

} // namespace tovrin::lookup
