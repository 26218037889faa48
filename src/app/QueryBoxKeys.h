#pragma once

#include <QObject>

namespace tovrin::app {

class Form1;

// Sees every key of the query box before the box does, and turns it into the window's
// key-down and key-press procedures. A key press whose character code the procedure
// sets to 0 never reaches the box. While an input method is composing text in the box,
// the keys it lets through (Enter, function keys) are the box's own: the half-typed
// text is not looked up.
class QueryBoxKeys : public QObject
{
    Q_OBJECT

public:
    explicit QueryBoxKeys(Form1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& m_form;
    bool m_composing = false;
};

} // namespace tovrin::app
