#include "platform/AddressInput.h"

namespace tovrin::platform {

QUrl AddressFromUserText(const QString& text)
{
    static const QUrl blank(QStringLiteral("about:blank"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return blank;
    const QUrl url = QUrl::fromUserInput(trimmed);
    return url.isValid() ? url : QUrl();
}

} // namespace tovrin::platform
