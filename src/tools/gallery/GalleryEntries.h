#pragma once

#include "design/values/Theme.h"

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace gallery {

// One control of the kit, shown in its states. To add a control to the gallery
// (and to the test that renders every entry), add an Entry to entries().
struct Entry {
    // Also the stem of its PNG files.
    QString name;
    std::function<QWidget*()> build;
};

const std::vector<Entry>& entries();

// The appearances every entry is shown in, with their names in file names.
struct NamedAppearance {
    QString name;
    design::Appearance appearance;
};
const std::vector<NamedAppearance>& appearances();

}  // namespace gallery
