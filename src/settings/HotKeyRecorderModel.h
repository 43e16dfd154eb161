#pragma once

#include "state/HotKeyManager.h"
#include "state/Preferences.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <Qt>

#include <cstdint>
#include <optional>

namespace app {
class AppSettings;
}
namespace platform::keys {
struct KeyEntry;
}

namespace settings {

class SettingsTabModel;

// The name of a global shortcut's action, as its row and the hints say it.
QString hotKeyActionLabel(app::HotKeyAction action);
// The shortcut the settings hold for the action (absent: none).
const std::optional<app::HotKeyCombo>& storedHotKey(const app::AppSettings& settings, app::HotKeyAction action);
void storeHotKey(app::AppSettings& settings, app::HotKeyAction action, const std::optional<app::HotKeyCombo>& combo);
app::HotKeyCombo defaultHotKey(app::HotKeyAction action);

// One shortcut field: at rest it shows the stored shortcut; while it records it
// reads the keys the view hands it, refuses what cannot be a global shortcut and
// stores what can. While any field records, the three global shortcuts are
// released: a key grab takes its keys before any window of ours sees them, so the
// field could not record a shortcut already in use, and pressing it would act.
// They are taken again from the settings as soon as no field records.
class HotKeyRecorderModel final : public QObject {
    Q_OBJECT

public:
    // What the field shows: a text in one of two styles, or keycaps.
    struct Face {
        enum class Style { prompt, placeholder, keycaps };
        Style style = Style::placeholder;
        QString text;
        QStringList keycaps;

        bool operator==(const Face&) const = default;
    };

    // The settings, the manager and the tab model must outlive the field, or
    // the tab model may go first: a window that closes takes it along.
    HotKeyRecorderModel(app::HotKeyAction action, app::AppSettings& settings, app::HotKeyManager& hotKeys,
                        SettingsTabModel& tabs, QObject* parent = nullptr);
    ~HotKeyRecorderModel() override;

    app::HotKeyAction action() const { return m_action; }
    const std::optional<app::HotKeyCombo>& combo() const;
    app::HotKeyCombo defaultCombo() const { return defaultHotKey(m_action); }

    // This field holds the recording mark.
    bool isRecording() const;
    // This field reads the keys: from its start until it ends or hands over.
    bool isCapturing() const { return m_capturing; }
    // The modifiers held while recording, as a stored mask.
    std::uint32_t liveModifiers() const { return m_liveModifiers; }
    const std::optional<QString>& hint() const { return m_hint; }

    Face face() const;
    // The round button beside the field: Cancel while recording, else a reset to
    // the default, which is off when the default is what is stored.
    QString accessorySymbol() const;
    QString accessoryHelp() const;
    bool isAccessoryEnabled() const;
    // Why a stored shortcut does nothing; absent while it works, while there is
    // none, and while any field records.
    std::optional<QString> problem() const;
    // The line under the field: why the last key was refused while recording,
    // else the problem. Hints name other actions, which the field has no room for.
    std::optional<QString> message() const;

    // A click on the field.
    void toggleRecording();
    void clickAccessory();
    void cancel();
    // The field left the screen: a recording stops as if cancelled.
    void disappear();

    // The keys, while capturing. A change of the held modifiers always passes
    // on; every key press is taken (returns true), so none reaches the app.
    // `nativeScanCode` says which key was pressed where the platform tells:
    // the key is then recorded as itself, not as the symbol Shift made of it.
    void modifiersChanged(Qt::KeyboardModifiers modifiers);
    bool keyPressed(int qtKey, Qt::KeyboardModifiers modifiers, std::uint32_t nativeScanCode = 0);

signals:
    // Anything the field shows changed.
    void changed();
    void capturingChanged(bool capturing);

private:
    void start();
    void end();
    void stopCapturing();
    void recordingMarkChanged();
    void refuse(const QString& hint);
    const platform::keys::KeyEntry* keyOf(int qtKey, std::uint32_t nativeScanCode) const;
    std::optional<app::HotKeyAction> otherActionWith(const app::HotKeyCombo& combo) const;
    void releaseAllShortcuts();
    void restoreAllShortcuts();

    app::HotKeyAction m_action;
    app::AppSettings& m_settings;
    app::HotKeyManager& m_hotKeys;
    QPointer<SettingsTabModel> m_tabs;
    bool m_capturing = false;
    std::uint32_t m_liveModifiers = 0;
    std::optional<QString> m_hint;
};

}  // namespace settings
