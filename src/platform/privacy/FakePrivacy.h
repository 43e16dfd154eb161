#pragma once

#include "platform/privacy/Privacy.h"

#include <QObject>

namespace platform {

// In-memory consent for tests: a status per entity and the answer the "user" gives when asked.
class FakePrivacy : public QObject, public Privacy {
    Q_OBJECT

public:
    explicit FakePrivacy(AuthorizationStatus initial = AuthorizationStatus::FullAccess, QObject* parent = nullptr);

    void setStatus(EntityType entity, AuthorizationStatus status);
    // What the user answers when asked; a failure message makes the request report an error.
    void setAnswer(EntityType entity, bool allow, std::optional<QString> errorMessage = std::nullopt);
    int promptCount(EntityType entity) const { return m_prompts[index(entity)]; }

    AuthorizationStatus authorizationStatus(EntityType entity) const override;
    void requestAccess(EntityType entity, Completion completion) override;

private:
    static int index(EntityType entity) { return entity == EntityType::Event ? 0 : 1; }

    AuthorizationStatus m_status[2];
    bool m_allow[2] = {true, true};
    std::optional<QString> m_error[2];
    int m_prompts[2] = {0, 0};
};

}  // namespace platform
