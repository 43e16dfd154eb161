#include "platform/singleinstance/InstanceMessage.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

namespace platform {

namespace {

const QString kRequest = QStringLiteral("request");
const QString kPaths = QStringLiteral("paths");
const QString kReopen = QStringLiteral("reopen");
const QString kOpen = QStringLiteral("open");
const QString kPrivacySettings = QStringLiteral("privacy-settings");

QString requestName(InstanceMessage::Kind kind) {
    switch (kind) {
        case InstanceMessage::Kind::reopen: return kReopen;
        case InstanceMessage::Kind::openFiles: return kOpen;
        case InstanceMessage::Kind::privacySettings: return kPrivacySettings;
    }
    return kReopen;
}

}  // namespace

QByteArray encodeFrame(const InstanceMessage& message) {
    QJsonObject object;
    object.insert(kRequest, requestName(message.kind));
    if (message.kind == InstanceMessage::Kind::openFiles)
        object.insert(kPaths, QJsonArray::fromStringList(message.paths));
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QByteArray frame(kInstanceFrameHeaderBytes, '\0');
    qToBigEndian(static_cast<quint32>(json.size()), frame.data());
    return frame + json;
}

std::optional<InstanceMessage> decodeMessage(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QString request = object.value(kRequest).toString();
    if (request == kReopen)
        return InstanceMessage::reopen();
    if (request == kPrivacySettings)
        return InstanceMessage::privacySettings();
    if (request != kOpen || !object.value(kPaths).isArray())
        return std::nullopt;
    QStringList paths;
    for (const QJsonValue& value : object.value(kPaths).toArray()) {
        if (!value.isString() || !QDir::isAbsolutePath(value.toString()))
            return std::nullopt;
        paths << value.toString();
    }
    if (paths.isEmpty())
        return std::nullopt;
    return InstanceMessage::openFiles(paths);
}

InstanceFrameReader::State InstanceFrameReader::feed(const QByteArray& bytes) {
    if (m_state != State::incomplete)
        return m_state;
    m_buffer += bytes;
    if (m_buffer.size() < kInstanceFrameHeaderBytes)
        return m_state;
    const quint32 length = qFromBigEndian<quint32>(m_buffer.constData());
    if (length > static_cast<quint32>(kMaxInstanceMessageBytes) ||
        m_buffer.size() > kInstanceFrameHeaderBytes + static_cast<qsizetype>(length)) {
        m_state = State::invalid;
        m_buffer.clear();
    } else if (m_buffer.size() == kInstanceFrameHeaderBytes + static_cast<qsizetype>(length)) {
        m_state = State::complete;
    }
    return m_state;
}

std::optional<InstanceMessage> InstanceFrameReader::message() const {
    if (m_state != State::complete)
        return std::nullopt;
    return decodeMessage(m_buffer.mid(kInstanceFrameHeaderBytes));
}

}  // namespace platform
