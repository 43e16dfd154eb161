#pragma once

#include "core/ClockTimer.h"
#include "core/Date.h"
#include "model/ODEvent.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace app {
class AppSettings;
}
namespace platform {
class SoundPlayer;
class Workspace;
}  // namespace platform
namespace store {
class CalendarStore;
}

namespace alerts {

class MeetingCardPresenter;

// Watches the coming meetings and, shortly before one starts, shows its card
// with a sound: each event once (an event moved to another start is a new
// one), again at its start or after a snooze when asked, never when declined
// or all-day. Refreshes or removes the card as the events change, removes it
// when the meeting ends or has run past the auto-dismiss time, and serves the
// hot key that joins the current or next meeting. Checks every 5 s of the
// clock while a card shows; otherwise when the next card or reminder falls due,
// and at least once a minute, reading the alert preferences anew each time.
class MeetingAlertController : public QObject {
    Q_OBJECT

public:
    static constexpr double kCheckInterval = 5;
    // Without a card the app must not wake more often: it lives in the tray all day.
    static constexpr double kRestingCheckInterval = 60;
    // A meeting that started this long ago is no longer announced.
    static constexpr double kLatestShowingAfterStart = 60;
    static constexpr double kSnooze = 300;
    // How far ahead the join hot key looks for a meeting.
    static constexpr double kJoinLookAhead = 12 * 3600;
    // Lead times beyond a day can only come from a damaged settings file.
    static constexpr double kLongestLeadTime = 86400;
    static constexpr double kDefaultLeadTime = 60;

    // Everything given must outlive the controller. Does nothing until start().
    MeetingAlertController(store::CalendarStore& store, app::AppSettings& settings, platform::Workspace& workspace,
                           platform::SoundPlayer& sound, MeetingCardPresenter& presenter, QObject* parent = nullptr);
    ~MeetingAlertController() override;

    // Starts the checks and checks once at once.
    void start();
    bool isStarted() const { return m_started; }
    // Shows the card for the event (with the alert sound, unless it already
    // shows that event), or refreshes the card in place.
    void showCard(const model::ODEvent& event);
    // Opens the link of the meeting on the card, else of the first one under
    // way, else of the next within 12 hours; the bell when there is none.
    void joinNextMeeting(core::Date now);
    void dismiss();

    // When the checks look next.
    core::Date nextCheck() const { return m_timer.moment(); }
    // The event the card shows; nullopt while none shows.
    const std::optional<model::ODEvent>& cardEvent() const { return m_cardEvent; }
    // Events asked to come back (at their start, or after a snooze), by id.
    const QHash<QString, core::Date>& pendingReminders() const { return m_reminders; }

    // The lead time the checks use for the stored one: none below 0, and the
    // default for one no settings screen can write (beyond a day, not a number).
    static double effectiveLeadTime(double stored);
    // The meeting the join hot key means at `now`, when there is one: the card's
    // when it has a link, else the first under way, else the first to come within
    // 12 hours, neither declined nor all-day.
    static std::optional<model::ODEvent> joinTarget(const std::optional<model::ODEvent>& cardEvent,
                                                    const std::vector<model::ODEvent>& events, core::Date now);

private:
    void scheduleCheck();
    void check(core::Date now);
    // Takes the card away once its meeting ended or ran past the auto-dismiss time.
    void expireCard(core::Date now);
    bool showDueReminder(core::Date now);
    bool isDue(const model::ODEvent& event, core::Date now, double lead) const;
    void onEventsChanged();

    store::CalendarStore& m_store;
    app::AppSettings& m_settings;
    platform::Workspace& m_workspace;
    platform::SoundPlayer& m_sound;
    MeetingCardPresenter& m_presenter;
    core::ClockTimer m_timer;
    bool m_started = false;
    // Only grows: an event is announced once for the life of the process.
    QSet<QString> m_shownIDs;
    QHash<QString, core::Date> m_reminders;
    std::optional<model::ODEvent> m_cardEvent;
};

}  // namespace alerts
