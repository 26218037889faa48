#include "browser/WebEngineBrowser.h"

#include "browser/AddressInput.h"
#include "browser/BrowserMessages.h"
#include "browser/DroppedLoadRetry.h"
#include "browser/FocusGuard.h"
#include "browser/WebEngine.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <utility>

namespace tovrin::browser {

// Page loads, for tracing with QT_LOGGING_RULES="tovrin.browser.debug=true".
Q_LOGGING_CATEGORY(lcBrowser, "tovrin.browser", QtWarningMsg)

WebEngineBrowser::WebEngineBrowser(QWidget* parent, BrowserRole role, WebEngine& engine,
                                   PageRules rules)
    : BrowserControl(parent, role, &engine), m_engine(engine), m_rules(std::move(rules))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_clock.start();
    m_retry = new DroppedLoadRetry(this, [this](const QUrl& url) { viewLoad(url); });
    m_focusGuard = new FocusGuard(*this);
}

void WebEngineBrowser::ensureView()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(this);
    m_page = new WebEnginePage(m_engine.profile(), m_rules, m_view);
    m_page->setSilent(m_silent);
    m_view->setPage(m_page);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::loadFinished);
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
        m_retry->navigationStarted(url);
    });
    if (lcBrowser().isDebugEnabled()) {
        connect(m_view, &QWebEngineView::loadStarted, this,
                [this] { qCDebug(lcBrowser) << objectName() << "load started"; });
        connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
            qCDebug(lcBrowser) << objectName() << "load finished" << ok << m_view->url();
        });
    }
    // Assistive technology meets the page inside the view: the view is named for the page's
    // title, and for the control until the page has one. (The engine's own document node
    // in Qt WebEngine 6.4 carries no name, whatever the page says.)
    m_view->setAccessibleName(accessibleName());
    connect(m_view, &QWebEngineView::titleChanged, this, &WebEngineBrowser::nameViewForPage);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebEngineBrowser::nameViewForPage);
    layout()->addWidget(m_view);
    setFocusProxy(m_view);
    // Give the view the control's size at once: the layout would only do so when the
    // window is shown, and a first page started at the default size is laid out again.
    m_view->setGeometry(rect());
}

void WebEngineBrowser::nameViewForPage()
{
    // The view's own title falls back to the address; the document's is the page's own.
    m_view->page()->runJavaScript(
        QStringLiteral("document.title"), QWebEngineScript::ApplicationWorld,
        [view = QPointer<QWebEngineView>(m_view),
         control = QPointer<QWidget>(this)](const QVariant& title) {
            if (!view || !control)
                return;
            const QString text = title.toString().simplified();
            view->setAccessibleName(text.isEmpty() ? control->accessibleName() : text);
        });
}

void WebEngineBrowser::load(const QString& address)
{
    const QUrl url = AddressFromUserText(address);
    const AddressKind kind = KindOfUrl(url, m_rules.addresses);
    if (Decide({kind, Origin::Navigate, false, role()}) != Verdict::Load) {
        qCDebug(lcBrowser) << objectName() << "address refused" << address.left(200);
        showMessage(RefusedAddressPage(address));
        return;
    }
    loadUrl(url);
    if (kind == AddressKind::Web)
        m_retry->loading(url);
}

void WebEngineBrowser::loadUrl(const QUrl& url)
{
    ensureView();
    ++m_loads;
    m_showingMessage = false;
    m_shownUrl = url;
    m_retry->forget();
    qCDebug(lcBrowser) << objectName() << "load" << url;
    viewLoad(url);
}

void WebEngineBrowser::viewLoad(const QUrl& url)
{
    m_page->programLoads(url);
    m_view->load(url);
}

void WebEngineBrowser::showMessage(const QString& html)
{
    ensureView();
    ++m_loads;
    m_showingMessage = true;
    m_retry->forget();
    // Loaded by its own address, so that the view's taking it up is recognised.
    viewLoad(QUrl(QStringLiteral("data:text/html;charset=UTF-8,") +
                  QString::fromLatin1(QUrl::toPercentEncoding(html))));
}

void WebEngineBrowser::onRendererEnded(int status)
{
    m_focusGuard->rendererEnded();
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
            viewLoad(url);
    });
}

void WebEngineBrowser::unload()
{
    if (!m_view)
        return;
    loadUrl(QUrl(QStringLiteral("about:blank")));
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

BrowserFactory WebEngineBrowserFactory(WebEngine& engine, BrowserSettings settings)
{
    return [&engine, settings = std::move(settings)](QWidget* parent,
                                                     const BrowserRole& role) -> BrowserControl* {
        PageRules rules;
        rules.role = role;
        rules.addresses.launchScheme = settings.launchScheme;
        rules.addresses.builtInPages = settings.builtInPages;
        rules.openExternally = [](const QUrl& url) { QDesktopServices::openUrl(url); };
        return new WebEngineBrowser(parent, role, engine, std::move(rules));
    };
}

} // namespace tovrin::browser
