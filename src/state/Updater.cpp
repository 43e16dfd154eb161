#include "state/Updater.h"

#include "core/Log.h"
#include "state/PlatformWords.h"

namespace app {

Updater& Updater::shared() {
    static Updater instance;
    return instance;
}

void Updater::checkForUpdates() {
    core::log(words::updatesUnavailableLogLine());
}

}  // namespace app
