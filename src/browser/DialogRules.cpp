#include "browser/DialogRules.h"

#include <utility>

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
    return static_cast<int>(m_times.size());
}

void RecentDialogs::shown(std::int64_t nowMs)
{
    m_times.push_back(nowMs);
}

void ProgramLoads::asked(std::string address)
{
    m_pending = std::move(address);
}

void ProgramLoads::navigationStarted(const std::string& address, bool ofProgram)
{
    if (ofProgram && m_pending == address)
        m_pending.reset();
}

} // namespace tovrin::browser
