#pragma once

#include "browser/BrowserControl.h"

namespace tovrin::browser {

// A browser control for when the browser engine cannot run: it shows a message of the
// program's own in its place and loads nothing.
class MessageBrowser : public BrowserControl
{
    Q_OBJECT

public:
    // An empty message leaves the control blank.
    MessageBrowser(QWidget* parent, BrowserRole role, const QString& html);

    void setSilent(bool silent) override { m_silent = silent; }
    bool silent() const override { return m_silent; }

protected:
    void load(const QString&) override {}
    void unload() override {}

private:
    bool m_silent = false;
};

// Makes the controls of a window whose pages cannot be shown: the one whose role shows a
// start-up problem shows the message, the others stay blank.
BrowserFactory MessageBrowserFactory(QString html);

} // namespace tovrin::browser
