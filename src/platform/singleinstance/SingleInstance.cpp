#include "platform/singleinstance/SingleInstance.h"

#include "core/Log.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace platform {

namespace {

constexpr int kConnectMs = 1000;
constexpr int kWriteMs = 2000;
// A sender that goes quiet before its message is whole is cut off.
constexpr int kReadMs = 5000;
constexpr int kLockMs = 3000;

}  // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), m_path(socketPath.isEmpty() ? defaultSocketPath() : std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath() {
    // Qt hands out the runtime folder only when it is ours and private (0700),
    // so no other user can have put a socket there.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/orbitday-instance");
}

SingleInstance::Role SingleInstance::claim() {
    if (m_path.isEmpty()) {
        core::log(QStringLiteral("no private runtime folder: other launches will start their own instance"));
        return Role::alone;
    }
    // Two launches at once must not both find no one and replace each other's socket.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(kLockMs * 2);
    const bool locked = lock.tryLock(kLockMs);

    QLocalSocket probe;
    probe.connectToServer(m_path);
    if (probe.waitForConnected(kConnectMs)) {
        probe.abort();
        return Role::another;
    }
    if (!locked)
        core::log(QStringLiteral("could not lock the instance socket; taking it over"));
    // Nobody answered: what is there is left over from an instance that ended.
    QLocalServer::removeServer(m_path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path)) {
        core::log(QStringLiteral("cannot listen on ") + m_path + QStringLiteral(": ") + m_server->errorString());
        delete m_server;
        m_server = nullptr;
        return Role::alone;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return Role::running;
}

bool SingleInstance::send(const InstanceMessage& message) {
    const QByteArray frame = encodeFrame(message);
    // The running instance drops a longer message unread: that is a failure to say, not a success.
    if (frame.size() > kInstanceFrameHeaderBytes + kMaxInstanceMessageBytes) {
        core::log(QStringLiteral("a message of %1 bytes is too long for the running instance").arg(frame.size()));
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    socket.write(frame);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWriteMs))
            return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWriteMs);
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // Never more in memory than the longest message allowed, and a byte to tell a longer one.
        socket->setReadBufferSize(kMaxInstanceMessageBytes + 8);
        auto reader = std::make_shared<InstanceFrameReader>();
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, [socket] {
            core::log(QStringLiteral("dropped an unfinished message from another launch"));
            socket->abort();
        });
        deadline->start(kReadMs);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader, deadline] {
            switch (reader->feed(socket->readAll())) {
                case InstanceFrameReader::State::incomplete: return;
                case InstanceFrameReader::State::invalid:
                    core::log(QStringLiteral("dropped a message from another launch: too long or malformed"));
                    break;
                case InstanceFrameReader::State::complete:
                    if (const auto message = reader->message())
                        emit messageReceived(*message);
                    else
                        core::log(QStringLiteral("dropped a malformed message from another launch"));
                    break;
            }
            deadline->stop();
            socket->abort();
        });
    }
}

}  // namespace platform
