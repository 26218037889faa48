#pragma once

#include "browser/BrowserRole.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace tovrin::browser {

class BrowserEngine;

// What the program uses of a web-browser control: Navigate with one argument, the Silent
// property, the got-focus event, and placement and visibility as a widget of the window.
class BrowserControl : public QWidget
{
    Q_OBJECT

public:
    // With an engine, pages asked for before it can take them wait in its queue.
    BrowserControl(QWidget* parent, BrowserRole role, BrowserEngine* engine = nullptr);

    // Starts loading the address and returns at once. An address without a scheme is
    // taken as http, and an empty one shows a blank page. Only web addresses and the
    // program's own pages load; for anything else the control says so in its place.
    void Navigate(const QString& address);

    // Unloads the page, leaving a blank one, so that nothing keeps running out of sight.
    void clear();

    // A silent control opens no dialog box of any kind and logs nothing.
    virtual void setSilent(bool silent) = 0;
    virtual bool silent() const = 0;

    const BrowserRole& role() const { return m_role; }

signals:
    // The keyboard focus has moved into the control (or any widget inside it).
    void gotFocus();
    // The control has finished loading a page.
    void loadFinished(bool ok);

protected:
    // What Navigate and clear do once the engine takes the control's pages.
    virtual void load(const QString& address) = 0;
    virtual void unload() = 0;

private:
    friend class BrowserEngine; // loads the pages it kept
    void onFocusChanged(QWidget* old, QWidget* now);

    const BrowserRole m_role;
    QPointer<BrowserEngine> m_engine;
};

// Makes a browser control of the given role.
using BrowserFactory = std::function<BrowserControl*(QWidget* parent, const BrowserRole& role)>;

// A control of that role, named for finding it (the design's name) and for assistive
// technology. The role says what it does; nothing depends on its names.
BrowserControl* MakeBrowser(const BrowserFactory& browsers, QWidget* parent,
                            const BrowserRole& role, const char* objectName,
                            const char* accessibleName);

} // namespace tovrin::browser
