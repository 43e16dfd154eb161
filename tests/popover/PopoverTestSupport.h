#pragma once

#include "StoreTestSupport.h"
#include "model/ODEvent.h"

namespace popovertest {

using storetest::local;

inline constexpr core::Color kRed = core::Color::rgb(220, 40, 40);
inline constexpr core::Color kBlue = core::Color::rgb(40, 90, 220);
inline constexpr core::Color kGreen = core::Color::rgb(40, 160, 80);

// A timed event whose id is its title.
model::ODEvent event(const QString& title, core::Date start, core::Date end, core::Color color = kBlue);
model::ODEvent allDay(const QString& title, core::Date day, core::Color color = kBlue);
// The same event with the user's own invitation declined.
model::ODEvent declined(model::ODEvent event);

QStringList titles(const std::vector<model::ODEvent>& events);

}  // namespace popovertest
