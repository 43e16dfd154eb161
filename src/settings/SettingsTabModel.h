#pragma once

#include "state/HotKeyManager.h"
#include "state/PopoverRoute.h"

#include <QObject>

#include <optional>

namespace settings {

// What the settings window's views share: the tab shown, and the one shortcut
// field that records keys, if any. Main thread only; every assignment notifies,
// also when the value did not change.
class SettingsTabModel final : public QObject {
    Q_OBJECT

public:
    explicit SettingsTabModel(QObject* parent = nullptr) : QObject(parent) {}

    app::SettingsTab selection() const { return m_selection; }
    void setSelection(app::SettingsTab tab);

    // The action whose field records; a field that starts takes the mark from any
    // other, and closing the window clears it.
    std::optional<app::HotKeyAction> recordingAction() const { return m_recordingAction; }
    void setRecordingAction(std::optional<app::HotKeyAction> action);

signals:
    void selectionChanged(app::SettingsTab tab);
    void recordingActionChanged();

private:
    app::SettingsTab m_selection = app::SettingsTab::general;
    std::optional<app::HotKeyAction> m_recordingAction;
};

}  // namespace settings
