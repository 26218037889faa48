#include "browser/DroppedLoadRetry.h"

#include <QLoggingCategory>
#include <QTimer>

#include <utility>

namespace tovrin::browser {

Q_DECLARE_LOGGING_CATEGORY(lcBrowser)

namespace {

// An address as the engine may report it back: "http://Host" and "http://host/" are the
// same page, and so are a character and its percent-encoded form.
QString Normalised(const QUrl& url)
{
    const QUrl u = url.adjusted(QUrl::NormalizePathSegments | QUrl::RemoveFragment);
    const QString path = u.path(QUrl::FullyDecoded);
    return u.scheme() + QStringLiteral("://") + u.host() + u':' + QString::number(u.port()) +
           (path.isEmpty() ? QStringLiteral("/") : path) + u'?' + u.query(QUrl::FullyDecoded);
}

} // namespace

DroppedLoadRetry::DroppedLoadRetry(QObject* parent, std::function<void(const QUrl&)> load)
    : QObject(parent), m_load(std::move(load))
{}

void DroppedLoadRetry::loading(const QUrl& url)
{
    m_url = url;
    m_started = false;
    QTimer::singleShot(kStartCheckMs, this, [this, asked = ++m_asked] {
        if (m_started || m_asked != asked)
            return;
        m_started = true;
        qCDebug(lcBrowser) << "load not started; asking again" << m_url;
        m_load(m_url);
    });
}

void DroppedLoadRetry::navigationStarted(const QUrl& url)
{
    if (!m_url.isEmpty() && Normalised(url) == Normalised(m_url))
        m_started = true;
}

void DroppedLoadRetry::forget()
{
    ++m_asked;
    m_url = QUrl();
}

} // namespace tovrin::browser
