#include "core/Log.h"

#include <QByteArray>

#include <cstdio>

namespace core {

void log(const QString& message) {
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes = QByteArrayLiteral("[Orbitday] ") + line.toUtf8() + '\n';
    // One write so lines from several threads never interleave.
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

}  // namespace core
