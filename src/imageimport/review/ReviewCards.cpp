#include "imageimport/review/ReviewCards.h"

#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/MonthPicker.h"

#include "core/Calendar.h"
#include "core/Clock.h"
#include "state/AppSettings.h"

#include <QAbstractButton>
#include <QHBoxLayout>

namespace imageimport {

namespace {

bool isUnder(QWidget* widget, QPoint global) {
    return widget && widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(global));
}

}  // namespace

ReviewCards::ReviewCards(ImageReviewModel& model, QWidget* screen) : QObject(screen), m_model(model), m_screen(screen) {}

ReviewCards::~ReviewCards() {
    close();
}

void ReviewCards::addChip(Card card, design::FieldCard* chip, Content content) {
    m_chips[card] = Entry{chip, std::move(content)};
    connect(chip, &QAbstractButton::clicked, &m_model, [this, card] { m_model.toggleCard(card); });
}

void ReviewCards::addTapTarget(QAbstractButton* button) {
    m_tapTargets.emplace_back(button);
}

design::FieldCard* ReviewCards::chip(Card card) const {
    const auto found = m_chips.find(card);
    return found == m_chips.end() ? nullptr : found->second.chip;
}

void ReviewCards::show() {
    const std::optional<Card> open = m_model.openCard();
    if (m_popover && m_popoverCard != open)
        close();
    if (!open)
        return;
    const auto entry = m_chips.find(*open);
    // A card whose chip is not on this screen (the other kind's) has nothing to show.
    if (entry == m_chips.end() || !entry->second.chip->isVisible())
        return;
    if (!m_popover) {
        m_popoverCard = open;
        m_popover = new design::AnchoredPopover(entry->second.content.make(), m_screen);
        connect(m_popover, &design::AnchoredPopover::dismissed, this,
                [this, card = *open](std::optional<QPoint> outsideClick) { dismissed(card, outsideClick); });
    }
    if (entry->second.content.fill)
        entry->second.content.fill(m_popover->content());
    m_popover->showBelow(entry->second.chip);
}

void ReviewCards::close() {
    if (!m_popover)
        return;
    m_popover->close();
    m_popover->deleteLater();
    m_popover = nullptr;
    m_popoverCard.reset();
}

void ReviewCards::dismissed(Card card, std::optional<QPoint> outsideClick) {
    if (m_popoverCard == card) {
        m_popover->deleteLater();
        m_popover = nullptr;
        m_popoverCard.reset();
    }
    m_model.cardDismissed(card);
    if (!outsideClick)
        return;
    // The click that closed the pop-over reaches nothing under it: a tap on
    // another chip still opens that one; one on the same chip only closes it.
    for (const auto& [other, entry] : m_chips) {
        if (other != card && isUnder(entry.chip, *outsideClick))
            m_model.toggleCard(other);
    }
    for (const QPointer<QAbstractButton>& target : m_tapTargets) {
        if (isUnder(target, *outsideClick))
            target->click();
    }
}

design::FieldCard* reviewChip(const QString& label, const QString& icon, design::Tint tint, QWidget* parent) {
    auto* chip = new design::FieldCard(design::FieldCard::Look::chip, label, icon, tint, parent);
    chip->setMinimumWidth(0);
    return chip;
}

void showChipFace(design::FieldCard* chip, const ChipFace& face, bool open) {
    chip->setValue(face.value);
    chip->setTag(face.tag ? std::optional(*face.tag == ValueTag::found ? design::FieldCard::Tag::found
                                                                       : design::FieldCard::Tag::defaulted)
                          : std::nullopt);
    chip->setFocused(face.highlight || open);
}

ReviewCards::Content dayCard(QPointer<ImageReviewModel> model) {
    return {[model] {
                const auto [card, picker] = design::makePaddedMonthPicker();
                // Weeks start on the day the popover's month grid starts them.
                picker->setCalendar(model->settings().calendar());
                QObject::connect(picker, &design::MonthPicker::datePicked, model, &ImageReviewModel::chooseDayInCard);
                return card;
            },
            [model](QWidget* content) {
                const core::Date shown =
                    model->day().value_or(core::Calendar().startOfDay(core::Clock::current().now()));
                content->findChild<design::MonthPicker*>()->setDate(shown);
            }};
}

QWidget* chipRow(QWidget* parent, design::FieldCard* left, design::FieldCard* right) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(left, 1);
    layout->addWidget(right, 1);
    return row;
}

}  // namespace imageimport
