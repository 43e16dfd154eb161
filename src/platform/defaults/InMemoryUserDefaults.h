#pragma once

#include "platform/defaults/UserDefaults.h"

#include <QVariantMap>

namespace platform {

// Preferences held in memory, as a typed store keeps them.
class InMemoryUserDefaults final : public UserDefaults {
public:
    QVariant object(const QString& key) const override { return m_values.value(key); }
    void setObject(const QString& key, const QVariant& value) override { m_values.insert(key, value); }
    void removeObject(const QString& key) override { m_values.remove(key); }

    const QVariantMap& values() const { return m_values; }

private:
    QVariantMap m_values;
};

}  // namespace platform
