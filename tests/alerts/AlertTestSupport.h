#pragma once

#include "alerts/MeetingCardPresenter.h"
#include "model/ODEvent.h"

#include <optional>
#include <vector>

namespace alertstest {

// Keeps each card presented and the actions it was given, as the panel would show them.
struct RecordingPresenter : alerts::MeetingCardPresenter {
    void present(const model::ODEvent& event, alerts::MeetingCardActions cardActions) override {
        presented.push_back(event);
        actions = std::move(cardActions);
        showing = event;
    }
    void withdraw() override {
        ++withdrawals;
        showing.reset();
    }

    std::vector<model::ODEvent> presented;
    alerts::MeetingCardActions actions;
    std::optional<model::ODEvent> showing;
    int withdrawals = 0;
};

}  // namespace alertstest
