#pragma once

#include <cstdint>
#include <deque>

namespace tovrin::browser {

// The dialogs a page can ask its view for.
enum class DialogKind { Alert, Confirm, Prompt, LeavePage, Files };

// What the view does with one: show it to the user, or answer at once without showing
// anything, as a user who cancelled it would or, in a silent view, as one who agreed.
enum class DialogAnswer { Show, Cancel, Agree };

struct DialogAsked
{
    DialogKind kind = DialogKind::Alert;
    bool silent = false;         // the view's Silent property
    bool outOfSight = false;     // the view's role: nothing it shows can be seen
    bool seen = true;            // the view, its window and its strip are on the screen
    bool programLeaving = false; // the program itself is loading another page into the view
    bool oneOpen = false;        // one of the view's dialogs is on the screen already
    int shownThisMinute = 0;     // dialogs the page has shown, as RecentDialogs counts them
};

// A page may not put dialogs in front of the user from a view the user cannot see, nor
// one after another: one at a time, and no more once it has shown three in a minute.
// Nothing a page does holds up a page the program loads.
DialogAnswer AnswerDialog(const DialogAsked& asked);

// The dialogs one page has shown. Once three came within a minute the page shows no more:
// the count stays at the limit until the next page.
class RecentDialogs
{
public:
    static constexpr int kLimit = 3;
    static constexpr std::int64_t kWindowMs = 60000;

    int count(std::int64_t nowMs);
    void shown(std::int64_t nowMs);
    void newPage();

private:
    std::deque<std::int64_t> m_times;
    bool m_exhausted = false;
};

} // namespace tovrin::browser
