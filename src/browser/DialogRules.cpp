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
    if (asked.role.outOfSight || !asked.seen || asked.oneOpen ||
        asked.shownThisMinute >= kDialogsAMinute)
        return DialogAnswer::Cancel;
    return DialogAnswer::Show;
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
