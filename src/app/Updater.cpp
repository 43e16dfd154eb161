#include "app/Updater.h"

#include "app/PlatformWords.h"
#include "core/Log.h"

namespace app {

Updater& Updater::shared() {
    static Updater instance;
    return instance;
}

void Updater::checkForUpdates() {
    core::log(words::updatesUnavailableLogLine());
}

}  // namespace app
