#pragma once

#include "platform/eventstore/PlatformTypes.h"

namespace model {

// Whether a change applies to this occurrence only or to it and all that follow.
enum class EditSpan { thisEvent, futureEvents };

inline platform::Span toPlatformSpan(EditSpan span) {
    return span == EditSpan::futureEvents ? platform::Span::FutureEvents : platform::Span::ThisEvent;
}

}  // namespace model
