#pragma once

#include "alerts/MeetingCardFace.h"
#include "alerts/MeetingCardPresenter.h"
#include "core/ClockTimer.h"
#include "model/ODEvent.h"

#include <QWidget>

class QAbstractButton;
class QHBoxLayout;
class QLayout;

namespace app {
class AppSettings;
}
namespace design {
class AvatarStack;
class ODButton;
class ODIconButton;
class TextBlock;
class TextLine;
}  // namespace design
namespace platform {
class Workspace;
}

namespace alerts {

class CountdownTile;
class JoinMeetingButton;

// The card shown under the tray shortly before a meeting: when it starts,
// counting down by the second and up once it has started; its title, time and
// people; a join button for its link with the join shortcut; "Remind at start"
// (until the start), "5 min", copying the link and dismissing. Everything it
// shows is drawn afresh from the event, the clock and the join shortcut; what
// its buttons do is the alert controller's, but for copying the link.
class MeetingCardView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 340;

    MeetingCardView(app::AppSettings& settings, platform::Workspace& workspace, QWidget* parent = nullptr);
    ~MeetingCardView() override;

    // Shows the event in place of the one shown.
    void setEvent(const model::ODEvent& event, MeetingCardActions actions);
    const model::ODEvent& event() const { return m_event; }
    // What the card shows now.
    const MeetingCardFace& face() const { return m_face; }

    QAbstractButton* joinButton() const;
    QAbstractButton* remindAtStartButton() const;
    QAbstractButton* snoozeButton() const;
    QAbstractButton* copyLinkButton() const;
    QAbstractButton* dismissButton() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLayout* makeHeader();
    QLayout* makeCountdownRow();
    QLayout* makeFooter();
    // Redraws for the current time and, while shown, waits for the clock's
    // next change.
    void refresh();

    app::AppSettings& m_settings;
    platform::Workspace& m_workspace;
    model::ODEvent m_event;
    MeetingCardActions m_actions;
    MeetingCardFace m_face;
    core::ClockTimer m_tick;

    design::TextLine* m_header = nullptr;
    design::ODIconButton* m_dismiss = nullptr;
    CountdownTile* m_countdown = nullptr;
    design::TextBlock* m_title = nullptr;
    design::TextLine* m_timeLine = nullptr;
    QWidget* m_people = nullptr;
    design::AvatarStack* m_avatars = nullptr;
    design::TextLine* m_invited = nullptr;
    JoinMeetingButton* m_join = nullptr;
    QHBoxLayout* m_footer = nullptr;
    design::ODButton* m_remind = nullptr;
    design::ODButton* m_snooze = nullptr;
    design::ODIconButton* m_copyLink = nullptr;
};

}  // namespace alerts
