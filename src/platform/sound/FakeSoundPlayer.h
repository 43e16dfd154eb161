#pragma once

#include "platform/sound/SoundPlayer.h"

#include <QStringList>

namespace platform {

// Records each sound played and each bell; knows the alert sounds unless a
// test makes it refuse them all, as a desktop without sound does.
class FakeSoundPlayer : public SoundPlayer {
public:
    bool play(const QString& name) override {
        requested << name;
        if (refusesAll || !themeSoundFor(name))
            return false;
        played << name;
        return true;
    }
    void beep() override { ++beeps; }

    // Every name asked for, played or not.
    QStringList requested;
    QStringList played;
    int beeps = 0;
    bool refusesAll = false;
};

}  // namespace platform
