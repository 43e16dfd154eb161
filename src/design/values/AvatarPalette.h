#pragma once

#include "core/Color.h"

#include <QStringView>

namespace design {

// The colour of a person's avatar, picked from the calendar palette by their
// name, so the same name gets the same colour on every machine and in every run.
class AvatarPalette {
public:
    AvatarPalette() = delete;

    static core::Color color(QStringView name);
    // The palette position the name falls on.
    static int index(QStringView name);
};

}  // namespace design
