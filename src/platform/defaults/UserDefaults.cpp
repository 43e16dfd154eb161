#include "platform/defaults/UserDefaults.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace platform {
namespace {

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

std::optional<double> numberFromText(const QString& text) {
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

}  // namespace

std::optional<bool> UserDefaults::boolValue(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumber(value)) {
        const double number = value.toDouble();
        if (number == 0 || number == 1)
            return number == 1;
        return std::nullopt;
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text == u"true" || text == u"1")
            return true;
        if (text == u"false" || text == u"0")
            return false;
    }
    return std::nullopt;
}

std::optional<double> UserDefaults::doubleValue(const QString& key) const {
    const QVariant value = object(key);
    if (isNumber(value)) {
        const double number = value.toDouble();
        return std::isfinite(number) ? std::optional(number) : std::nullopt;
    }
    if (value.typeId() == QMetaType::QString)
        return numberFromText(value.toString());
    return std::nullopt;
}

std::optional<long long> UserDefaults::integerValue(const QString& key) const {
    const QVariant value = object(key);
    std::optional<double> number;
    if (isNumber(value))
        number = value.toDouble();
    else if (value.typeId() == QMetaType::QString)
        number = numberFromText(value.toString());
    // Only whole numbers in range read as integers; 2.5 is not a weekday.
    if (!number || std::floor(*number) != *number || std::fabs(*number) > 9.0e15)
        return std::nullopt;
    return static_cast<long long>(*number);
}

std::optional<QString> UserDefaults::stringValue(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return std::nullopt;
}

std::optional<QStringList> UserDefaults::stringListValue(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(value.toString().toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue& item : document.array()) {
        if (!item.isString())
            return std::nullopt;
        list << item.toString();
    }
    return list;
}

std::optional<QByteArray> UserDefaults::dataValue(const QString& key) const {
    const QVariant value = object(key);
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return std::nullopt;
}

void UserDefaults::setStringList(const QString& key, const QStringList& value) {
    const QJsonDocument document(QJsonArray::fromStringList(value));
    setObject(key, QString::fromUtf8(document.toJson(QJsonDocument::Compact)));
}

}  // namespace platform
