#pragma once

#include "core/Date.h"

#include <QObject>

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace model {
struct ODEvent;
}
namespace store {
class CalendarStore;
}

namespace alerts {

// Watches the coming meetings and shows a card with a join button before they
// start; serves the hot key that joins the next meeting. As yet it only takes
// its place in the application: it starts, and shows and joins nothing.
class MeetingAlertController : public QObject {
    Q_OBJECT

public:
    MeetingAlertController(store::CalendarStore& store, app::AppSettings& settings, app::AppState& appState,
                           QObject* parent = nullptr);

    void start();
    bool isStarted() const { return m_started; }
    void showCard(const model::ODEvent& event);
    void joinNextMeeting(core::Date now);

private:
    store::CalendarStore& m_store;
    app::AppSettings& m_settings;
    app::AppState& m_appState;
    bool m_started = false;
};

}  // namespace alerts
