#pragma once

#include "EventLoop.h"

#include <QFile>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// A FIFO where a file is expected, for code that must never open one and wait there
// (opening a FIFO to read waits for a writer, for good).
class TestFifo {
public:
    explicit TestFifo(const QString& path) : m_path(QFile::encodeName(path)) {
        m_made = ::mkfifo(m_path.constData(), 0600) == 0;
    }
    TestFifo(const TestFifo&) = delete;
    TestFifo& operator=(const TestFifo&) = delete;

    bool made() const { return m_made; }
    // Whether it is still a FIFO: nothing replaced it.
    bool untouched() const {
        struct stat st {};
        return ::lstat(m_path.constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    }

    // Runs `work` on a thread of its own; true when it ends within the time limit. When
    // it does not, the FIFO is given a writer that closes at once, so a blocked open and
    // read return and the test fails instead of never ending.
    bool runsWithoutWaiting(const std::function<void()>& work, int timeoutMs = 10000) {
        std::atomic<bool> done{false};
        std::thread thread([&] {
            work();
            done = true;
        });
        const bool finished = waitUntil([&] { return done.load(); }, timeoutMs);
        while (!done) {
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            waitUntil([&] { return done.load(); }, 100);
        }
        thread.join();
        return finished;
    }

private:
    QByteArray m_path;
    bool m_made = false;
};

}  // namespace testsupport
