#include "browser/WebEngine.h"

#include <QLoggingCategory>
#include <QQuickWidget>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace tovrin::browser {

Q_DECLARE_LOGGING_CATEGORY(lcBrowser)

void WebEngine::startProcesses()
{
    qCDebug(lcBrowser) << "starting the engine";
    profile();
}

QWebEngineProfile* WebEngine::profile()
{
    if (m_profile)
        return m_profile;
    // A profile without a storage name is off the record: no cookies, cache or history
    // on disk.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    auto* s = m_profile->settings();
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    // Pages stay in their views: no windows of their own, no local files, nothing
    // dropped on a view opened as a page, no fullscreen, no clipboard.
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    // Nothing is downloaded: a download left unaccepted is cancelled before it writes
    // anything.
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) {
                qCDebug(lcBrowser) << "download refused" << download->url();
                download->cancel();
            });
    return m_profile;
}

// The engine's views are composed into their window through the graphics stack. A
// window first shown without one is created anew when the first view arrives (Qt 6.4.2
// on xcb: a new native window, which loses the keyboard focus and every key typed
// meanwhile). A hidden, empty quick widget makes the window composed that way from its
// creation, before the engine is started. To see it: leave this out and run the
// end-to-end start-up test that types before the engine is up; it loses the first keys.
void WebEngine::prepareWindow(QWidget& window)
{
    auto* placeholder = new QQuickWidget(&window);
    placeholder->setObjectName(QStringLiteral("composedForViews"));
    placeholder->hide();
}

} // namespace tovrin::browser
