#pragma once

#include <QObject>

#include <functional>

namespace tovrin::startup {

// Watches an object's events until one of them is what it waits for, or until it is
// ended without it; then it runs done once, told which, and goes. A child of the object
// watched, so that it never outlives it.
class EventWatch : public QObject
{
public:
    EventWatch(QObject& watched, std::function<bool(const QEvent&)> waitsFor,
               std::function<void(bool seen)> done = {});

    // Ends the watch as if the event came (the condition was met elsewhere) or not.
    void end(bool seen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject& m_watched;
    std::function<bool(const QEvent&)> m_waitsFor;
    std::function<void(bool)> m_done;
    bool m_ended = false;
};

} // namespace tovrin::startup
