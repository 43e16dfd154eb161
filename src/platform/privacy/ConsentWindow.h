#pragma once

#include "platform/privacy/Privacy.h"

#include <QDialog>

#include <functional>

class QPushButton;

namespace platform {

// The small window that asks whether the app may use the calendars (or reminders). Closing it counts as
// "Don't Allow". The answer is given exactly once.
class ConsentWindow : public QDialog {
    Q_OBJECT

public:
    ConsentWindow(EntityType entity, std::function<void(bool allowed)> answer, QWidget* parent = nullptr);
    ~ConsentWindow() override;

    QPushButton* allowButton() const { return m_allow; }
    QPushButton* denyButton() const { return m_deny; }

protected:
    void done(int result) override;

private:
    std::function<void(bool)> m_answer;
    QPushButton* m_allow = nullptr;
    QPushButton* m_deny = nullptr;
};

// Asks through a ConsentWindow that deletes itself once answered.
class ConsentWindowPrompt : public ConsentPrompt {
public:
    void ask(EntityType entity, std::function<void(bool allowed)> answer) override;
};

}  // namespace platform
