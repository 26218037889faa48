#include "browser/BrowserEngine.h"

#include "browser/BrowserControl.h"

#include <algorithm>
#include <utility>

namespace tovrin::browser {

void BrowserEngine::start()
{
    if (std::exchange(m_started, true))
        return;
    startProcesses();
    emit started();
    loadKept();
}

void BrowserEngine::releaseWaitingPages()
{
    if (std::exchange(m_waitingReleased, true))
        return;
    if (m_started)
        loadKept();
}

bool BrowserEngine::waits(const BrowserControl& control) const
{
    return m_held && (!m_started || (control.role().waitsForFirstPage && !m_waitingReleased));
}

bool BrowserEngine::keeps(BrowserControl& control, const QString& address)
{
    if (!waits(control))
        return false;
    const auto it = std::find_if(m_kept.begin(), m_kept.end(),
                                 [&](const Kept& kept) { return kept.control == &control; });
    if (it == m_kept.end())
        m_kept.push_back({&control, address});
    else
        it->address = address;
    return true;
}

void BrowserEngine::forget(BrowserControl& control)
{
    std::erase_if(m_kept, [&](const Kept& kept) { return kept.control == &control; });
}

void BrowserEngine::loadKept()
{
    std::vector<Kept> now;
    std::vector<Kept> later;
    for (Kept& kept : std::exchange(m_kept, {})) {
        if (!kept.control)
            continue;
        (waits(*kept.control) ? later : now).push_back(std::move(kept));
    }
    m_kept = std::move(later);
    for (const Kept& kept : now)
        if (kept.control) // a page's load may take a control away
            kept.control->load(kept.address);
}

} // namespace tovrin::browser
