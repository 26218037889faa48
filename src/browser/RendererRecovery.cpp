#include "browser/RendererRecovery.h"

namespace tovrin::browser {

RendererRecovery::Step RendererRecovery::onRendererEnded(std::int64_t nowMs, bool pageFromForm,
                                                         bool rendererStarted)
{
    const int reloads = m_reloads.count(nowMs);
    if (!rendererStarted)
        return {Action::Leave};
    if (pageFromForm || reloads >= kMaxReloads)
        return {Action::ShowStopped};
    // 250 ms, then 1 s, then 4 s.
    const int pause = 250 << (2 * reloads);
    m_reloads.add(nowMs + pause);
    return {Action::Reload, pause};
}

} // namespace tovrin::browser
