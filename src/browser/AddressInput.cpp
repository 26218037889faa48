#include "browser/AddressInput.h"

namespace tovrin::browser {

QUrl AddressFromUserText(const QString& text)
{
    static const QUrl blank(QStringLiteral("about:blank"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return blank;
    const QUrl url = QUrl::fromUserInput(trimmed);
    return url.isValid() ? url : QUrl();
}

} // namespace tovrin::browser
