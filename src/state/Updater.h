#pragma once

#include <QObject>

namespace app {

// Checks for updates. No update framework exists on this platform, so a check
// can never start: canCheck stays false and a check only says so in the log.
class Updater final : public QObject {
    Q_OBJECT

public:
    static Updater& shared();

    bool canCheck() const { return m_canCheck; }
    void checkForUpdates();

signals:
    void canCheckChanged(bool value);

private:
    Updater() = default;
    bool m_canCheck = false;
};

}  // namespace app
