#pragma once

#include "platform/BrowserControl.h"

namespace tovrin::platform {

// A browser control for when the browser engine cannot run: it shows a message of the
// program's own in its place and loads nothing.
class MessageBrowser : public BrowserControl
{
    Q_OBJECT

public:
    // An empty message leaves the control blank.
    MessageBrowser(QWidget* parent, const QString& html);

    void Navigate(const QString&) override {}
    void setSilent(bool silent) override { m_silent = silent; }
    bool silent() const override { return m_silent; }
    void clear() override {}

private:
    bool m_silent = false;
};

// Makes the controls of a window whose pages cannot be shown: the one named shows the
// message, the others stay blank.
BrowserFactory MessageBrowserFactory(QString messageControl, QString html);

} // namespace tovrin::platform
