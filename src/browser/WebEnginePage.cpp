#include "browser/WebEnginePage.h"

#include "browser/AddressInput.h"
#include "browser/InSight.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <utility>

namespace tovrin::browser {

Q_DECLARE_LOGGING_CATEGORY(lcBrowser)

AddressKind KindOfUrl(const QUrl& url, const AddressRules& rules)
{
    const std::string scheme = url.scheme().toLower().toStdString();
    const std::string host = url.host().toStdString();
    const std::string address = url.toString(QUrl::FullyEncoded).toStdString();
    return KindOf(scheme, host, address, rules);
}

WebEnginePage::WebEnginePage(QWebEngineProfile* profile, PageRules rules, QObject* parent)
    : QWebEnginePage(profile, parent), m_rules(std::move(rules))
{
    m_clock.start();
    // The contact page starts the messenger by itself; elsewhere a scheme leaves the
    // program only on the user's own click.
    settings()->setUnknownUrlSchemePolicy(
        m_rules.role.launchesMessenger
            ? QWebEngineSettings::AllowAllUnknownUrlSchemes
            : QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);

    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                const QUrl url = request.requestedUrl();
                const PageRequest asked{KindOfUrl(url, m_rules.addresses), Origin::NewWindow,
                                        request.isUserInitiated(), m_rules.role};
                const bool handOn = Decide(asked) == Verdict::HandToDesktop;
                qCDebug(lcBrowser) << "new window" << url << "user" << request.isUserInitiated()
                                   << (handOn ? "handed to the desktop" : "refused");
                if (handOn && m_rules.openExternally)
                    m_rules.openExternally(url);
                // Left unanswered, the request goes on to createWindow, which opens nothing.
            });
    // A page asking to close its window closes its page; the view stays.
    connect(this, &QWebEnginePage::windowCloseRequested, this,
            [this] { setUrl(QUrl(QStringLiteral("about:blank"))); });
    refuseWhatPagesAsk();
}

void WebEnginePage::refuseWhatPagesAsk()
{
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    connect(this, &QWebEnginePage::quotaRequested, this,
            [](QWebEngineQuotaRequest request) { request.reject(); });
    QT_WARNING_POP
}

namespace {

// The engine asks the leave-page question through javaScriptConfirm, with this text of
// its own (in the program's language where a translation is installed).
bool IsLeavePageQuestion(const QString& msg)
{
    return msg == QCoreApplication::translate("QWebEnginePage",
                                              "Are you sure you want to leave this page? "
                                              "Changes that you made may not be saved.");
}

} // namespace

void WebEnginePage::programLoads(const QUrl& url)
{
    m_programLoads.asked(ComparableAddress(url).toStdString());
}

bool WebEnginePage::seen() const
{
    const QWebEngineView* view = QWebEngineView::forPage(this);
    return view && InSight(*view);
}

DialogAnswer WebEnginePage::answer(DialogKind kind)
{
    DialogAsked asked;
    asked.kind = kind;
    asked.role = m_rules.role;
    asked.silent = m_silent;
    asked.seen = seen();
    asked.programLeaving = m_programLoads.leaving();
    asked.oneOpen = m_dialogOpen;
    asked.shownThisMinute = m_recentDialogs.count(m_clock.elapsed());
    const DialogAnswer answer = AnswerDialog(asked);
    if (answer == DialogAnswer::Show)
        m_recentDialogs.add(m_clock.elapsed());
    else if (!m_silent)
        qCDebug(lcBrowser) << "dialog answered without showing it; kind" << static_cast<int>(kind);
    return answer;
}

// Runs the engine's own dialog, marked as open while it is on the screen.
template <typename Show> auto WebEnginePage::showing(Show show)
{
    m_dialogOpen = true;
    struct Closed
    {
        bool& open;
        ~Closed() { open = false; }
    } closed{m_dialogOpen};
    return show();
}

void WebEnginePage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (answer(DialogKind::Alert) == DialogAnswer::Show)
        showing([&] { QWebEnginePage::javaScriptAlert(securityOrigin, msg); });
}

bool WebEnginePage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    switch (answer(IsLeavePageQuestion(msg) ? DialogKind::LeavePage : DialogKind::Confirm)) {
    case DialogAnswer::Show:
        return showing([&] { return QWebEnginePage::javaScriptConfirm(securityOrigin, msg); });
    case DialogAnswer::Agree:
        return true;
    case DialogAnswer::Cancel:
        break;
    }
    return false;
}

bool WebEnginePage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                     const QString& defaultValue, QString* result)
{
    if (answer(DialogKind::Prompt) != DialogAnswer::Show)
        return false;
    return showing([&] {
        return QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
    });
}

// Pages' console messages are for tracing only, never on the program's standard error.
void WebEnginePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                             const QString& message, int lineNumber,
                                             const QString& sourceID)
{
    if (!m_silent)
        qCDebug(lcBrowser) << "console" << static_cast<int>(level) << message << sourceID
                           << lineNumber;
}

QStringList WebEnginePage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                       const QStringList& acceptedMimeTypes)
{
    if (answer(DialogKind::Files) != DialogAnswer::Show)
        return {};
    return showing([&] { return QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes); });
}

// Windows of their own are never opened: what the user asked for went to the desktop's
// browser in newWindowRequested, and nothing is kept alive for the rest.
QWebEnginePage* WebEnginePage::createWindow(WebWindowType)
{
    return nullptr;
}

bool WebEnginePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    bool accepted = true;
    // Only the program loads with the typed kind of navigation, and it has checked its
    // address already (built-in messages included). Reloads and history stay on pages
    // that were let in.
    if (type != NavigationTypeTyped && type != NavigationTypeReload &&
        type != NavigationTypeBackForward) {
        const PageRequest asked{KindOfUrl(url, m_rules.addresses),
                                isMainFrame ? Origin::PageMainFrame : Origin::PageSubframe, false,
                                m_rules.role};
        accepted = Decide(asked) != Verdict::Refuse;
        if (!accepted)
            qCDebug(lcBrowser) << "page navigation refused" << url;
    }
    if (accepted && isMainFrame) {
        m_programLoads.navigationStarted(ComparableAddress(url).toStdString(),
                                         type == NavigationTypeTyped);
        if (type != NavigationTypeReload && type != NavigationTypeBackForward)
            m_fromForm = type == NavigationTypeFormSubmitted;
        emit mainFrameNavigation(url);
    }
    return accepted;
}

} // namespace tovrin::browser
