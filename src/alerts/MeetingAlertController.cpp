#include "alerts/MeetingAlertController.h"

#include "alerts/MeetingCardPresenter.h"
#include "core/Clock.h"
#include "platform/sound/SoundPlayer.h"
#include "platform/workspace/Workspace.h"
#include "state/AppSettings.h"
#include "store/CalendarStore.h"

#include <QPointer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace alerts {

namespace {

bool isJoinable(const model::ODEvent& event) {
    return !event.isAllDay && event.meeting && !event.isDeclined();
}

}  // namespace

MeetingAlertController::MeetingAlertController(store::CalendarStore& store, app::AppSettings& settings,
                                               platform::Workspace& workspace, platform::SoundPlayer& sound,
                                               MeetingCardPresenter& presenter, QObject* parent)
    : QObject(parent),
      m_store(store),
      m_settings(settings),
      m_workspace(workspace),
      m_sound(sound),
      m_presenter(presenter) {
    connect(&m_timer, &core::ClockTimer::timeout, this, [this] {
        check(core::Date::now());
        scheduleCheck();
    });
}

MeetingAlertController::~MeetingAlertController() = default;

void MeetingAlertController::start() {
    m_timer.stop();
    scheduleCheck();
    if (!m_started) {
        connect(&m_settings, &app::AppSettings::meetingAlertsEnabledChanged, this, [this](bool enabled) {
            if (enabled)
                return;
            m_reminders.clear();
            dismiss();
        });
        connect(&m_store, &store::CalendarStore::eventsChanged, this, &MeetingAlertController::onEventsChanged);
        // What falls due when moves with these.
        connect(&m_settings, &app::AppSettings::meetingAlertsEnabledChanged, this, &MeetingAlertController::scheduleCheck);
        connect(&m_settings, &app::AppSettings::alertLeadTimeChanged, this, &MeetingAlertController::scheduleCheck);
        connect(&m_settings, &app::AppSettings::alertOnlyWithLinkChanged, this, &MeetingAlertController::scheduleCheck);
    }
    m_started = true;
    check(core::Date::now());
    scheduleCheck();
}

void MeetingAlertController::scheduleCheck() {
    if (!m_started)
        return;
    const core::Date now = core::Date::now();
    if (m_cardEvent) {
        m_timer.startAt(now + kCheckInterval);
        return;
    }
    core::Date next = now + kRestingCheckInterval;
    const auto sooner = [&](core::Date moment) { next = std::min(next, std::max(moment, now)); };
    for (const core::Date moment : std::as_const(m_reminders))
        sooner(moment);
    if (m_settings.meetingAlertsEnabled()) {
        const double lead = effectiveLeadTime(m_settings.alertLeadTime());
        for (const model::ODEvent& event : m_store.events()) {
            // Due now (added, or the preferences changed, since the last check) or once the lead time is reached.
            const core::Date due = std::max(now, event.start - lead);
            if (isDue(event, due, lead))
                sooner(due);
        }
    }
    m_timer.startAt(next);
}

double MeetingAlertController::effectiveLeadTime(double stored) {
    if (!std::isfinite(stored) || stored > kLongestLeadTime)
        return kDefaultLeadTime;
    return std::max(stored, 0.0);
}

void MeetingAlertController::check(core::Date now) {
    expireCard(now);
    if (!m_settings.meetingAlertsEnabled())
        return;
    if (showDueReminder(now))
        return;
    const double lead = effectiveLeadTime(m_settings.alertLeadTime());
    for (const model::ODEvent& event : m_store.events()) {
        if (isDue(event, now, lead)) {
            m_shownIDs.insert(event.id);
            showCard(event);
            return;
        }
    }
}

void MeetingAlertController::expireCard(core::Date now) {
    if (!m_cardEvent)
        return;
    const std::optional<double>& autoDismiss = m_settings.alertAutoDismissAfter();
    if (m_cardEvent->end <= now || (autoDismiss && now - m_cardEvent->start > *autoDismiss))
        dismiss();
}

bool MeetingAlertController::showDueReminder(core::Date now) {
    for (auto it = m_reminders.begin(); it != m_reminders.end(); ++it) {
        if (it.value() > now)
            continue;
        const QString id = it.key();
        m_reminders.erase(it);
        // Asked for by the user: none of the rules of a first showing apply.
        if (const std::optional<model::ODEvent> event = m_store.event(id); event && event->end > now)
            showCard(*event);
        return true;
    }
    return false;
}

bool MeetingAlertController::isDue(const model::ODEvent& event, core::Date now, double lead) const {
    return !event.isAllDay && (event.meeting || !m_settings.alertOnlyWithLink()) && !m_shownIDs.contains(event.id) &&
           !event.isDeclined() && event.start - now <= lead && now - event.start < kLatestShowingAfterStart;
}

void MeetingAlertController::showCard(const model::ODEvent& event) {
    if ((!m_cardEvent || m_cardEvent->id != event.id) && m_settings.alertSound())
        m_sound.play(*m_settings.alertSound());
    m_cardEvent = event;

    const QPointer<MeetingAlertController> self(this);
    MeetingCardActions actions;
    actions.join = [self, event] {
        if (!self)
            return;
        if (event.meeting && event.meeting->isWebLink())
            self->m_workspace.open(event.meeting->url);
        self->dismiss();
    };
    actions.remindAtStart = [self, event] {
        if (!self)
            return;
        self->m_reminders.insert(event.id, event.start);
        self->dismiss();
    };
    actions.snooze = [self, event] {
        if (!self)
            return;
        self->m_reminders.insert(event.id, core::Date::now() + kSnooze);
        self->dismiss();
    };
    actions.close = [self] {
        if (self)
            self->dismiss();
    };
    m_presenter.present(event, std::move(actions));
    scheduleCheck();
}

void MeetingAlertController::dismiss() {
    if (!m_cardEvent)
        return;
    m_cardEvent.reset();
    m_presenter.withdraw();
    scheduleCheck();
}

std::optional<model::ODEvent> MeetingAlertController::joinTarget(const std::optional<model::ODEvent>& cardEvent,
                                                                 const std::vector<model::ODEvent>& events,
                                                                 core::Date now) {
    if (cardEvent && cardEvent->meeting)
        return cardEvent;
    for (const model::ODEvent& event : events) {
        if (isJoinable(event) && event.start <= now && now < event.end)
            return event;
    }
    for (const model::ODEvent& event : events) {
        if (isJoinable(event) && event.start > now && event.start - now < kJoinLookAhead)
            return event;
    }
    return std::nullopt;
}

void MeetingAlertController::joinNextMeeting(core::Date now) {
    const std::optional<model::ODEvent> target = joinTarget(m_cardEvent, m_store.events(), now);
    if (!target || !target->meeting->isWebLink() || !m_workspace.open(target->meeting->url)) {
        m_sound.beep();
        return;
    }
    if (m_cardEvent && m_cardEvent->id == target->id)
        dismiss();
}

void MeetingAlertController::onEventsChanged() {
    if (!m_cardEvent) {
        scheduleCheck();
        return;
    }
    const std::optional<model::ODEvent> current = m_store.event(m_cardEvent->id);
    if (!current)
        dismiss();
    else if (*current != *m_cardEvent)
        showCard(*current);
}

}  // namespace alerts
