#include "platform/WebEnginePage.h"

namespace tovrin::platform {

WebEnginePage::WebEnginePage(QWebEngineProfile* profile, ExternalOpener openExternally,
                             QObject* parent)
    : QWebEnginePage(profile, parent), m_openExternally(std::move(openExternally))
{}

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

QWebEnginePage* WebEnginePage::createWindow(WebWindowType)
{
    return new NewWindowCatcher(profile(), m_openExternally, this);
}

bool WebEnginePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (isMainFrame)
        emit mainFrameNavigation(url);
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

NewWindowCatcher::NewWindowCatcher(QWebEngineProfile* profile,
                                   WebEnginePage::ExternalOpener openExternally, QObject* parent)
    : QWebEnginePage(profile, parent), m_openExternally(std::move(openExternally))
{}

bool NewWindowCatcher::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    if (isMainFrame && m_openExternally && url.isValid() && !url.isEmpty())
        m_openExternally(url);
    deleteLater();
    return false;
}

} // namespace tovrin::platform
