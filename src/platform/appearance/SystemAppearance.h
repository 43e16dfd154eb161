#pragma once

#include <QObject>

namespace platform {

// The desktop's display preferences: dark or light, increased contrast, reduced
// motion. Signals arrive on the main thread.
class SystemAppearance : public QObject {
    Q_OBJECT

public:
    struct State {
        bool isDark = false;
        bool increaseContrast = false;
        bool reduceMotion = false;

        bool operator==(const State&) const = default;
    };

    using QObject::QObject;
    ~SystemAppearance() override = default;

    virtual State state() const = 0;

signals:
    void changed();
};

}  // namespace platform
