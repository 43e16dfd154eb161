#pragma once

#include "core/Clock.h"
#include "platform/appearance/FakeSystemAppearance.h"
#include "platform/datadetector/FakeDataDetector.h"
#include "platform/defaults/InMemoryUserDefaults.h"
#include "platform/eventstore/FakeEventStore.h"
#include "platform/haptics/FakeHaptics.h"
#include "platform/hotkeys/FakeHotKeyRegistrar.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/loginitem/FakeLoginItem.h"
#include "platform/sound/FakeSoundPlayer.h"
#include "platform/systemevents/FakeSystemEvents.h"
#include "platform/textrecognition/FakeTextRecognizer.h"
#include "platform/workspace/FakeWorkspace.h"
#include "shell/AppDelegate.h"

#include <memory>

namespace testsupport {

// The whole application launched on fakes but for its tray item, which the
// test chooses; a calendar "Work" to put events in. The clock comes first, so
// that nothing built after it ever reads the real time.
struct FakePlatform {
    explicit FakePlatform(core::Date now) : clock(now) {}

    core::ScopedTestClock clock;
    platform::InMemoryUserDefaults defaults;
    platform::FakeEventStore ek;
    platform::PlatformCalendar work = ek.addCalendar(platform::EntityType::Event, QStringLiteral("Work"));
    platform::FakeSystemEvents systemEvents;
    platform::FakeHotKeyRegistrar hotKeys;
    platform::FakeSystemAppearance appearance;
    platform::FakeWorkspace workspace;
    platform::FakeHaptics haptics;
    platform::FakeSoundPlayer sound;
    platform::FakeLoginItem loginItem;
    platform::FakeImageLoader imageLoader;
    platform::FakeTextRecognizer textRecognizer;
    platform::FakeDataDetector dataDetector;

    std::unique_ptr<app::AppDelegate> launch(platform::StatusItem& item) {
        auto delegate = std::make_unique<app::AppDelegate>(
            app::PlatformServices{defaults, ek, systemEvents, hotKeys, appearance, item, workspace, haptics, sound, loginItem, imageLoader, textRecognizer, dataDetector});
        delegate->applicationDidFinishLaunching();
        return delegate;
    }
};

}  // namespace testsupport
