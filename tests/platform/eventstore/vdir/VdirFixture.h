#pragma once

#include "EventLoop.h"
#include "IcsTestSupport.h"

#include "platform/eventstore/vdir/VdirEventStore.h"
#include "platform/privacy/ConfigPrivacy.h"
#include "platform/privacy/FakePrivacy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>


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

using testsupport::waitUntil;

inline void spin(int milliseconds) { testsupport::spinEventLoop(milliseconds); }

}  // namespace vdirtest
