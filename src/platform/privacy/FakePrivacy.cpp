#include "platform/privacy/FakePrivacy.h"

#include <QTimer>

namespace platform {

FakePrivacy::FakePrivacy(AuthorizationStatus initial, QObject* parent) : QObject(parent), m_status{initial, initial} {}

void FakePrivacy::setStatus(EntityType entity, AuthorizationStatus status) { m_status[index(entity)] = status; }

void FakePrivacy::setAnswer(EntityType entity, bool allow, std::optional<QString> errorMessage) {
    m_allow[index(entity)] = allow;
    m_error[index(entity)] = std::move(errorMessage);
}

AuthorizationStatus FakePrivacy::authorizationStatus(EntityType entity) const { return m_status[index(entity)]; }

void FakePrivacy::requestAccess(EntityType entity, Completion completion) {
    const int i = index(entity);
    bool granted = m_status[i] == AuthorizationStatus::FullAccess;
    std::optional<QString> error;
    if (m_status[i] == AuthorizationStatus::NotDetermined) {
        ++m_prompts[i];
        granted = m_allow[i] && !m_error[i];
        error = m_error[i];
        m_status[i] = m_allow[i] ? AuthorizationStatus::FullAccess : AuthorizationStatus::Denied;
    }
    QTimer::singleShot(0, this, [completion = std::move(completion), granted, error] { completion(granted, error); });
}

}  // namespace platform
