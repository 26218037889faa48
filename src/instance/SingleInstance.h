#pragma once

#include "instance/HandOver.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace tovrin::instance {

// Where this user's program of this graphical session can be reached: a socket in the
// user's runtime folder, named for the session (XDG_SESSION_ID, else the display), and
// the lock that says which launch owns it.
struct SessionEndpoint
{
    QString socketPath;
    QString lockPath;

    static SessionEndpoint ForThisSession();
};

// The program of the session, as the first launch holds it: it owns the endpoint while
// it runs, and hands what later launches ask for to whoever listens to requested().
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // Owns the endpoint if no running program of the session holds it. A lock or a
    // socket left by a program that ended without tidying up blocks nothing.
    static std::unique_ptr<SingleInstance> Claim(const SessionEndpoint& endpoint);
    ~SingleInstance() override;

    // Starts taking later launches' requests: once the window can take them.
    bool listen();

signals:
    void requested(const tovrin::instance::Request& request);

private:
    SingleInstance(SessionEndpoint endpoint, std::unique_ptr<QLockFile> lock);
    void take();

    SessionEndpoint m_endpoint;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

enum class HandOverResult {
    Taken,        // the running program has taken the request
    NotListening, // the owner is still starting, or has just ended
    NoAnswer,     // the owner listens but did not answer in time
};

// A later launch's side: hands the request to the program that owns the endpoint and
// waits for its answer, for at most answerMs once connected.
HandOverResult HandOver(const SessionEndpoint& endpoint, const Request& request, int answerMs);

} // namespace tovrin::instance
