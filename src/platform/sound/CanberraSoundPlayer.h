#pragma once

#include "platform/sound/SoundPlayer.h"

struct ca_context;

namespace platform {

// The alert sounds from the freedesktop sound theme through libcanberra, which
// plays them asynchronously on whatever output the desktop uses. A desktop
// without sound, or without the theme, refuses them: they stay silent.
class CanberraSoundPlayer final : public SoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    bool play(const QString& name) override;
    void beep() override;

private:
    // Made on the first sound: most runs never play one.
    ca_context* context();
    bool playThemeSound(const QString& themeName, unsigned id, const char* description);

    ca_context* m_context = nullptr;
    bool m_failed = false;
};

}  // namespace platform
