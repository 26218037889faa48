#include "browser/LastMinute.h"

namespace tovrin::browser {

int LastMinute::count(std::int64_t nowMs)
{
    while (!m_times.empty() && nowMs - m_times.front() >= kWindowMs)
        m_times.pop_front();
    return static_cast<int>(m_times.size());
}

} // namespace tovrin::browser
