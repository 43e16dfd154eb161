#include "settings/SettingsTabModel.h"

namespace settings {

void SettingsTabModel::setSelection(app::SettingsTab tab) {
    m_selection = tab;
    emit selectionChanged(tab);
}

void SettingsTabModel::setRecordingAction(std::optional<app::HotKeyAction> action) {
    m_recordingAction = action;
    emit recordingActionChanged();
}

}  // namespace settings
