#include "platform/AddressInput.h"

namespace tovrin::platform {

QUrl AddressFromUserText(const QString& text)
{
    static const QUrl blank(QStringLiteral("about:blank"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return blank;
    const QUrl url = QUrl::fromUserInput(trimmed);
    if (!url.isValid() || url.scheme().isEmpty())
        return blank;
    if ((url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
        url.host().isEmpty())
        return blank;
    return url;
}

} // namespace tovrin::platform
