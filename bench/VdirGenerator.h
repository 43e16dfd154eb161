#pragma once

#include "core/Date.h"

#include <QString>

namespace bench {

struct VdirShape {
    int files = 5000;
    double withTimeZone = 0.30;  // an embedded VTIMEZONE and a TZID
    double weekly = 0.10;        // a weekly rule
    double allDay = 0.05;
    quint32 randomSeed = 42;
};

// Writes a vdir of `shape.files` one-event files under `root`, spread over a year either side of `around`, in
// five collections (two of them in an account folder). Returns the number of files written.
int generateVdir(const QString& root, core::Date around, const VdirShape& shape = {});

}  // namespace bench
