#include "platform/MessageBrowser.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tovrin::platform {

MessageBrowser::MessageBrowser(QWidget* parent, const QString& html) : BrowserControl(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    if (html.isEmpty())
        return;
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* text = new QLabel(html, this);
    text->setObjectName(QStringLiteral("message"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(text);
    setFocusProxy(text);
}

BrowserFactory MessageBrowserFactory(QString messageControl, QString html)
{
    return [messageControl, html](QWidget* parent, const QString& name) -> BrowserControl* {
        auto* browser = new MessageBrowser(parent, name == messageControl ? html : QString());
        browser->setObjectName(name);
        return browser;
    };
}

} // namespace tovrin::platform
