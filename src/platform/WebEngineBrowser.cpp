#include "platform/WebEngineBrowser.h"

#include "platform/AddressInput.h"
#include "platform/BrowserMessages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QQuickWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
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

// The controls waiting for the engine to start, in the order they were first asked.
struct EngineStart
{
    bool held = false;
    std::vector<QPointer<WebEngineBrowser>> waiting;
};

EngineStart& engineStart()
{
    static EngineStart start;
    return start;
}

// How long a lesser control waits at most for another control's first page.
constexpr int kHeldStartMs = 1500;

// The engine's views are composed into their window through the graphics stack. A
// window first shown without one is created anew when the first view arrives (Qt 6.4.2
// on xcb: a new native window, which loses the keyboard focus and every key typed
// meanwhile). A hidden, empty quick widget makes the window composed that way from its
// creation, before the engine is started. To see it: remove the placeholder and run
// tests/e2e/test_startup.py's TypedBeforeTheEngineIsUp, which loses the first keys.
void ComposeWindowForViews(QWidget& control)
{
    QWidget* window = control.window();
    const char* const composed = "tovrin_composedForViews";
    if (window->property(composed).toBool())
        return;
    window->setProperty(composed, true);
    auto* placeholder = new QQuickWidget(&control);
    placeholder->setObjectName(QStringLiteral("composedForViews"));
    placeholder->hide();
}

// An address as the engine may report it back: "http://Host" and "http://host/" are the
// same page, and so are a character and its percent-encoded form.
QString Normalised(const QUrl& url)
{
    const QUrl u = url.adjusted(QUrl::NormalizePathSegments | QUrl::RemoveFragment);
    const QString path = u.path(QUrl::FullyDecoded);
    return u.scheme() + QStringLiteral("://") + u.host() + u':' + QString::number(u.port()) +
           (path.isEmpty() ? QStringLiteral("/") : path) + u'?' + u.query(QUrl::FullyDecoded);
}

} // namespace

QWebEngineProfile* WebEngineBrowser::sharedProfile()
{
    // A profile without a storage name is off the record: no cookies, cache or
    // history on disk.
    static QWebEngineProfile* profile = [] {
        auto* p = new QWebEngineProfile(QCoreApplication::instance());
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        auto* s = p->settings();
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
        // Nothing is downloaded: a download left unaccepted is cancelled before it
        // writes anything.
        QObject::connect(p, &QWebEngineProfile::downloadRequested, p,
                         [](QWebEngineDownloadRequest* download) {
                             qCDebug(lcBrowser) << "download refused" << download->url();
                             download->cancel();
                         });
        return p;
    }();
    return profile;
}

WebEngineBrowser::WebEngineBrowser(QWidget* parent, PageRules rules)
    : BrowserControl(parent), m_rules(std::move(rules))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_clock.start();
    ComposeWindowForViews(*this);
}

void WebEngineBrowser::ensureView()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    m_page = new WebEnginePage(sharedProfile(), m_rules, m_view);
    m_page->setSilent(m_silent);
    m_view->setPage(m_page);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::loadFinished);
    connect(m_view, &QWebEngineView::loadFinished, &FirstPageSignal::instance(),
            &FirstPageSignal::fire);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!m_focusElsewhere || !now || !isAncestorOf(now) ||
            m_clock.elapsed() > m_focusGuardUntil || QApplication::mouseButtons() != Qt::NoButton)
            return;
        QTimer::singleShot(0, m_focusElsewhere, [back = m_focusElsewhere] {
            if (back)
                back->setFocus(Qt::OtherFocusReason);
        });
        m_focusElsewhere = nullptr;
    });
    connect(m_page, &QWebEnginePage::renderProcessPidChanged, this, [this](qint64 pid) {
        if (pid > 0)
            m_rendererStarted = true;
    });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    onRendererEnded(status);
            });
    // A page the view went on to by itself; one that became a download never arrives.
    connect(m_view, &QWebEngineView::urlChanged, this, [this](const QUrl& url) {
        if (!m_showingMessage)
            m_shownUrl = url;
    });
    connect(m_page, &WebEnginePage::mainFrameNavigation, this, [this](const QUrl& url) {
        qCDebug(lcBrowser) << objectName() << "navigation request" << url;
        if (!m_pendingUrl.isEmpty() && Normalised(url) == Normalised(m_pendingUrl))
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
    setFocusProxy(m_view);
    // Give the view the control's size at once: the layout would only do so when the
    // window is shown, and a first page started at the default size is laid out again.
    m_view->setGeometry(rect());
}

void WebEngineBrowser::holdEngine()
{
    engineStart().held = true;
}

void WebEngineBrowser::startEngine()
{
    auto& start = engineStart();
    if (!start.held)
        return;
    start.held = false;
    qCDebug(lcBrowser) << "starting the engine";
    for (const QPointer<WebEngineBrowser>& waiting : std::exchange(start.waiting, {})) {
        WebEngineBrowser* browser = waiting.data();
        if (!browser)
            continue;
        const QString address = std::exchange(browser->m_addressAtStart, QString());
        if (!address.isNull())
            browser->Navigate(address);
    }
}

void WebEngineBrowser::Navigate(const QString& address)
{
    if (auto& start = engineStart(); start.held) {
        if (std::find(start.waiting.begin(), start.waiting.end(), this) == start.waiting.end())
            start.waiting.emplace_back(this);
        m_addressAtStart = address.isNull() ? QStringLiteral("") : address;
        return;
    }
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
    const QUrl url = AddressFromUserText(address);
    const AddressKind kind = KindOfUrl(url, m_rules.addresses);
    if (Decide({kind, Origin::Navigate}) != Verdict::Load) {
        qCDebug(lcBrowser) << objectName() << "address refused" << address.left(200);
        showMessage(RefusedAddressPage(address));
        return;
    }
    ensureView();
    ++m_loads;
    m_showingMessage = false;
    m_shownUrl = url;
    m_pendingUrl = url;
    m_pendingStarted = false;
    qCDebug(lcBrowser) << objectName() << "load" << url;
    m_view->load(url);
    if (kind != AddressKind::Web)
        return;
    // Qt WebEngine 6.4.2 now and then drops a load that arrives just as the previous
    // page commits; it never starts and the lookup is lost. Issue it once more if it has
    // not started by then and nothing newer was asked for. To see it: lookups in quick
    // succession with QT_LOGGING_RULES="tovrin.browser.debug=true" trace
    // "load not started; asking again"; an engine without the fault never does.
    QTimer::singleShot(kStartCheckMs, this, [this, url, loads = m_loads] {
        if (m_pendingStarted || m_loads != loads)
            return;
        m_pendingStarted = true;
        qCDebug(lcBrowser) << objectName() << "load not started; asking again" << url;
        m_view->load(url);
    });
}

void WebEngineBrowser::showMessage(const QString& html)
{
    ensureView();
    ++m_loads;
    m_showingMessage = true;
    m_pendingUrl = QUrl();
    m_page->setHtml(html);
}

void WebEngineBrowser::onRendererEnded(int status)
{
    // The engine gives the focus to the view that lost its renderer (Qt WebEngine 6.4,
    // seen with a renderer killed while the query box had the focus). A page must not
    // take the focus from where the user is: it goes back there.
    if (QWidget* focused = QApplication::focusWidget(); focused && !isAncestorOf(focused)) {
        m_focusElsewhere = focused;
        m_focusGuardUntil = m_clock.elapsed() + kFocusGuardMs;
    }
    // A renderer that could not be launched never tells its process and ends abnormally;
    // one killed or crashed while it started up says so.
    const bool started = std::exchange(m_rendererStarted, false) ||
                         status != QWebEnginePage::AbnormalTerminationStatus;
    const auto step = m_recovery.onRendererEnded(m_clock.elapsed(), m_page->fromForm(), started);
    qCDebug(lcBrowser) << objectName() << "renderer ended; started" << started << "action"
                       << static_cast<int>(step.action) << "after" << step.pauseMs << "ms";
    switch (step.action) {
    case RendererRecovery::Action::Leave:
        return;
    case RendererRecovery::Action::ShowStopped:
        // A message whose own renderer ended is not shown again.
        if (m_showingMessage)
            return;
        showMessage(StoppedPage());
        return;
    case RendererRecovery::Action::Reload:
        break;
    }
    // Loaded afresh rather than reloaded: a reload would send a form's data again.
    QTimer::singleShot(step.pauseMs, this, [this, url = m_shownUrl, loads = m_loads] {
        if (m_loads == loads)
            m_view->load(url);
    });
}

void WebEngineBrowser::clear()
{
    m_heldAddress = QString();
    m_addressAtStart = QString();
    if (!m_view)
        return;
    ++m_loads;
    m_showingMessage = false;
    m_pendingUrl = QUrl();
    m_view->load(QUrl(QStringLiteral("about:blank")));
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

BrowserFactory WebEngineBrowserFactory(BrowserSettings settings)
{
    return
        [settings = std::move(settings)](QWidget* parent, const QString& name) -> BrowserControl* {
            PageRules rules;
            rules.contactControl = name == settings.contactControl;
            rules.addresses.launchScheme = settings.launchScheme;
            rules.addresses.builtInPages = settings.builtInPages;
            rules.openExternally = [](const QUrl& url) { QDesktopServices::openUrl(url); };
            auto* browser = new WebEngineBrowser(parent, std::move(rules));
            browser->setObjectName(name);
            browser->setStartsAfterOthers(settings.startAfterOthers.contains(name));
            return browser;
        };
}

#include "WebEngineBrowser.moc"

} // namespace tovrin::platform
