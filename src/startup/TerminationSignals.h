#pragma once

#include <QObject>

class QSocketNotifier;

namespace tovrin::startup {

// SIGTERM (a session that ends, a service manager) and SIGINT (Ctrl+C in a terminal),
// delivered as a Qt signal on the GUI thread, so that the program can end as it does
// when the user chooses to: its tray icon removed and its browser engine shut down.
// One instance at a time; the default actions come back when it is destroyed.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace tovrin::startup
