#include "app/StartupTiming.h"

#include "app/Form1.h"
#include "app/QueryBox.h"
#include "platform/BrowserControl.h"

#include <QElapsedTimer>
#include <QEvent>

namespace tovrin::app {

Q_LOGGING_CATEGORY(lcStartup, "tovrin.startup", QtWarningMsg)

namespace {

QElapsedTimer& timer()
{
    static QElapsedTimer t;
    return t;
}

class ShownWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_shown && (event->type() == QEvent::Expose || event->type() == QEvent::Show)) {
            m_shown = true;
            qCInfo(lcStartup, "window shown: %lld ms", StartupTiming::elapsedMs());
        } else if (event->type() == QEvent::Paint) {
            qCInfo(lcStartup, "window painted: %lld ms", StartupTiming::elapsedMs());
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    bool m_shown = false;
};

// The first key the query box receives.
class FirstKeyWatcher : public QObject
{
public:
    explicit FirstKeyWatcher(QWidget& box) : QObject(&box) { box.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            qCInfo(lcStartup, "first key: %lld ms", StartupTiming::elapsedMs());
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void StartupTiming::begin()
{
    timer().start();
}

qint64 StartupTiming::elapsedMs()
{
    return timer().isValid() ? timer().elapsed() : 0;
}

void StartupTiming::watch(Form1& form)
{
    if (!lcStartup().isInfoEnabled())
        return;
    form.installEventFilter(new ShownWatcher(&form));
    new FirstKeyWatcher(*form.Text1);
    QObject::connect(
        form.WebBrowser1, &platform::BrowserControl::loadFinished, form.WebBrowser1,
        [](bool ok) {
            qCInfo(lcStartup, "first page loaded (%s): %lld ms", ok ? "ok" : "failed",
                   StartupTiming::elapsedMs());
        },
        Qt::SingleShotConnection);
}

} // namespace tovrin::app
