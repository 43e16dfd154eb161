#include "platform/sound/CanberraSoundPlayer.h"

#include "core/Log.h"

#include <canberra.h>

namespace platform {

using namespace Qt::Literals::StringLiterals;

namespace {

// Each alert sound plays under an id of its own, so that playing it again
// stops only that sound; the bell has the one after them.
unsigned soundID(const QString& name) {
    return static_cast<unsigned>(alertSoundNames().indexOf(name)) + 1;
}

unsigned bellID() {
    return static_cast<unsigned>(alertSoundNames().size()) + 1;
}

}  // namespace

CanberraSoundPlayer::CanberraSoundPlayer() = default;

CanberraSoundPlayer::~CanberraSoundPlayer() {
    if (m_context != nullptr)
        ca_context_destroy(m_context);
}

ca_context* CanberraSoundPlayer::context() {
    if (m_context != nullptr || m_failed)
        return m_context;
    int result = ca_context_create(&m_context);
    if (result == CA_SUCCESS) {
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Orbitday", CA_PROP_APPLICATION_ID,
                                "orbitday", nullptr);
        result = ca_context_open(m_context);
    }
    if (result != CA_SUCCESS) {
        // Said once: a desktop without sound would say it at every alert.
        core::log(u"sounds unavailable: "_s + QString::fromUtf8(ca_strerror(result)));
        if (m_context != nullptr)
            ca_context_destroy(m_context);
        m_context = nullptr;
        m_failed = true;
    }
    return m_context;
}

bool CanberraSoundPlayer::playThemeSound(const QString& themeName, unsigned id, const char* description) {
    ca_context* sounds = context();
    if (sounds == nullptr)
        return false;
    ca_context_cancel(sounds, id);
    const QByteArray event = themeName.toUtf8();
    return ca_context_play(sounds, id, CA_PROP_EVENT_ID, event.constData(), CA_PROP_EVENT_DESCRIPTION, description,
                           nullptr) == CA_SUCCESS;
}

bool CanberraSoundPlayer::play(const QString& name) {
    const std::optional<QString> themeName = themeSoundFor(name);
    if (!themeName)
        return false;
    return playThemeSound(*themeName, soundID(name), "Meeting alert");
}

void CanberraSoundPlayer::beep() {
    playThemeSound(u"bell-window-system"_s, bellID(), "Bell");
}

}  // namespace platform
