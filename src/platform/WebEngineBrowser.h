#pragma once

#include "platform/BrowserControl.h"
#include "platform/RendererRecovery.h"
#include "platform/WebEnginePage.h"

#include <QElapsedTimer>
#include <QPointer>

#include <string>
#include <vector>

class QWebEngineView;
class QWebEngineProfile;

namespace tovrin::platform {

// How the program's browser controls are made.
struct BrowserSettings
{
    // Controls that start their first page after another control's first page.
    QStringList startAfterOthers;
    // The control that opens the maker's messenger, and the scheme its page hands to it.
    QString contactControl;
    std::string launchScheme;
    // The program's own pages, by whole address.
    std::vector<std::string> builtInPages;
};

// The browser control on Qt WebEngine. The engine's view is created on the first
// Navigate, so controls that never show a page cost nothing.
class WebEngineBrowser : public BrowserControl
{
    Q_OBJECT

public:
    WebEngineBrowser(QWidget* parent, PageRules rules);

    void Navigate(const QString& address) override;
    void setSilent(bool silent) override;
    bool silent() const override { return m_silent; }
    void clear() override;

    // The engine's view, or nullptr before the first page was started.
    QWebEngineView* view() const { return m_view; }

    // A control of lesser importance starts its first page only once another control
    // has shown its first page (or after a while), so that the two do not compete for
    // the engine while the program starts.
    void setStartsAfterOthers(bool later) { m_startsAfterOthers = later; }

    // The one profile of the program: off the record, so nothing reaches the disk.
    static QWebEngineProfile* sharedProfile();

    // Starting the engine (its profile, its processes, the first views) takes the GUI
    // thread for a few hundred milliseconds. While held, Navigate only notes each
    // control's address (a later one replaces an earlier one, clear() forgets it);
    // starting the engine navigates the controls in the order they were first asked.
    static void holdEngine();
    static void startEngine();

private:
    void ensureView();
    void load(const QString& address);
    void showMessage(const QString& html);
    void onRendererEnded(int status);

    PageRules m_rules;
    QWebEngineView* m_view = nullptr;
    WebEnginePage* m_page = nullptr;
    bool m_silent = false;
    bool m_startsAfterOthers = false;
    QString m_heldAddress; // a first page waiting for another control's first page
    QString m_addressAtStart; // the page to navigate to once the engine is started
    // The last address asked for, and whether the engine has started loading it.
    QUrl m_pendingUrl;
    bool m_pendingStarted = false;
    static constexpr int kStartCheckMs = 300;
    // Counts what the program asked the view to show, so that a late reload after a
    // renderer's end does not replace a newer page.
    quint64 m_loads = 0;
    bool m_showingMessage = false; // one of the control's own messages, not a page
    QUrl m_shownUrl;               // the page shown, or the one the program asked for since
    bool m_rendererStarted = false;
    RendererRecovery m_recovery;
    // Where the focus was when the renderer ended, to be given back if the engine takes it.
    QPointer<QWidget> m_focusElsewhere;
    qint64 m_focusGuardUntil = 0;
    static constexpr int kFocusGuardMs = 2000;
    QElapsedTimer m_clock;
};

// The factory the window uses in the real program.
BrowserFactory WebEngineBrowserFactory(BrowserSettings settings);

} // namespace tovrin::platform
