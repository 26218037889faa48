#pragma once

#include <QLoggingCategory>

class QWidget;

namespace tovrin::app {

class Form1;

// Start-up figures, printed under the logging category "tovrin.startup" when it is
// switched on (QT_LOGGING_RULES="tovrin.startup.info=true").
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

namespace StartupTiming {

// Marks the start of main().
void begin();
// Milliseconds since begin().
qint64 elapsedMs();
// Reports when the window is first shown and first painted, when the query box gets its
// first key, and when the result browser first finishes a page.
void watch(Form1& form);

} // namespace StartupTiming

} // namespace tovrin::app
