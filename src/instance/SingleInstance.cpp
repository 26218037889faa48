#include "instance/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

namespace tovrin::instance {

// What later launches hand over, and what is dropped:
// QT_LOGGING_RULES="tovrin.instance.debug=true".
Q_LOGGING_CATEGORY(lcInstance, "tovrin.instance", QtWarningMsg)

namespace {

// A launch that connects says all it has at once; one that says nothing (or not all)
// within this is dropped.
constexpr int kReadWaitMs = 2000;

QString SessionName()
{
    const auto given = [](const char* name) { return qEnvironmentVariable(name); };
    QString session = given("XDG_SESSION_ID");
    if (session.isEmpty())
        session = given("DISPLAY");
    if (session.isEmpty())
        session = given("WAYLAND_DISPLAY");
    // Usable in a file name: a display is ":0" or "host:1.0", a socket may be a path.
    for (QChar& c : session)
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-')
            c = u'_';
    return session.isEmpty() ? QStringLiteral("default") : session;
}

} // namespace

SessionEndpoint SessionEndpoint::ForThisSession()
{
    // The runtime folder is the user's own (mode 0700); without one Qt makes one in /tmp.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString base =
        QStringLiteral("%1/tovrin-%2-%3").arg(folder).arg(getuid()).arg(SessionName());
    return {base + QStringLiteral(".socket"), base + QStringLiteral(".lock")};
}

std::unique_ptr<SingleInstance> SingleInstance::Claim(const SessionEndpoint& endpoint)
{
    auto lock = std::make_unique<QLockFile>(endpoint.lockPath);
    // Only an owner that ended leaves a stale lock: its age says nothing.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return std::unique_ptr<SingleInstance>(new SingleInstance(endpoint, std::move(lock)));
}

SingleInstance::SingleInstance(SessionEndpoint endpoint, std::unique_ptr<QLockFile> lock)
    : m_endpoint(std::move(endpoint)), m_lock(std::move(lock))
{}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close(); // the socket goes before the lock does
}

bool SingleInstance::listen()
{
    // A socket left by an owner that ended is only a file now.
    QLocalServer::removeServer(m_endpoint.socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::take);
    if (!m_server->listen(m_endpoint.socketPath)) {
        qCWarning(lcInstance) << "cannot listen at" << m_endpoint.socketPath
                              << m_server->errorString();
        return false;
    }
    return true;
}

void SingleInstance::take()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        // Dropped once, whatever went wrong first; the window is never held up for it.
        auto reader = std::make_shared<FrameReader>();
        const auto drop = [client, reader](const char* why) {
            if (reader->state() == FrameReader::State::Complete ||
                client->property("dropped").toBool())
                return;
            client->setProperty("dropped", true);
            qCDebug(lcInstance) << "request dropped:" << why;
            client->abort();
            client->deleteLater();
        };
        connect(client, &QLocalSocket::readyRead, this, [this, client, reader, drop] {
            const QByteArray bytes = client->readAll();
            switch (reader->feed(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
            case FrameReader::State::Incomplete:
                return;
            case FrameReader::State::Invalid:
                return drop(reader->whyInvalid());
            case FrameReader::State::Complete:
                client->write(&kTaken, 1);
                connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
                client->disconnectFromServer(); // once the answer is written
                qCDebug(lcInstance) << "request taken";
                emit requested(reader->request());
            }
        });
        connect(client, &QLocalSocket::disconnected, this,
                [drop] { drop("the launch went before its request was whole"); });
        QTimer::singleShot(kReadWaitMs, client,
                           [drop] { drop("the launch said nothing, or not all, in time"); });
    }
}

HandOverResult HandOver(const SessionEndpoint& endpoint, const Request& request, int answerMs)
{
    QLocalSocket socket;
    socket.connectToServer(endpoint.socketPath);
    if (!socket.waitForConnected(answerMs))
        return HandOverResult::NotListening;
    const std::string frame = EncodeFrame(request);
    socket.write(frame.data(), static_cast<qint64>(frame.size()));
    if (!socket.waitForBytesWritten(answerMs))
        return HandOverResult::NoAnswer;
    char answer = 0;
    if (!socket.waitForReadyRead(answerMs) || socket.read(&answer, 1) != 1 || answer != kTaken)
        return HandOverResult::NoAnswer;
    return HandOverResult::Taken;
}

} // namespace tovrin::instance
