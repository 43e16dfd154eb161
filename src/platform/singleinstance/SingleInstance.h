#pragma once

#include "platform/singleinstance/InstanceMessage.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace platform {

// One running instance per user: the first launch listens on a local socket
// in the user's runtime folder (accessible to the user only); a later launch
// finds it there and hands it a message instead of starting a second copy.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        // Listening: later launches reach this process.
        running,
        // Another instance answered: send it the message and leave.
        another,
        // No socket could be had (no private runtime folder): run on, alone.
        alone,
    };

    // `socketPath` empty means the default one.
    explicit SingleInstance(QString socketPath = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR/orbitday-instance; empty without a runtime folder of our own.
    static QString defaultSocketPath();
    QString socketPath() const { return m_path; }

    // Connects to a running instance, else listens. A socket file nobody
    // answers on is left over from a crash and is replaced; nothing else is.
    Role claim();
    // As `another`: hands the message over; false when it could not be written.
    bool send(const InstanceMessage& message);

signals:
    // A message from a later launch, on the main thread. Messages that are too
    // long or malformed are dropped with a log line.
    void messageReceived(const platform::InstanceMessage& message);

private:
    void accept();
    void read(QLocalSocket* socket);

    QString m_path;
    QLocalServer* m_server = nullptr;
};

}  // namespace platform
