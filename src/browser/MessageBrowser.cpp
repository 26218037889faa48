#include "browser/MessageBrowser.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tovrin::browser {

MessageBrowser::MessageBrowser(QWidget* parent, BrowserRole role, const QString& html)
    : BrowserControl(parent, role)
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

BrowserFactory MessageBrowserFactory(QString html)
{
    return [html](QWidget* parent, const BrowserRole& role) -> BrowserControl* {
        return new MessageBrowser(parent, role, role.showsStartupProblem ? html : QString());
    };
}

} // namespace tovrin::browser
