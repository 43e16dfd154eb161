#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// Short sounds of the desktop's sound theme: the meeting alert and its
// preview, and the bell. Main thread only.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Plays the alert sound of that name (one of alertSoundNames()). The same
    // sound still playing from an earlier call is stopped first, so it starts
    // again from its beginning instead of overlapping. A name no sound stands
    // for, or a sound the desktop cannot play, plays nothing: false.
    virtual bool play(const QString& name) = 0;
    // The desktop's bell: there was nothing to do.
    virtual void beep() = 0;
};

// The names of the alert sounds, in the order they are offered; the settings
// store one of them.
const QStringList& alertSoundNames();

// The sound of the freedesktop sound theme that plays for an alert sound name;
// nullopt for a name that is not one of alertSoundNames() (exact, case-sensitive).
std::optional<QString> themeSoundFor(const QString& name);

}  // namespace platform
