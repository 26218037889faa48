#pragma once

#include "browser/BrowserControl.h"
#include "browser/BrowserEngine.h"

#include <string>
#include <vector>

class QWebEngineProfile;
class QWidget;

namespace tovrin::browser {

// The browser engine on Qt WebEngine: its one profile, off the record, made when the
// engine starts.
class WebEngine : public BrowserEngine
{
    Q_OBJECT

public:
    using BrowserEngine::BrowserEngine;

    // The profile every view shares; starts the engine's processes when first asked.
    QWebEngineProfile* profile();

    void prepareWindow(QWidget& window) override;

protected:
    void startProcesses() override;

private:
    QWebEngineProfile* m_profile = nullptr; // a child: it outlives the views, which the window owns
};

// How the program's browser controls are made.
struct BrowserSettings
{
    // The scheme through which the contact page starts the maker's messenger.
    std::string launchScheme;
    // The program's own pages, by whole address.
    std::vector<std::string> builtInPages;
};

// The browser controls of the real program, on this engine.
BrowserFactory WebEngineBrowserFactory(WebEngine& engine, BrowserSettings settings);

} // namespace tovrin::browser
