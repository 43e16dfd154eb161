#pragma once

#include <functional>

namespace model {
struct ODEvent;
}

namespace alerts {

// What the card's buttons do, as the alert controller decides it.
struct MeetingCardActions {
    std::function<void()> join;
    std::function<void()> remindAtStart;
    std::function<void()> snooze;
    std::function<void()> close;
};

// Puts the meeting card on the screen: a panel under the tray in the
// application, a recorder in tests. One card at a time.
class MeetingCardPresenter {
public:
    virtual ~MeetingCardPresenter() = default;

    // Shows the card for the event, or puts it in place of the card showing.
    virtual void present(const model::ODEvent& event, MeetingCardActions actions) = 0;
    // Takes the card away; a card presented meanwhile is a new one.
    virtual void withdraw() = 0;
};

}  // namespace alerts
