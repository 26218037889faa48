#include "app/StartupLog.h"

#include "app/Form1.h"
#include "app/QueryBox.h"
#include "browser/BrowserControl.h"

#include <QEvent>

namespace tovrin::app {

Q_LOGGING_CATEGORY(lcStartup, "tovrin.startup", QtWarningMsg)

namespace {

// The window's first showing and first painting.
class ShownWatcher : public QObject
{
public:
    ShownWatcher(QWidget& window, const StartupLog& log) : QObject(&window), m_log(log)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_shown && (event->type() == QEvent::Expose || event->type() == QEvent::Show)) {
            m_shown = true;
            m_log.mark("window shown");
        } else if (event->type() == QEvent::Paint) {
            m_log.mark("window painted");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    const StartupLog& m_log;
    bool m_shown = false;
};

// The first key the query box receives.
class FirstKeyWatcher : public QObject
{
public:
    FirstKeyWatcher(QWidget& box, const StartupLog& log) : QObject(&box), m_log(log)
    {
        box.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            m_log.mark("first key");
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    const StartupLog& m_log;
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
    new ShownWatcher(form, *this);
    new FirstKeyWatcher(*form.Text1, *this);
    QObject::connect(
        form.WebBrowser1, &browser::BrowserControl::loadFinished, form.WebBrowser1,
        [this](bool ok) { mark(ok ? "first page loaded (ok)" : "first page loaded (failed)"); },
        Qt::SingleShotConnection);
}

} // namespace tovrin::app
