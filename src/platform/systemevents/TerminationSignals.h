#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// SIGTERM (a logout, a session manager, `kill`), SIGINT (Ctrl+C in a terminal) and
// SIGHUP (its terminal closed) end the application as Quit does: the event loop
// returns and aboutToQuit lets pending work, such as a reminder ticked within its
// grace period, be written first. Without this the default action kills the
// process on the spot.
//
// One at a time per process: the handler writes the signal's number to a pipe, and
// a notifier on the main thread reads it there, where Qt may be called.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts back the handlers found.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether the handlers are in place (a pipe could be made).
    bool isActive() const { return m_notifier != nullptr; }

signals:
    // Emitted on the main thread before the application is asked to quit.
    void received(int signal);

private:
    void drain();

    int m_readFd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace platform
