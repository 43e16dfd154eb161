#pragma once

#include <QString>

#include <optional>

namespace platform {

// Whether the app starts when the user logs in. Main thread only.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    // What the desktop will do at the next login, read afresh on each call.
    virtual bool isEnabled() const = 0;
    // Turns starting at login on or off; the reason when that could not be
    // done, as a sentence part for the user ("Permission denied").
    virtual std::optional<QString> setEnabled(bool enabled) = 0;
};

}  // namespace platform
