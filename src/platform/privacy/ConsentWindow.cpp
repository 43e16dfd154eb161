#include "platform/privacy/ConsentWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

ConsentWindow::ConsentWindow(EntityType entity, std::function<void(bool allowed)> answer, QWidget* parent)
    : QDialog(parent), m_answer(std::move(answer)) {
    setWindowTitle(QStringLiteral("Orbitday"));
    // Wide enough that the question reads on one line.
    setMinimumWidth(380);
    auto* question = new QLabel(consentQuestion(entity), this);
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    m_deny = new QPushButton(QStringLiteral("Don't Allow"), this);
    m_allow = new QPushButton(QStringLiteral("Allow"), this);
    m_allow->setDefault(true);
    connect(m_deny, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_allow, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_deny);
    buttons->addWidget(m_allow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(16);
    layout->addWidget(question);
    layout->addLayout(buttons);
}

ConsentWindow::~ConsentWindow() {
    // Destroyed unanswered (the app quits while it is up): that is no permission.
    if (m_answer)
        std::exchange(m_answer, nullptr)(false);
}

void ConsentWindow::done(int result) {
    QDialog::done(result);
    if (m_answer)
        std::exchange(m_answer, nullptr)(result == QDialog::Accepted);
}

void ConsentWindowPrompt::ask(EntityType entity, std::function<void(bool allowed)> answer) {
    auto* window = new ConsentWindow(entity, std::move(answer));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace platform
