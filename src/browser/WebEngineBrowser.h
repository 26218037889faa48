#pragma once

#include "browser/BrowserControl.h"
#include "browser/RendererRecovery.h"
#include "browser/WebEngine.h"
#include "browser/WebEnginePage.h"

#include <QElapsedTimer>

class QWebEngineView;

namespace tovrin::browser {

class DroppedLoadRetry;
class FocusGuard;

// The browser control on Qt WebEngine. The engine's view is created on the first page,
// so controls that never show one cost nothing.
class WebEngineBrowser : public BrowserControl
{
    Q_OBJECT

public:
    WebEngineBrowser(QWidget* parent, BrowserRole role, WebEngine& engine, PageRules rules);

    void setSilent(bool silent) override;
    bool silent() const override { return m_silent; }

protected:
    void load(const QString& address) override;
    void unload() override;

private:
    void ensureView();
    void loadUrl(const QUrl& url);
    void viewLoad(const QUrl& url); // every load of the program's own goes through here
    void showMessage(const QString& html);
    void onRendererEnded(int status);
    void nameViewForPage();

    WebEngine& m_engine;
    const PageRules m_rules;
    QWebEngineView* m_view = nullptr;
    WebEnginePage* m_page = nullptr;
    bool m_silent = false;
    // What the program asked the view to show: a count, so that a late reload after a
    // renderer's end does not replace a newer page, and whether it is a message of the
    // control's own rather than a page.
    quint64 m_loads = 0;
    bool m_showingMessage = false;
    QUrl m_shownUrl; // the page shown, or the one the program asked for since
    bool m_rendererStarted = false;
    RendererRecovery m_recovery;
    QElapsedTimer m_clock;
    DroppedLoadRetry* m_retry = nullptr;
    FocusGuard* m_focusGuard = nullptr;
};

} // namespace tovrin::browser
