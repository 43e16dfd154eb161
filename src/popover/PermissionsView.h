#pragma once

#include "model/AccessStatus.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace app {
struct AppEnvironment;
}
namespace design {
class ODButton;
class PlainTextButton;
class TextBlock;
class TextLine;
}  // namespace design

namespace popover {

class AccessScreenHeader;
class PermissionsFlow;

// One permission's row on the onboarding screen: its icon, what it is for, and
// Allow, "Allowed" or "Turned off" by its status. The row that is the question
// to answer now has the accent outline.
class PermissionRow : public QWidget {
    Q_OBJECT

public:
    PermissionRow(QString symbol, const QString& title, const QString& subtitle, std::function<void()> allow,
                  QWidget* parent = nullptr);

    void setState(model::AccessStatus status, bool isActive, bool isBusy);

    model::AccessStatus status() const { return m_status; }
    bool isActive() const { return m_active; }
    design::ODButton* allowButton() const { return m_allow; }
    // "Allowed" or "Turned off"; empty while Allow shows.
    QString statusText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class IconTile;

    IconTile* m_icon;
    design::ODButton* m_allow;
    design::TextLine* m_granted;
    design::TextLine* m_refused;
    model::AccessStatus m_status = model::AccessStatus::notDetermined;
    bool m_active = false;
};

// The first screen: a greeting, why the calendars and the reminders are
// needed, a row for each permission with its own Allow, and Skip once the
// calendars question is answered. It leaves for the main screen, or for the
// access-denied screen when calendar access is refused.
class PermissionsView : public QWidget {
    Q_OBJECT

public:
    explicit PermissionsView(app::AppEnvironment& environment, QWidget* parent = nullptr);
    ~PermissionsView() override;

    PermissionRow* calendarsRow() const { return m_calendars; }
    PermissionRow* remindersRow() const { return m_reminders; }
    // Shown only once the calendars question is answered.
    design::PlainTextButton* skipButton() const { return m_skip; }
    // What an answer came with, under the rows; hidden without it.
    design::TextBlock* noteText() const { return m_note; }

private:
    void refresh();

    app::AppEnvironment& m_env;
    PermissionsFlow* m_flow;
    PermissionRow* m_calendars;
    PermissionRow* m_reminders;
    design::TextBlock* m_note;
    design::PlainTextButton* m_skip;
};

}  // namespace popover
