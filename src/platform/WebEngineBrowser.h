#pragma once

#include "platform/BrowserControl.h"
#include "platform/WebEnginePage.h"

class QWebEngineView;
class QWebEngineProfile;

namespace tovrin::platform {

// The browser control on Qt WebEngine. The engine's view is created on the first
// Navigate, so controls that never show a page cost nothing.
class WebEngineBrowser : public BrowserControl
{
    Q_OBJECT

public:
    WebEngineBrowser(QWidget* parent, WebEnginePage::ExternalOpener openExternally);

    void Navigate(const QString& address) override;
    void setSilent(bool silent) override;
    bool silent() const override { return m_silent; }

    // The engine's view, or nullptr before the first page was started.
    QWebEngineView* view() const { return m_view; }

    // A control of lesser importance starts its first page only once another control
    // has shown its first page (or after a while), so that the two do not compete for
    // the engine while the program starts.
    void setStartsAfterOthers(bool later) { m_startsAfterOthers = later; }

    // The one profile of the program: off the record, so nothing reaches the disk.
    static QWebEngineProfile* sharedProfile();

signals:
    // The view has finished loading a page (for start-up timing and tests).
    void loadFinished(bool ok);

private:
    void ensureView();
    void load(const QString& address);

    QWebEngineView* m_view = nullptr;
    WebEnginePage* m_page = nullptr;
    WebEnginePage::ExternalOpener m_openExternally;
    bool m_silent = false;
    bool m_startsAfterOthers = false;
    QString m_heldAddress; // a first page waiting for another control's first page
    // The last address asked for, and whether the engine has started loading it.
    QUrl m_pendingUrl;
    bool m_pendingStarted = false;
    static constexpr int kStartCheckMs = 300;
};

// The factory the window uses in the real program. The controls named in
// startAfterOthers start their first page after another control's first page.
BrowserFactory WebEngineBrowserFactory(QStringList startAfterOthers = {});

} // namespace tovrin::platform
