#include "platform/systemevents/TerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

using platform::TerminationSignals;

void (*currentHandler(int signal))(int) {
    struct sigaction action {};
    ::sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

// Each signal ends the event loop the way Quit does: exec() returns 0 and aboutToQuit
// runs, which is where what waits to be written (a ticked reminder) is written.
TEST(TerminationSignals, EachEndsTheEventLoopAsQuitDoesSoThatAboutToQuitRuns) {
    const auto before = currentHandler(SIGTERM);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        TerminationSignals watcher;
        ASSERT_TRUE(watcher.isActive());
        int aboutToQuit = 0;
        std::vector<int> received;
        const auto connection =
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [&] { ++aboutToQuit; });
        QObject::connect(&watcher, &TerminationSignals::received, [&](int s) { received.push_back(s); });
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        // A quit that never comes fails here instead of hanging the test.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(20000);

        EXPECT_EQ(QCoreApplication::exec(), 0);
        QObject::disconnect(connection);
        EXPECT_EQ(aboutToQuit, 1);
        EXPECT_EQ(received, std::vector<int>{signal});
    }
    EXPECT_EQ(currentHandler(SIGTERM), before) << "the handler found before is back";
}

TEST(TerminationSignals, OnlyOneWatchesAtATime) {
    TerminationSignals first;
    testing::internal::CaptureStderr();
    const TerminationSignals second;
    EXPECT_NE(testing::internal::GetCapturedStderr().find("watched already"), std::string::npos);
    EXPECT_TRUE(first.isActive());
    EXPECT_FALSE(second.isActive());
}

}  // namespace
