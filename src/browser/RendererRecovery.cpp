#include "browser/RendererRecovery.h"

namespace tovrin::browser {

RendererRecovery::Step RendererRecovery::onRendererEnded(std::int64_t nowMs, bool pageFromForm,
                                                         bool rendererStarted)
{
    while (!m_reloads.empty() && nowMs - m_reloads.front() >= kWindowMs)
        m_reloads.pop_front();
    if (!rendererStarted)
        return {Action::Leave};
    if (pageFromForm || m_reloads.size() >= kMaxReloads)
        return {Action::ShowStopped};
    // 250 ms, then 1 s, then 4 s.
    const int pause = 250 << (2 * static_cast<int>(m_reloads.size()));
    m_reloads.push_back(nowMs + pause);
    return {Action::Reload, pause};
}

} // namespace tovrin::browser
