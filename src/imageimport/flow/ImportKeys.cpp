#include "imageimport/flow/ImportKeys.h"

#include "app/AppState.h"
#include "store/CalendarStore.h"

namespace imageimport {

bool importKeysApply(const app::AppState& appState, const store::CalendarStore& store) {
    if (store.eventAccess() == model::AccessStatus::notDetermined || store.isAccessDenied())
        return false;
    using Kind = app::PopoverRoute::Kind;
    const Kind route = appState.route().kind();
    return route == Kind::main || route == Kind::quickCreate || route == Kind::imageImport;
}

}  // namespace imageimport
