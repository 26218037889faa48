#pragma once

#include <QElapsedTimer>
#include <QLoggingCategory>

namespace tovrin::app {
class MainWindow;
}

namespace tovrin::startup {

// Start-up figures, printed under the logging category "tovrin.startup" when it is
// switched on (QT_LOGGING_RULES="tovrin.startup.info=true").
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

// The moments of one start, in milliseconds since the log was made (at the start of
// main()).
class StartupLog
{
public:
    StartupLog() { m_sinceLaunch.start(); }

    qint64 elapsedMs() const { return m_sinceLaunch.elapsed(); }
    // Prints "what: N ms".
    void mark(const char* what) const;

    // Reports when the window is first shown and first painted, when the query box gets
    // its first key, and when the result browser first finishes a page.
    void watch(app::MainWindow& window) const;

private:
    QElapsedTimer m_sinceLaunch;
};

} // namespace tovrin::startup
