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

QString ComparableAddress(const QUrl& url)
{
    const QUrl u = url.adjusted(QUrl::NormalizePathSegments | QUrl::RemoveFragment);
    const QString path = u.path(QUrl::FullyDecoded);
    return u.scheme() + QStringLiteral("://") + u.host() + u':' + QString::number(u.port()) +
           (path.isEmpty() ? QStringLiteral("/") : path) + u'?' + u.query(QUrl::FullyDecoded);
}

} // namespace tovrin::browser
