#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QWidget;

namespace tovrin::browser {

// Gives the keyboard focus back when the engine hands it to a view whose renderer ended
// (Qt WebEngine 6.4, seen with a renderer killed while the query box had the focus): a
// page must not take the focus from where the user is.
class FocusGuard : public QObject
{
public:
    explicit FocusGuard(QWidget& view);

    // The renderer has ended: for a while, the focus taken into the view goes back to
    // the widget that has it now.
    void rendererEnded();

private:
    void onFocusChanged(QWidget* now);

    QWidget& m_view;
    QPointer<QWidget> m_elsewhere;
    QElapsedTimer m_since;
    static constexpr int kGuardMs = 2000;
};

} // namespace tovrin::browser
