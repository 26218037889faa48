#pragma once

#include "browser/DialogRules.h"
#include "browser/LastMinute.h"
#include "browser/PagePolicy.h"

#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>

namespace tovrin::browser {

// The address rules of a view, and the way out of the program for what they hand on.
struct PageRules
{
    AddressRules addresses;
    BrowserRole role; // the view's
    std::function<void(const QUrl&)> openExternally;
};

// A page that can be made silent, that keeps its page in its view and asks for no
// permission: new windows become the desktop browser's (on the user's click only), and
// a page may neither load an address outside the web nor hand one to another program,
// but for what the page rules allow. Its dialogs follow AnswerDialog: none from a view
// the user cannot see, one at a time, three a minute in the view, and none that holds up
// a page the program loads.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT

public:
    WebEnginePage(QWebEngineProfile* profile, PageRules rules, QObject* parent);

    void setSilent(bool silent) { m_silent = silent; }
    bool silent() const { return m_silent; }

    // The program is about to load another page: until the view takes it up, the page
    // shown may not ask to stay.
    void programLoads(const QUrl& url);

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
    // Whether the dialog may be shown; if so, it counts as one of the page's.
    DialogAnswer answer(DialogKind kind);
    bool seen() const;
    template <typename Show> auto showing(Show show);

    bool m_silent = false;
    ProgramLoads m_programLoads;
    bool m_dialogOpen = false;
    LastMinute m_recentDialogs;
    QElapsedTimer m_clock;
    bool m_fromForm = false;
    const PageRules m_rules; // a copy: the page may outlive its control's members
};

// Sorts a URL for the page rules.
AddressKind KindOfUrl(const QUrl& url, const AddressRules& rules);

} // namespace tovrin::browser
