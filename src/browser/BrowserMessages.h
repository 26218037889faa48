#pragma once

#include <QString>

namespace tovrin::browser {

// The small pages a browser control shows in place of a page it will not or cannot show.

// An address that is not a web address was asked for; the text is shown as given.
QString RefusedAddressPage(const QString& text);

// The page's renderer ended again and again, or cannot be started.
QString StoppedPage();

// The browser engine's sandbox cannot start here, with the reason and what to do (as
// rich text for a label: the engine is not there to show a page).
QString SandboxMessage(bool runningAsRoot);

// The same, in one line for standard error.
QString SandboxLogLine(bool runningAsRoot);

} // namespace tovrin::browser
