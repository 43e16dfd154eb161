#include "imageimport/flow/ImportMessageCard.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/TextBlock.h"

#include <QApplication>
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

    qApp->installEventFilter(this);
    connect(m_secondary, &QAbstractButton::clicked, this, [this] {
        if (m_content.secondary.action)
            m_content.secondary.action();
    });
    connect(m_primary, &QAbstractButton::clicked, this, [this] {
        if (m_content.primary.action)
            m_content.primary.action();
    });
}

bool ImportMessageCard::eventFilter(QObject* watched, QEvent* event) {
    // Seen before the focused widget: a focused "Cancel" would click itself on Return.
    if (event->type() != QEvent::KeyPress || !isVisible())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window() || !widget->isActiveWindow())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!isReturn || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (!key->isAutoRepeat())
        m_primary->click();
    return true;
}

void ImportMessageCard::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Handed out by the screen, not moved there by a key: no ring until the keyboard is used.
    if (!isAncestorOf(QApplication::focusWidget()))
        m_primary->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace imageimport
