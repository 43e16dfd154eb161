#pragma once

#include <QString>
#include <QWidget>

namespace app {
struct AppEnvironment;
}
namespace design {
class ODButton;
}

namespace popover {

class AccessRecheck;
class AccessScreenHeader;

// The screen shown while the calendars may not be read: what to switch on in
// our privacy settings, in three steps, a button that opens them, and "Check
// again". Access is checked again on that button and whenever the application
// becomes active; the screen leaves as soon as a check finds access granted.
class AccessDeniedView : public QWidget {
    Q_OBJECT

public:
    explicit AccessDeniedView(app::AppEnvironment& environment, QWidget* parent = nullptr);
    ~AccessDeniedView() override;

    QString message() const;
    bool isStillOff() const;
    QStringList steps() const { return m_steps; }
    design::ODButton* checkAgainButton() const { return m_checkAgain; }
    design::ODButton* openSettingsButton() const { return m_openSettings; }

    static QString normalMessage();
    static QString stillOffMessage();
    // The symbol of the tile: a calendar with a warning mark where the symbol
    // set has one.
    static QString tileSymbol();

private:
    void showMessage(bool stillOff);

    app::AppEnvironment& m_env;
    AccessRecheck* m_recheck;
    AccessScreenHeader* m_header;
    QStringList m_steps;
    design::ODButton* m_checkAgain;
    design::ODButton* m_openSettings;
};

}  // namespace popover
