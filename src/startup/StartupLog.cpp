#include "startup/StartupLog.h"

#include "app/MainWindow.h"
#include "startup/EventWatch.h"

#include <QEvent>

namespace tovrin::startup {

Q_LOGGING_CATEGORY(lcStartup, "tovrin.startup", QtWarningMsg)

void StartupLog::mark(const char* what) const
{
    qCInfo(lcStartup, "%s: %lld ms", what, elapsedMs());
}

void StartupLog::watch(app::MainWindow& window) const
{
    if (!lcStartup().isInfoEnabled())
        return;
    new EventWatch(
        window,
        [this, shown = false](const QEvent& event) mutable {
            if (!shown && (event.type() == QEvent::Expose || event.type() == QEvent::Show)) {
                shown = true;
                mark("window shown");
            }
            return event.type() == QEvent::Paint;
        },
        [this](bool) { mark("window painted"); });
    new EventWatch(
        window.queryBox(), [](const QEvent& event) { return event.type() == QEvent::KeyPress; },
        [this](bool) { mark("first key"); });
    QObject::connect(
        &window.resultView(), &browser::BrowserControl::loadFinished, &window.resultView(),
        [this](bool ok) { mark(ok ? "first page loaded (ok)" : "first page loaded (failed)"); },
        Qt::SingleShotConnection);
}

} // namespace tovrin::startup
