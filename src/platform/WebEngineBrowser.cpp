#include "platform/WebEngineBrowser.h"

#include "platform/AddressInput.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

namespace tovrin::platform {

// Page loads, for tracing with QT_LOGGING_RULES="tovrin.browser.debug=true".
Q_LOGGING_CATEGORY(lcBrowser, "tovrin.browser", QtWarningMsg)

namespace {

// Tells the waiting controls that some control has shown its first page.
class FirstPageSignal : public QObject
{
    Q_OBJECT

public:
    static FirstPageSignal& instance()
    {
        static auto* signal = new FirstPageSignal(QCoreApplication::instance());
        return *signal;
    }

    bool done = false;

    void fire()
    {
        if (!done) {
            done = true;
            emit shown();
        }
    }

signals:
    void shown();

private:
    using QObject::QObject;
};

// How long a lesser control waits at most for another control's first page.
constexpr int kHeldStartMs = 1500;

} // namespace

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
    connect(m_view, &QWebEngineView::loadFinished, &FirstPageSignal::instance(),
            &FirstPageSignal::fire);
    // A renderer that crashed or was killed leaves a dead view: load the page again,
    // which starts a new renderer in the same place.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    QTimer::singleShot(0, m_view, [view = m_view] { view->reload(); });
            });
    connect(m_page, &WebEnginePage::mainFrameNavigation, this, [this](const QUrl& url) {
        qCDebug(lcBrowser) << objectName() << "navigation request" << url;
        if (url == m_pendingUrl)
            m_pendingStarted = true;
    });
    if (lcBrowser().isDebugEnabled()) {
        connect(m_view, &QWebEngineView::loadStarted, this,
                [this] { qCDebug(lcBrowser) << objectName() << "load started"; });
        connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
            qCDebug(lcBrowser) << objectName() << "load finished" << ok << m_view->url();
        });
    }
    layout()->addWidget(m_view);
    // Give the view the control's size at once: the layout would only do so when the
    // window is shown, and a first page started at the default size is laid out again.
    m_view->setGeometry(rect());
}

void WebEngineBrowser::Navigate(const QString& address)
{
    auto& firstPage = FirstPageSignal::instance();
    if (m_startsAfterOthers && !m_view && !firstPage.done) {
        if (m_heldAddress.isNull()) {
            const auto release = [this] {
                if (!m_heldAddress.isNull())
                    load(std::exchange(m_heldAddress, QString()));
            };
            connect(&firstPage, &FirstPageSignal::shown, this, release, Qt::QueuedConnection);
            QTimer::singleShot(kHeldStartMs, this, release);
        }
        m_heldAddress = address;
        return;
    }
    m_heldAddress = QString();
    load(address);
}

void WebEngineBrowser::load(const QString& address)
{
    ensureView();
    const QUrl url = AddressFromUserText(address);
    m_pendingUrl = url;
    m_pendingStarted = false;
    qCDebug(lcBrowser) << objectName() << "load" << url;
    m_view->load(url);
    // The engine now and then drops a load that arrives just as the previous page
    // commits; it never starts and the lookup is lost. Issue it once more if it has not
    // started by then and nothing newer was asked for.
    QTimer::singleShot(kStartCheckMs, this, [this, url] {
        if (m_pendingStarted || m_pendingUrl != url)
            return;
        m_pendingStarted = true;
        qCDebug(lcBrowser) << objectName() << "load not started; asking again" << url;
        m_view->load(url);
    });
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

BrowserFactory WebEngineBrowserFactory(QStringList startAfterOthers)
{
    return [startAfterOthers](QWidget* parent, const QString& name) -> BrowserControl* {
        auto* browser =
            new WebEngineBrowser(parent, [](const QUrl& url) { QDesktopServices::openUrl(url); });
        browser->setObjectName(name);
        browser->setStartsAfterOthers(startAfterOthers.contains(name));
        return browser;
    };
}

#include "WebEngineBrowser.moc"

} // namespace tovrin::platform
