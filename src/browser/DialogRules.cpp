#include "browser/DialogRules.h"

namespace tovrin::browser {

DialogAnswer AnswerDialog(const DialogAsked& asked)
{
    if (asked.kind == DialogKind::LeavePage && asked.programLeaving)
        return DialogAnswer::Agree;
    if (asked.silent) {
        // What a silent view has always answered: confirmations pass, the rest is
        // dismissed.
        const bool agrees =
            asked.kind == DialogKind::Confirm || asked.kind == DialogKind::LeavePage;
        return agrees ? DialogAnswer::Agree : DialogAnswer::Cancel;
    }
    if (asked.outOfSight || !asked.seen || asked.oneOpen ||
        asked.shownThisMinute >= RecentDialogs::kLimit)
        return DialogAnswer::Cancel;
    return DialogAnswer::Show;
}

int RecentDialogs::count(std::int64_t nowMs)
{
    while (!m_times.empty() && nowMs - m_times.front() >= kWindowMs)
        m_times.pop_front();
    if (static_cast<int>(m_times.size()) >= kLimit)
        m_exhausted = true;
    return m_exhausted ? kLimit : static_cast<int>(m_times.size());
}

void RecentDialogs::shown(std::int64_t nowMs)
{
    m_times.push_back(nowMs);
    count(nowMs);
}

void RecentDialogs::newPage()
{
    m_times.clear();
    m_exhausted = false;
}

} // namespace tovrin::browser
