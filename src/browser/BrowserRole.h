#pragma once

namespace tovrin::browser {

// What a browser control is for, as the window says when it makes it. Everything a
// control does differently from the others follows from this, never from its name.
struct BrowserRole
{
    // Its first page waits for the result browser's first page, so that the page the
    // user came for is not slowed down by the strip filling in.
    bool waitsForFirstPage = false;
    // Its page may hand the maker's messenger scheme to the desktop: the contact link.
    bool launchesMessenger = false;
    // Too small to be seen: its page may not put dialogs in front of the user.
    bool outOfSight = false;
    // Says why, in its place, when the browser engine cannot start.
    bool showsStartupProblem = false;
};

} // namespace tovrin::browser
