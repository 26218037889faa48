#include "platform/WebEngineBrowser.h"

#include "platform/AddressInput.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace tovrin::platform {

QWebEngineProfile* WebEngineBrowser::sharedProfile()
{
    // A profile without a storage name is off the record: no cookies, cache or
    // history on disk.
    static QWebEngineProfile* profile = [] {
        auto* p = new QWebEngineProfile(QCoreApplication::instance());
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        p->settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
        p->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
        return p;
    }();
    return profile;
}

WebEngineBrowser::WebEngineBrowser(QWidget* parent, WebEnginePage::ExternalOpener openExternally)
    : BrowserControl(parent), m_openExternally(std::move(openExternally))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void WebEngineBrowser::ensureView()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    m_page = new WebEnginePage(sharedProfile(), m_openExternally, m_view);
    m_page->setSilent(m_silent);
    m_view->setPage(m_page);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::loadFinished);
    layout()->addWidget(m_view);
}

void WebEngineBrowser::Navigate(const QString& address)
{
    ensureView();
    m_view->load(AddressFromUserText(address));
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

BrowserFactory WebEngineBrowserFactory()
{
    return [](QWidget* parent, const QString& name) -> BrowserControl* {
        auto* browser =
            new WebEngineBrowser(parent, [](const QUrl& url) { QDesktopServices::openUrl(url); });
        browser->setObjectName(name);
        return browser;
    };
}

} // namespace tovrin::platform
