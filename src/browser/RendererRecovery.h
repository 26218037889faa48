#pragma once

#include "browser/LastMinute.h"

#include <cstdint>

namespace tovrin::browser {

// What a view does when the process that rendered its page has ended: load the page
// again after a pause that grows with each try, at most three times a minute, and
// otherwise show that the page stopped working.
class RendererRecovery
{
public:
    enum class Action {
        Reload,      // load the page again after the pause
        ShowStopped, // show that the page stopped working
        Leave,       // nothing to try: no renderer can be started for it
    };
    struct Step
    {
        Action action = Action::Leave;
        int pauseMs = 0;
    };

    static constexpr int kMaxReloads = 3; // a minute

    // A page that came from a form is not loaded again (that would send the form
    // again), nor one whose renderer never started (it would only fail once more).
    Step onRendererEnded(std::int64_t nowMs, bool pageFromForm, bool rendererStarted);

private:
    LastMinute m_reloads; // when the reloads were made
};

} // namespace tovrin::browser
