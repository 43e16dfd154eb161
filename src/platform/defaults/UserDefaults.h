#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace platform {

// A persistent store of preferences by key. Stores may have no types of their own
// (an INI file hands every value back as text after a restart), so the typed
// readers accept both a value of the type and its text, and answer nullopt for
// a key that is absent or holds something that does not read as the type asked:
// ask contains() to tell the two apart.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // The stored object; an invalid QVariant when the key is absent.
    virtual QVariant object(const QString& key) const = 0;
    virtual void setObject(const QString& key, const QVariant& value) = 0;
    virtual void removeObject(const QString& key) = 0;

    bool contains(const QString& key) const { return object(key).isValid(); }

    std::optional<bool> boolValue(const QString& key) const;
    std::optional<double> doubleValue(const QString& key) const;
    std::optional<long long> integerValue(const QString& key) const;
    std::optional<QString> stringValue(const QString& key) const;
    std::optional<QStringList> stringListValue(const QString& key) const;
    std::optional<QByteArray> dataValue(const QString& key) const;

    void setBool(const QString& key, bool value) { setObject(key, value); }
    void setDouble(const QString& key, double value) { setObject(key, value); }
    void setInteger(const QString& key, long long value) { setObject(key, value); }
    void setString(const QString& key, const QString& value) { setObject(key, value); }
    // Kept as JSON text: a typeless store would lose an empty list.
    void setStringList(const QString& key, const QStringList& value);
    void setData(const QString& key, const QByteArray& value) { setObject(key, value); }
};

}  // namespace platform
