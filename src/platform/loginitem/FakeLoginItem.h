#pragma once

#include "platform/loginitem/LoginItem.h"

namespace platform {

// Starting at login kept in memory; a test can make every change fail.
class FakeLoginItem : public LoginItem {
public:
    bool isEnabled() const override { return enabled; }
    std::optional<QString> setEnabled(bool on) override {
        ++changes;
        if (failure)
            return failure;
        enabled = on;
        return std::nullopt;
    }

    bool enabled = false;
    std::optional<QString> failure;
    int changes = 0;
};

}  // namespace platform
