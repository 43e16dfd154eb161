#include "platform/eventstore/FakeEventStore.h"

#include <gtest/gtest.h>

namespace {

using platform::EntityType;
using platform::FakeEventStore;

TEST(FakeEventStore, StartsWithFullAccessAndNoCalendars) {
    FakeEventStore store;
    EXPECT_EQ(store.authorizationStatus(EntityType::Event), platform::AuthorizationStatus::FullAccess);
    EXPECT_TRUE(store.calendars(EntityType::Event).empty());
}

}  // namespace
