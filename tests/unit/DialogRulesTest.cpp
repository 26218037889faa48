#include "browser/DialogRules.h"
#include "browser/LastMinute.h"

#include <gtest/gtest.h>

using namespace tovrin::browser;

namespace {

enum class View { SilentResult, Strip, Contact };
enum class Sight { Seen, Unseen };

struct Row
{
    View view;
    Sight sight;
    DialogKind kind;
    int shownThisMinute;
    DialogAnswer expected;
    bool oneOpen = false;
    bool programLeaving = false;
};

constexpr auto A = DialogKind::Alert, C = DialogKind::Confirm, P = DialogKind::Prompt,
               L = DialogKind::LeavePage, F = DialogKind::Files;
constexpr auto Show = DialogAnswer::Show, Cancel = DialogAnswer::Cancel,
               Agree = DialogAnswer::Agree;

} // namespace

TEST(DialogRules, ViewRoleSightKindAndDialogsSoFar)
{
    const Row rows[] = {
        // The silent result browser answers as it always has, seen or not.
        {View::SilentResult, Sight::Seen, A, 0, Cancel},
        {View::SilentResult, Sight::Seen, C, 0, Agree},
        {View::SilentResult, Sight::Seen, P, 0, Cancel},
        {View::SilentResult, Sight::Unseen, L, 0, Agree},
        {View::SilentResult, Sight::Seen, F, 5, Cancel},
        // A strip view the user can see shows the page's own dialogs...
        {View::Strip, Sight::Seen, A, 0, Show},
        {View::Strip, Sight::Seen, C, 1, Show},
        {View::Strip, Sight::Seen, P, 2, Show},
        {View::Strip, Sight::Seen, L, 0, Show},
        {View::Strip, Sight::Seen, F, 0, Show},
        // ...one at a time, and none after the third in a minute.
        {View::Strip, Sight::Seen, A, 3, Cancel},
        {View::Strip, Sight::Seen, F, 4, Cancel},
        {View::Strip, Sight::Seen, C, 0, Cancel, true},
        // Hidden, in a hidden or minimized window, or with the strip closed: none.
        {View::Strip, Sight::Unseen, A, 0, Cancel},
        {View::Strip, Sight::Unseen, C, 0, Cancel},
        {View::Strip, Sight::Unseen, P, 0, Cancel},
        {View::Strip, Sight::Unseen, L, 0, Cancel},
        {View::Strip, Sight::Unseen, F, 0, Cancel},
        // The contact control can never be seen, whatever its size says.
        {View::Contact, Sight::Seen, A, 0, Cancel},
        {View::Contact, Sight::Seen, C, 0, Cancel},
        {View::Contact, Sight::Seen, P, 0, Cancel},
        {View::Contact, Sight::Seen, F, 0, Cancel},
        {View::Contact, Sight::Seen, L, 0, Cancel},
        // A page the program loads goes ahead, whoever asks to stay.
        {View::Contact, Sight::Seen, L, 0, Agree, false, true},
        {View::Strip, Sight::Seen, L, 3, Agree, true, true},
        {View::Strip, Sight::Unseen, L, 0, Agree, false, true},
        // Leaving matters only to the leave-page question.
        {View::Strip, Sight::Seen, C, 3, Cancel, false, true},
    };
    int line = 0;
    for (const Row& row : rows) {
        ++line;
        DialogAsked asked;
        asked.kind = row.kind;
        asked.silent = row.view == View::SilentResult;
        asked.role.outOfSight = row.view == View::Contact;
        asked.seen = row.sight == Sight::Seen;
        asked.oneOpen = row.oneOpen;
        asked.programLeaving = row.programLeaving;
        asked.shownThisMinute = row.shownThisMinute;
        EXPECT_EQ(AnswerDialog(asked), row.expected) << "row " << line;
    }
}

TEST(DialogRules, ThreeAMinutePerViewWhateverItsPagesDo)
{
    LastMinute recent;
    recent.add(0);
    recent.add(30000);
    EXPECT_EQ(recent.count(59999), 2);
    EXPECT_EQ(recent.count(60000), 1); // the first is a minute old
    recent.add(70000);
    recent.add(80000);
    EXPECT_EQ(recent.count(80000), 3);
    // A minute after the third from last, the view may show one again.
    EXPECT_EQ(recent.count(89999), 3);
    EXPECT_EQ(recent.count(90000), 2);
}

TEST(DialogRules, TheProgramsLoadIsRecognisedByTheNavigationItStarts)
{
    ProgramLoads loads;
    EXPECT_FALSE(loads.leaving());
    loads.asked("http://a.test/");
    // The page moving itself, or an earlier load of the program's, does not end it.
    loads.navigationStarted("http://a.test/", false);
    loads.navigationStarted("http://old.test/", true);
    EXPECT_TRUE(loads.leaving());
    loads.navigationStarted("http://a.test/", true);
    EXPECT_FALSE(loads.leaving());

    // A load asked for over one not yet taken up: only the latest counts.
    loads.asked("http://a.test/");
    loads.asked("http://b.test/");
    loads.navigationStarted("http://a.test/", true);
    EXPECT_TRUE(loads.leaving());
    loads.navigationStarted("http://b.test/", true);
    EXPECT_FALSE(loads.leaving());
}
