#pragma once

#include "platform/appearance/SystemAppearance.h"

namespace platform {

// Display preferences that a test sets.
class FakeSystemAppearance : public SystemAppearance {
    Q_OBJECT

public:
    using SystemAppearance::SystemAppearance;

    State state() const override { return m_state; }
    void set(State state) {
        if (state == m_state)
            return;
        m_state = state;
        emit changed();
    }

private:
    State m_state;
};

}  // namespace platform
