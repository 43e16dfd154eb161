#include "core/Log.h"

int main() {
    // The tray application comes with the shell; until then this build holds the
    // calendar store, settings and hot keys, which scripts/test exercises.
    core::log(QStringLiteral("the tray application is not built yet: nothing to show, exiting"));
    return 0;
}
