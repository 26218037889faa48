#pragma once

#include <QObject>
#include <QUrl>

#include <functional>

namespace tovrin::browser {

// Qt WebEngine 6.4.2 now and then drops a load that arrives just as the previous page
// commits: it never starts and the lookup is lost. A load that has not started a moment
// later, with nothing newer asked for, is issued once more. To see it: lookups in quick
// succession with QT_LOGGING_RULES="tovrin.browser.debug=true" trace "load not started;
// asking again"; an engine without the fault never does.
class DroppedLoadRetry : public QObject
{
public:
    DroppedLoadRetry(QObject* parent, std::function<void(const QUrl&)> load);

    // The program has asked the view for a web address.
    void loading(const QUrl& url);
    // The engine has taken up a navigation of the main frame.
    void navigationStarted(const QUrl& url);
    // Something else is shown instead: a message, a blank page.
    void forget();

private:
    std::function<void(const QUrl&)> m_load;
    QUrl m_url;
    bool m_started = false;
    quint64 m_asked = 0; // counts the loads asked for, so that a late check changes nothing newer
    static constexpr int kStartCheckMs = 300;
};

} // namespace tovrin::browser
