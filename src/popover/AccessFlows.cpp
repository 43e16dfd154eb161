#include "popover/AccessFlows.h"

#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QPointer>

namespace popover {

using model::AccessStatus;

app::PopoverRoute effectiveRoute(const app::PopoverRoute& route, const store::CalendarStore& store) {
    if (route != app::PopoverRoute::main())
        return route;
    if (store.eventAccess() == AccessStatus::notDetermined)
        return app::PopoverRoute::onboarding();
    if (store.isAccessDenied())
        return app::PopoverRoute::accessDenied();
    return route;
}

PermissionsFlow::PermissionsFlow(store::CalendarStore& store, app::AppSettings& settings, app::AppState& appState,
                                 QObject* parent)
    : QObject(parent), m_store(store), m_settings(settings), m_appState(appState) {
    // The store takes what a request says as its last error, before the request's answer arrives.
    connect(&m_store, &store::CalendarStore::lastErrorChanged, this, [this] {
        if (m_requesting && m_store.lastError()) {
            m_note = *m_store.lastError();
            emit changed();
        }
    });
}

bool PermissionsFlow::isCalendarsRowActive() const {
    return m_store.eventAccess() == AccessStatus::notDetermined;
}

bool PermissionsFlow::isRemindersRowActive() const {
    return m_store.eventAccess() != AccessStatus::notDetermined &&
           m_store.reminderAccess() == AccessStatus::notDetermined;
}

bool PermissionsFlow::canSkip() const {
    return m_store.eventAccess() != AccessStatus::notDetermined;
}

void PermissionsFlow::allowCalendars() {
    if (m_requesting)
        return;
    setRequesting(true);
    QPointer<PermissionsFlow> self(this);
    m_store.requestAccess([self](bool) {
        if (!self)
            return;
        self->setRequesting(false);
        if (self->m_store.isAccessDenied()) {
            // Onboarding is not complete: the question was answered with a no.
            self->m_appState.setRoute(app::PopoverRoute::accessDenied());
            return;
        }
        if (self->m_store.reminderAccess() != AccessStatus::notDetermined)
            self->finish();
    });
}

void PermissionsFlow::allowReminders() {
    if (m_requesting)
        return;
    setRequesting(true);
    QPointer<PermissionsFlow> self(this);
    m_store.requestRemindersAccess([self](bool) {
        if (!self)
            return;
        self->setRequesting(false);
        if (self->m_store.eventAccess() != AccessStatus::notDetermined)
            self->finish();
    });
}

void PermissionsFlow::skip() {
    if (m_store.reminderAccess() != AccessStatus::fullAccess)
        m_settings.setShowReminders(false);
    finish();
}

void PermissionsFlow::finish() {
    m_settings.setHasCompletedOnboarding(true);
    m_appState.setRoute(m_store.isAccessDenied() ? app::PopoverRoute::accessDenied() : app::PopoverRoute::main());
}

void PermissionsFlow::setRequesting(bool requesting) {
    if (m_requesting == requesting)
        return;
    m_requesting = requesting;
    emit changed();
}

AccessRecheck::AccessRecheck(store::CalendarStore& store, app::AppState& appState, QObject* parent)
    : QObject(parent), m_store(store), m_appState(appState) {}

void AccessRecheck::recheck(bool userInitiated) {
    // The reload re-reads both statuses before anything else.
    m_store.reload();
    decide(userInitiated);
}

void AccessRecheck::follow() {
    decide(false);
}

void AccessRecheck::decide(bool userInitiated) {
    if (m_store.eventAccess() == AccessStatus::notDetermined) {
        m_appState.setRoute(app::PopoverRoute::onboarding());
        return;
    }
    if (m_store.isAccessDenied()) {
        if (userInitiated)
            setStillOff(true);
        return;
    }
    setStillOff(false);
    m_appState.setRoute(app::PopoverRoute::main());
}

void AccessRecheck::setStillOff(bool stillOff) {
    if (m_stillOff == stillOff)
        return;
    m_stillOff = stillOff;
    emit stillOffChanged(stillOff);
}

}  // namespace popover
