#include "alerts/MeetingAlertController.h"

namespace alerts {

MeetingAlertController::MeetingAlertController(store::CalendarStore& store, app::AppSettings& settings,
                                               app::AppState& appState, QObject* parent)
    : QObject(parent), m_store(store), m_settings(settings), m_appState(appState) {}

void MeetingAlertController::start() {
    m_started = true;
}

void MeetingAlertController::showCard(const model::ODEvent&) {}

void MeetingAlertController::joinNextMeeting(core::Date) {}

}  // namespace alerts
