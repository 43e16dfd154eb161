// The shared main of every test binary. Before anything else runs it isolates
// the process: HOME and the XDG folders point into a fresh temporary folder,
// and the time zone and locale are pinned, so no test ever reads or writes a
// real calendar or real settings, and results do not depend on the machine.

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#ifdef ORBITDAY_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    testsupport::isolateProcess();
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    testsupport::cleanUp();
    return result;
}
