#pragma once

#include "IcsTestSupport.h"

#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/FakePrivacy.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace vdirtest {

// A vdir root in a temporary folder.
class TempVdir {
public:
    TempVdir() { QDir().mkpath(root); }

    QString path(const QString& relative) const { return root + QLatin1Char('/') + relative; }

    void write(const QString& relative, const QByteArray& content) const {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            ADD_FAILURE() << "cannot write " << full.toStdString();
    }
    void writeIcs(const QString& relative, const QStringList& lines) const { write(relative, ics(lines)); }

private:
    QTemporaryDir m_dir;

public:
    const QString root = m_dir.path() + QStringLiteral("/calendars");
};

// Runs the event loop until `done` holds or the time is up.
inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

inline void spin(int milliseconds) {
    waitUntil([] { return false; }, milliseconds);
}

}  // namespace vdirtest
