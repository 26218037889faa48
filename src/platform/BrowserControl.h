#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace tovrin::platform {

// What the program uses of a web-browser control: Navigate with one argument, the Silent
// property, the got-focus event, and placement and visibility as a widget of the window.
class BrowserControl : public QWidget
{
    Q_OBJECT

public:
    explicit BrowserControl(QWidget* parent = nullptr);

    // Starts loading the address and returns at once. An address without a scheme is
    // taken as http, and an empty one shows a blank page. Only web addresses and the
    // program's own pages load; for anything else the control says so in its place.
    virtual void Navigate(const QString& address) = 0;

    // Unloads the page, leaving a blank one, so that nothing keeps running out of sight.
    virtual void clear() = 0;

    // A silent control opens no dialog box of any kind and logs nothing.
    virtual void setSilent(bool silent) = 0;
    virtual bool silent() const = 0;

signals:
    // The keyboard focus has moved into the control (or any widget inside it).
    void gotFocus();
    // The control has finished loading a page.
    void loadFinished(bool ok);

private:
    void onFocusChanged(QWidget* old, QWidget* now);
};

// Makes the browser control that the window places under the given object name.
using BrowserFactory = std::function<BrowserControl*(QWidget* parent, const QString& name)>;

} // namespace tovrin::platform
