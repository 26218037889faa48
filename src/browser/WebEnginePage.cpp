#include "browser/WebEnginePage.h"

#include <QLoggingCategory>
#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

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
    // The contact page starts the messenger by itself; elsewhere a scheme leaves the
    // program only on the user's own click.
    settings()->setUnknownUrlSchemePolicy(
        m_rules.contactControl ? QWebEngineSettings::AllowAllUnknownUrlSchemes
                               : QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);

    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                const QUrl url = request.requestedUrl();
                const PageRequest asked{KindOfUrl(url, m_rules.addresses), Origin::NewWindow,
                                        request.isUserInitiated(), m_rules.contactControl};
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

void WebEnginePage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (!m_silent)
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

// Leave-page questions arrive here too; a silent page lets the navigation go on.
bool WebEnginePage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    return m_silent || QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool WebEnginePage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                     const QString& defaultValue, QString* result)
{
    if (m_silent)
        return false;
    return QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

void WebEnginePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                             const QString& message, int lineNumber,
                                             const QString& sourceID)
{
    if (!m_silent)
        QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}

QStringList WebEnginePage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                       const QStringList& acceptedMimeTypes)
{
    if (m_silent)
        return {};
    return QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
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
                                m_rules.contactControl};
        accepted = Decide(asked) != Verdict::Refuse;
        if (!accepted)
            qCDebug(lcBrowser) << "page navigation refused" << url;
    }
    if (accepted && isMainFrame) {
        if (type != NavigationTypeReload && type != NavigationTypeBackForward)
            m_fromForm = type == NavigationTypeFormSubmitted;
        emit mainFrameNavigation(url);
    }
    return accepted;
}

} // namespace tovrin::browser
