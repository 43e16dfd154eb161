#include "imageimport/flow/ImportKeys.h"

#include "state/AppState.h"
#include "store/CalendarStore.h"

namespace imageimport {

namespace {

bool hasAccess(const store::CalendarStore& store) {
    return store.eventAccess() != model::AccessStatus::notDetermined && !store.isAccessDenied();
}

}  // namespace

bool importDropsApply(const app::AppState& appState, const store::CalendarStore& store) {
    using Kind = app::PopoverRoute::Kind;
    const Kind route = appState.route().kind();
    return hasAccess(store) && route != Kind::onboarding && route != Kind::accessDenied;
}

bool importKeysApply(const app::AppState& appState, const store::CalendarStore& store) {
    if (!hasAccess(store))
        return false;
    using Kind = app::PopoverRoute::Kind;
    const Kind route = appState.route().kind();
    return route == Kind::main || route == Kind::quickCreate || route == Kind::imageImport;
}

}  // namespace imageimport
