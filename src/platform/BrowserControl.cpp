#include "platform/BrowserControl.h"

#include <QApplication>

namespace tovrin::platform {

BrowserControl::BrowserControl(QWidget* parent) : QWidget(parent)
{
    // A stop in the window's tab chain; the focus goes on into the page (the control's
    // focus proxy, once it shows one).
    setFocusPolicy(Qt::StrongFocus);
    // The view inside is replaced over time and takes focus through proxies, so watch
    // the application's focus rather than this widget's own focus events.
    connect(qApp, &QApplication::focusChanged, this, &BrowserControl::onFocusChanged);
}

void BrowserControl::onFocusChanged(QWidget* old, QWidget* now)
{
    const auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
    if (inside(now) && !inside(old))
        emit gotFocus();
}

} // namespace tovrin::platform
