#include "app/StartupLog.h"

#include "app/Form1.h"
#include "app/QueryBox.h"
#include "browser/BrowserControl.h"

#include <QEvent>

#include <functional>
#include <utility>

namespace tovrin::app {

Q_LOGGING_CATEGORY(lcStartup, "tovrin.startup", QtWarningMsg)

namespace {

// Hands each event type of a widget to onEvent until it says it has seen enough.
class EventWatcher : public QObject
{
public:
    EventWatcher(QWidget& widget, std::function<bool(QEvent::Type)> onEvent)
        : QObject(&widget), m_onEvent(std::move(onEvent))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_onEvent(event->type())) {
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    std::function<bool(QEvent::Type)> m_onEvent;
};

} // namespace

void StartupLog::mark(const char* what) const
{
    qCInfo(lcStartup, "%s: %lld ms", what, elapsedMs());
}

void StartupLog::watch(Form1& form) const
{
    if (!lcStartup().isInfoEnabled())
        return;
    // The window's first showing and first painting, and the query box's first key.
    new EventWatcher(form, [this, shown = false](QEvent::Type type) mutable {
        if (!shown && (type == QEvent::Expose || type == QEvent::Show)) {
            shown = true;
            mark("window shown");
            return false;
        }
        if (type != QEvent::Paint)
            return false;
        mark("window painted");
        return true;
    });
    new EventWatcher(*form.Text1, [this](QEvent::Type type) {
        if (type != QEvent::KeyPress)
            return false;
        mark("first key");
        return true;
    });
    QObject::connect(
        form.WebBrowser1, &browser::BrowserControl::loadFinished, form.WebBrowser1,
        [this](bool ok) { mark(ok ? "first page loaded (ok)" : "first page loaded (failed)"); },
        Qt::SingleShotConnection);
}

} // namespace tovrin::app
