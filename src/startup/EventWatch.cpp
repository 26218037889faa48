#include "startup/EventWatch.h"

#include <utility>

namespace tovrin::startup {

EventWatch::EventWatch(QObject& watched, std::function<bool(const QEvent&)> waitsFor,
                       std::function<void(bool)> done)
    : QObject(&watched), m_watched(watched), m_waitsFor(std::move(waitsFor)),
      m_done(std::move(done))
{
    watched.installEventFilter(this);
}

void EventWatch::end(bool seen)
{
    if (std::exchange(m_ended, true))
        return;
    m_watched.removeEventFilter(this);
    if (m_done)
        m_done(seen);
    deleteLater();
}

bool EventWatch::eventFilter(QObject*, QEvent* event)
{
    if (!m_ended && m_waitsFor(*event))
        end(true);
    return false;
}

} // namespace tovrin::startup
