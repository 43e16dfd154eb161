#pragma once

#include <QString>

namespace core {

// One diagnostic line on stderr, prefixed "[Orbitday] ". No levels, no file.
void log(const QString& message);

}  // namespace core
