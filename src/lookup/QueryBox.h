#pragma once

#include <QLineEdit>

namespace tovrin::lookup {

// The query line edit. It reports clicks and double clicks after its own handling, in
// the order a desktop text box reports them: a double click is one click, then the
// double click, and no second click for the release that ends it. Like a desktop text
// box it keeps its selection while another control has the focus.
class QueryBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit QueryBox(QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_releaseEndsDoubleClick = false;
};

} // namespace tovrin::lookup
