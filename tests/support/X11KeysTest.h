#pragma once

#include "XTestKeyboard.h"
#include "platform/hotkeys/X11HotKeyRegistrar.h"

#include <QtGlobal>

#include <gtest/gtest.h>

namespace testsupport {

// A test on the private X server with our key grabs and a second client that
// types, whatever session runs the tests.
class X11KeysTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("XDG_SESSION_TYPE", "x11");
    }
    void SetUp() override {
        ASSERT_TRUE(keyboard.ok());
        ASSERT_TRUE(registrar.isAvailable());
    }

    XTestKeyboard keyboard;
    platform::X11HotKeyRegistrar registrar;
};

}  // namespace testsupport
