#include "platform/systemevents/TerminationSignals.h"

#include "core/Log.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Read by the handler: an atomic int is lock-free, so safe to read in a signal handler.
std::atomic<int> g_writeFd{-1};
struct sigaction g_previous[std::size(kSignals)];

void onSignal(int signal) {
    const int savedErrno = errno;
    const int fd = g_writeFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signal);
        // Non-blocking: with the pipe full a quit is on its way already.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

QString nameOf(int signal) {
    switch (signal) {
        case SIGTERM: return QStringLiteral("SIGTERM");
        case SIGINT: return QStringLiteral("SIGINT");
        case SIGHUP: return QStringLiteral("SIGHUP");
    }
    return QString::number(signal);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    int fds[2];
    if (g_writeFd.load() >= 0 || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        core::log(QStringLiteral("cannot watch for termination signals: ") +
                  (g_writeFd.load() >= 0 ? QStringLiteral("watched already") : QString::fromLocal8Bit(std::strerror(errno))));
        return;
    }
    m_readFd = fds[0];
    g_writeFd.store(fds[1]);
    m_notifier = new QSocketNotifier(m_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &g_previous[i]);
}

TerminationSignals::~TerminationSignals() {
    if (m_readFd < 0)
        return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
    const int writeFd = g_writeFd.exchange(-1);
    ::close(writeFd);
    ::close(m_readFd);
}

void TerminationSignals::drain() {
    unsigned char bytes[16];
    ssize_t n = 0;
    int last = 0;
    while ((n = ::read(m_readFd, bytes, sizeof bytes)) > 0)
        last = bytes[n - 1];
    if (last == 0)
        return;
    core::log(QStringLiteral("quitting on ") + nameOf(last));
    emit received(last);
    QCoreApplication::quit();
}

}  // namespace platform
