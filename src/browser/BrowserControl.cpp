#include "browser/BrowserControl.h"

#include "browser/BrowserEngine.h"

#include <QApplication>

namespace tovrin::browser {

BrowserControl::BrowserControl(QWidget* parent, BrowserRole role, BrowserEngine* engine)
    : QWidget(parent), m_role(role), m_engine(engine)
{
    // A stop in the window's tab chain; the focus goes on into the page (the control's
    // focus proxy, once it shows one).
    setFocusPolicy(Qt::StrongFocus);
    // The view inside is replaced over time and takes focus through proxies, so watch
    // the application's focus rather than this widget's own focus events.
    connect(qApp, &QApplication::focusChanged, this, &BrowserControl::onFocusChanged);
}

void BrowserControl::Navigate(const QString& address)
{
    if (m_engine && m_engine->keeps(*this, address))
        return;
    load(address);
}

void BrowserControl::clear()
{
    if (m_engine)
        m_engine->forget(*this);
    unload();
}

void BrowserControl::onFocusChanged(QWidget* old, QWidget* now)
{
    const auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
    if (inside(now) && !inside(old))
        emit gotFocus();
}

BrowserControl* MakeBrowser(const BrowserFactory& browsers, QWidget* parent,
                            const BrowserRole& role, const char* objectName,
                            const char* accessibleName)
{
    BrowserControl* browser = browsers(parent, role);
    browser->setObjectName(QLatin1String(objectName));
    browser->setAccessibleName(QString::fromUtf8(accessibleName));
    return browser;
}

} // namespace tovrin::browser
