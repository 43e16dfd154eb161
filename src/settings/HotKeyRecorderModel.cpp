#include "settings/HotKeyRecorderModel.h"

#include "platform/keys/KeyTable.h"
#include "settings/SettingsTabModel.h"
#include "state/AppSettings.h"
#include "state/PlatformWords.h"

namespace settings {

namespace carbon = platform::keys::carbon;

namespace {

constexpr std::uint32_t kShortcutModifiers = carbon::kCommand | carbon::kOption | carbon::kControl;

QString modifierHint() {
    return QStringLiteral("Add %1, %2 or %3").arg(app::words::ctrl(), app::words::alt(), app::words::super());
}

QStringList keycapsOf(std::uint32_t modifiers, const std::optional<QString>& key) {
    QStringList parts = app::words::shortcutParts(modifiers, key.value_or(QString()));
    if (!key)
        parts.removeLast();
    return parts;
}

}  // namespace

QString hotKeyActionLabel(app::HotKeyAction action) {
    switch (action) {
    case app::HotKeyAction::openPopover:
        return QStringLiteral("Open Orbitday");
    case app::HotKeyAction::quickCreate:
        return QStringLiteral("Quick add");
    case app::HotKeyAction::joinMeeting:
        return QStringLiteral("Join next meeting");
    }
    return {};
}

const std::optional<app::HotKeyCombo>& storedHotKey(const app::AppSettings& settings, app::HotKeyAction action) {
    switch (action) {
    case app::HotKeyAction::openPopover:
        return settings.hotKeyOpenPopover();
    case app::HotKeyAction::quickCreate:
        return settings.hotKeyQuickCreate();
    case app::HotKeyAction::joinMeeting:
        break;
    }
    return settings.hotKeyJoinMeeting();
}

void storeHotKey(app::AppSettings& settings, app::HotKeyAction action, const std::optional<app::HotKeyCombo>& combo) {
    switch (action) {
    case app::HotKeyAction::openPopover:
        settings.setHotKeyOpenPopover(combo);
        return;
    case app::HotKeyAction::quickCreate:
        settings.setHotKeyQuickCreate(combo);
        return;
    case app::HotKeyAction::joinMeeting:
        settings.setHotKeyJoinMeeting(combo);
        return;
    }
}

app::HotKeyCombo defaultHotKey(app::HotKeyAction action) {
    switch (action) {
    case app::HotKeyAction::openPopover:
        return app::AppSettings::defaultHotKeyOpenPopover();
    case app::HotKeyAction::quickCreate:
        return app::AppSettings::defaultHotKeyQuickCreate();
    case app::HotKeyAction::joinMeeting:
        break;
    }
    return app::AppSettings::defaultHotKeyJoinMeeting();
}

HotKeyRecorderModel::HotKeyRecorderModel(app::HotKeyAction action, app::AppSettings& settings,
                                         app::HotKeyManager& hotKeys, SettingsTabModel& tabs, QObject* parent)
    : QObject(parent), m_action(action), m_settings(settings), m_hotKeys(hotKeys), m_tabs(&tabs) {
    connect(&tabs, &SettingsTabModel::recordingActionChanged, this, &HotKeyRecorderModel::recordingMarkChanged);
    connect(&hotKeys, &app::HotKeyManager::registrationChanged, this, &HotKeyRecorderModel::changed);
    for (auto signal : {&app::AppSettings::hotKeyOpenPopoverChanged, &app::AppSettings::hotKeyQuickCreateChanged,
                        &app::AppSettings::hotKeyJoinMeetingChanged})
        connect(&settings, signal, this, &HotKeyRecorderModel::changed);
}

HotKeyRecorderModel::~HotKeyRecorderModel() {
    // A field that goes while it records must not leave the shortcuts released.
    if (m_capturing) {
        const QSignalBlocker quiet(this);
        cancel();
    }
}

const std::optional<app::HotKeyCombo>& HotKeyRecorderModel::combo() const {
    return storedHotKey(m_settings, m_action);
}

bool HotKeyRecorderModel::isRecording() const {
    return m_tabs && m_tabs->recordingAction() == m_action;
}

HotKeyRecorderModel::Face HotKeyRecorderModel::face() const {
    if (isRecording()) {
        if (m_liveModifiers != 0)
            return {Face::Style::keycaps, {}, keycapsOf(m_liveModifiers, std::nullopt)};
        return {Face::Style::prompt, QStringLiteral("Type shortcut\u2026"), {}};
    }
    if (const auto& stored = combo())
        return {Face::Style::keycaps, {}, keycapsOf(stored->modifiers, stored->keyName().value_or(QStringLiteral("?")))};
    return {Face::Style::placeholder, QStringLiteral("Record shortcut"), {}};
}

QString HotKeyRecorderModel::accessorySymbol() const {
    return isRecording() ? QStringLiteral("xmark") : QStringLiteral("arrow.counterclockwise");
}

QString HotKeyRecorderModel::accessoryHelp() const {
    if (isRecording())
        return QStringLiteral("Cancel");
    if (!isAccessoryEnabled())
        return QStringLiteral("Default");
    return QStringLiteral("Reset to ") + defaultCombo().displayString();
}

bool HotKeyRecorderModel::isAccessoryEnabled() const {
    return isRecording() || combo() != defaultCombo();
}

std::optional<QString> HotKeyRecorderModel::problem() const {
    const auto& stored = combo();
    if (!stored || m_hotKeys.isRegistered(m_action) || !m_tabs || m_tabs->recordingAction())
        return std::nullopt;
    if ((stored->modifiers & kShortcutModifiers) == 0)
        return QStringLiteral("Not active: it needs %1, %2 or %3")
            .arg(app::words::ctrl(), app::words::alt(), app::words::super());
    if (const auto other = otherActionWith(*stored); other && m_hotKeys.isRegistered(*other))
        return QStringLiteral("Not active: also set for %1").arg(hotKeyActionLabel(*other));
    return QStringLiteral("Not active: refused by the desktop");
}

std::optional<QString> HotKeyRecorderModel::message() const {
    if (isRecording())
        return m_hint;
    return problem();
}

void HotKeyRecorderModel::toggleRecording() {
    if (isRecording())
        cancel();
    else
        start();
}

void HotKeyRecorderModel::clickAccessory() {
    if (isRecording())
        cancel();
    else if (isAccessoryEnabled())
        storeHotKey(m_settings, m_action, defaultCombo());
}

void HotKeyRecorderModel::cancel() {
    // Ending takes the stored shortcuts again, this one unchanged among them.
    end();
}

void HotKeyRecorderModel::disappear() {
    if (isRecording())
        cancel();
}

void HotKeyRecorderModel::start() {
    if (!m_tabs)
        return;
    // Taking the mark first makes a field that was recording give up its keys.
    m_tabs->setRecordingAction(m_action);
    m_hint.reset();
    m_liveModifiers = 0;
    releaseAllShortcuts();
    m_capturing = true;
    emit capturingChanged(true);
    emit changed();
}

void HotKeyRecorderModel::end() {
    stopCapturing();
    if (m_tabs && m_tabs->recordingAction() == m_action)
        m_tabs->setRecordingAction(std::nullopt);
    m_liveModifiers = 0;
    if (!m_tabs || !m_tabs->recordingAction())
        restoreAllShortcuts();
    emit changed();
}

void HotKeyRecorderModel::stopCapturing() {
    if (!m_capturing)
        return;
    m_capturing = false;
    emit capturingChanged(false);
}

void HotKeyRecorderModel::recordingMarkChanged() {
    // Another field took the mark, or the window closed: hand over. Whoever ends
    // the recording last takes the shortcuts again.
    if (m_capturing && !isRecording()) {
        stopCapturing();
        if (!m_tabs->recordingAction())
            restoreAllShortcuts();
    }
    emit changed();
}

void HotKeyRecorderModel::modifiersChanged(Qt::KeyboardModifiers modifiers) {
    if (!m_capturing)
        return;
    m_liveModifiers = platform::keys::carbonModifiers(modifiers) & carbon::kAllShown;
    emit changed();
}

bool HotKeyRecorderModel::keyPressed(int qtKey, Qt::KeyboardModifiers modifiers, std::uint32_t nativeScanCode) {
    if (!m_capturing)
        return false;
    const std::uint32_t mods = platform::keys::carbonModifiers(modifiers) & carbon::kAllShown;
    // Shift with Tab arrives as its own key.
    if (qtKey == Qt::Key_Backtab)
        qtKey = Qt::Key_Tab;
    if (mods == 0 && (qtKey == Qt::Key_Backspace || qtKey == Qt::Key_Delete)) {
        storeHotKey(m_settings, m_action, std::nullopt);
        end();
        return true;
    }
    if (mods == 0 && qtKey == Qt::Key_Escape) {
        cancel();
        return true;
    }
    if ((mods & kShortcutModifiers) == 0) {
        refuse(modifierHint());
        return true;
    }
    // The keypad's keys share Qt keys with the main block, but a grab of the
    // main block's key would not take them.
    const platform::keys::KeyEntry* key = modifiers.testFlag(Qt::KeypadModifier) ? nullptr : keyOf(qtKey, nativeScanCode);
    if (key == nullptr) {
        refuse(QStringLiteral("Key not supported"));
        return true;
    }
    const app::HotKeyCombo candidate{key->keyCode, mods};
    // A grab already ours would be refused and leave this action without a shortcut.
    if (const auto other = otherActionWith(candidate)) {
        refuse(QStringLiteral("Already used for %1").arg(hotKeyActionLabel(*other)));
        return true;
    }
    storeHotKey(m_settings, m_action, candidate);
    end();
    return true;
}

const platform::keys::KeyEntry* HotKeyRecorderModel::keyOf(int qtKey, std::uint32_t nativeScanCode) const {
    if (const auto keyCode = m_hotKeys.keyCodeOfKey(nativeScanCode))
        return platform::keys::keyForKeyCode(*keyCode);
    return platform::keys::keyForQtKey(qtKey);
}

void HotKeyRecorderModel::refuse(const QString& hint) {
    m_hint = hint;
    emit changed();
}

std::optional<app::HotKeyAction> HotKeyRecorderModel::otherActionWith(const app::HotKeyCombo& combo) const {
    for (app::HotKeyAction other : app::kAllHotKeyActions) {
        if (other != m_action && storedHotKey(m_settings, other) == combo)
            return other;
    }
    return std::nullopt;
}

void HotKeyRecorderModel::releaseAllShortcuts() {
    m_hotKeys.setHeld(true);
}

void HotKeyRecorderModel::restoreAllShortcuts() {
    m_hotKeys.setHeld(false);
    for (app::HotKeyAction action : app::kAllHotKeyActions)
        m_hotKeys.registerHotKey(action, storedHotKey(m_settings, action));
}

}  // namespace settings
