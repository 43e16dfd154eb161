#include "core/Locale.h"

#include <QHash>
#include <QMutex>

#include <unicode/locid.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace core {
namespace {

QMutex& mutex() {
    static QMutex m;
    return m;
}

std::optional<QString>& resolved() {
    static std::optional<QString> name;
    return name;
}

// ICU locales are built once per name and kept; Locale values only hold the name.
const icu::Locale& icuLocale(const QString& name) {
    static QHash<QString, std::shared_ptr<icu::Locale>> cache;
    QMutexLocker lock(&mutex());
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, std::make_shared<icu::Locale>(icu::Locale::createCanonical(name.toUtf8().constData())));
    return **it;
}

QString fromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return Locale::fromPosix(QString::fromLocal8Bit(value));
    }
    return Locale::fromPosix(QStringLiteral("C"));
}

}  // namespace

QString Locale::fromPosix(const QString& value) {
    QString name = value;
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    if (at >= 0)
        name.truncate(at);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return QStringLiteral("en_US_POSIX");
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    return name;
}

Locale Locale::current() {
    {
        QMutexLocker lock(&mutex());
        if (resolved())
            return Locale(*resolved());
    }
    const QString name = fromEnvironment();
    QMutexLocker lock(&mutex());
    if (!resolved())
        resolved() = name;
    return Locale(*resolved());
}

void Locale::resetCurrent() {
    QMutexLocker lock(&mutex());
    resolved().reset();
}

void Locale::setCurrentForTesting(const QString& name) {
    QMutexLocker lock(&mutex());
    resolved() = fromPosix(name);
}

Locale::Locale(const QString& name) : m_name(name) {}

const icu::Locale& Locale::icu() const { return icuLocale(m_name); }

}  // namespace core
