#pragma once

#include "browser/BrowserRole.h"

#include <optional>
#include <string>

namespace tovrin::browser {

// The dialogs a page can ask its view for.
enum class DialogKind { Alert, Confirm, Prompt, LeavePage, Files };

// What the view does with one: show it to the user, or answer at once without showing
// anything, as a user who cancelled it would or, in a silent view, as one who agreed.
enum class DialogAnswer { Show, Cancel, Agree };

// A view shows no more than this many of its pages' dialogs within a minute.
inline constexpr int kDialogsAMinute = 3;

struct DialogAsked
{
    DialogKind kind = DialogKind::Alert;
    BrowserRole role;            // the view's
    bool silent = false;         // the view's Silent property
    bool seen = true;            // any of the view is on the screen
    bool programLeaving = false; // the program itself is loading another page into the view
    bool oneOpen = false;        // one of the view's dialogs is on the screen already
    int shownThisMinute = 0;     // dialogs the view has shown within the last minute
};

// A page may not put dialogs in front of the user from a view the user cannot see, nor
// one after another: one at a time, and no more once it has shown three in a minute.
// Nothing a page does holds up a page the program loads.
DialogAnswer AnswerDialog(const DialogAsked& asked);

// The loads the program itself makes in a view, recognised by the navigation each one
// starts: until the view has taken up the latest, the page shown is being left by the
// program. Nothing a page does, and no earlier load that ends late, changes that.
class ProgramLoads
{
public:
    // The program asks the view for an address (as the engine will report it).
    void asked(std::string address);
    // The view has taken up a navigation of its main frame; ofProgram says it is of the
    // kind only the program starts.
    void navigationStarted(const std::string& address, bool ofProgram);
    bool leaving() const { return m_pending.has_value(); }

private:
    std::optional<std::string> m_pending;
};

} // namespace tovrin::browser
