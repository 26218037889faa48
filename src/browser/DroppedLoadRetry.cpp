#include "browser/DroppedLoadRetry.h"

#include "browser/AddressInput.h"

#include <QLoggingCategory>
#include <QTimer>

#include <utility>

namespace tovrin::browser {

Q_DECLARE_LOGGING_CATEGORY(lcBrowser)

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
    if (!m_url.isEmpty() && SamePage(url, m_url))
        m_started = true;
}

void DroppedLoadRetry::forget()
{
    ++m_asked;
    m_url = QUrl();
}

} // namespace tovrin::browser
