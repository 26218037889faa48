#pragma once

#include "browser/PagePolicy.h"

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

namespace tovrin::browser {

// The address rules of a view, and the way out of the program for what they hand on.
struct PageRules
{
    AddressRules addresses;
    bool contactControl = false;
    std::function<void(const QUrl&)> openExternally;
};

// A page that can be made silent, that keeps its page in its view and asks for no
// permission: new windows become the desktop browser's (on the user's click only), and
// a page may neither load an address outside the web nor hand one to another program,
// but for what the page rules allow.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT

public:
    WebEnginePage(QWebEngineProfile* profile, PageRules rules, QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }
    bool silent() const { return m_silent; }

    // The page shown came from a form: loading it again would send the form again.
    bool fromForm() const { return m_fromForm; }

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
    void refuseWhatPagesAsk();

    bool m_silent = false;
    bool m_fromForm = false;
    const PageRules m_rules; // a copy: the page may outlive its control's members
};

// Sorts a URL for the page rules.
AddressKind KindOfUrl(const QUrl& url, const AddressRules& rules);

} // namespace tovrin::browser
