#pragma once

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

namespace tovrin::platform {

// A page that can be made silent, and that hands requests for new windows to the
// desktop's own browser instead of opening windows of its own.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT

public:
    using ExternalOpener = std::function<void(const QUrl&)>;

    WebEnginePage(QWebEngineProfile* profile, ExternalOpener openExternally, QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }
    bool silent() const { return m_silent; }

signals:
    // The engine has taken up a navigation of the main frame.
    void mainFrameNavigation(const QUrl& url);

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    bool m_silent = false;
    ExternalOpener m_openExternally;
};

// Catches the first address a new-window request navigates to, hands it on, and goes.
class NewWindowCatcher : public QWebEnginePage
{
    Q_OBJECT

public:
    NewWindowCatcher(QWebEngineProfile* profile, WebEnginePage::ExternalOpener openExternally,
                     QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    WebEnginePage::ExternalOpener m_openExternally;
};

} // namespace tovrin::platform
