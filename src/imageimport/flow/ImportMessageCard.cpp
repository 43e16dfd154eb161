#include "imageimport/flow/ImportMessageCard.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/TextBlock.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace imageimport {

ImportMessageCard::ImportMessageCard(Content content, QWidget* parent)
    : QWidget(parent),
      m_content(std::move(content)),
      m_secondary(new design::ODButton(m_content.secondary.title, std::nullopt, design::ODButtonKind::ghost,
                                       design::ODButtonSize::medium)),
      m_primary(new design::ODButton(m_content.primary.title, std::nullopt, m_content.primaryKind,
                                     design::ODButtonSize::medium)) {
    setObjectName(QStringLiteral("ImportMessageCard"));
    design::setAccessibleRole(this, QAccessible::Grouping);
    setAccessibleName(m_content.title);

    auto* title = new design::TextBlock(m_content.title, design::ODFont::display(20), design::Theme::text(), this);
    title->setAlignment(Qt::AlignHCenter);
    design::setAccessibleRole(title, QAccessible::Heading);
    auto* message = new design::TextBlock(m_content.message, design::ODFont::body(12.5, design::FontWeight::medium),
                                          design::Theme::text2(), this);
    message->setAlignment(Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(m_secondary);
    buttons->addWidget(m_primary);
    buttons->addStretch(1);
    m_secondary->setParent(this);
    m_primary->setParent(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 8, 20, 22);
    layout->setSpacing(0);
    layout->addWidget(new design::SymbolTile({.symbol = m_content.icon,
                                              .symbolSize = 20,
                                              .weight = design::FontWeight::medium,
                                              .tint = m_content.tint,
                                              .fill = m_content.tile,
                                              .side = 52,
                                              .cornerRadius = 14},
                                             this),
                      0, Qt::AlignHCenter);
    layout->addSpacing(14);
    layout->addWidget(title);
    layout->addSpacing(6);
    auto* messageRow = new QHBoxLayout;
    messageRow->setContentsMargins(8, 0, 8, 0);
    messageRow->addWidget(message);
    layout->addLayout(messageRow);
    layout->addSpacing(18);
    layout->addLayout(buttons);

    connect(m_secondary, &QAbstractButton::clicked, this, [this] {
        if (m_content.secondary.action)
            m_content.secondary.action();
    });
    connect(m_primary, &QAbstractButton::clicked, this, [this] {
        if (m_content.primary.action)
            m_content.primary.action();
    });
}

void ImportMessageCard::keyPressEvent(QKeyEvent* event) {
    // The primary button is the card's default: Return presses it wherever the focus is.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        event->accept();
        m_primary->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace imageimport
