#include "quickadd/QuickCreateView.h"

#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/DurationList.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/PlainButton.h"
#include "design/widgets/PlainKeycapButton.h"
#include "design/widgets/PopupMenu.h"
#include "design/widgets/SunkenFooter.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/TimeCard.h"
#include "design/widgets/TimeField.h"
#include "quickadd/QuickCreateModel.h"
#include "quickadd/QuickCreatePreview.h"
#include "quickadd/QuickInputField.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace quickadd {

using design::FieldCard;
using design::FontWeight;
using design::Theme;
using Card = QuickCreateModel::Card;

namespace {

constexpr int kTileSide = 22;
constexpr int kHintSpacing = 6;

// The card around the line, its border in the accent: the line always has the focus.
class InputCard final : public design::FieldFrame {
public:
    InputCard(QWidget* field, QWidget* parent)
        : FieldFrame(field, 12, Theme::card(), QMargins(12, 12, 12, 12), true, parent) {}
};

// An example line, offered with a sparkle; a click types it.
class ExampleButton final : public design::PlainButton {
public:
    ExampleButton(const QString& phrase, QWidget* parent) : PlainButton(design::Shape::rounded(4), parent) {
        setText(phrase);
        setAccessibleName(phrase);
        setToolTip(design::plainToolTip(u"Type “"_s + phrase + u"”"_s));
        setFont(design::ODFont::body(12, FontWeight::medium));
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const QFontMetricsF metrics(font());
        const qreal side = design::Symbols::boxSide(10);
        return QSize(static_cast<int>(std::ceil(side + kHintSpacing + metrics.horizontalAdvance(text()))),
                     static_cast<int>(std::ceil(std::max(side, metrics.height()))));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        beginPaint(painter);
        const qreal side = design::Symbols::boxSide(10);
        design::Symbols::paint(painter, QRectF(0, (height() - side) / 2, side, side), u"sparkles"_s,
                               design::toQColor(Theme::text3()), 10, FontWeight::regular);
        painter.setPen(design::toQColor(Theme::text2()));
        painter.drawText(QRectF(side + kHintSpacing, 0, width() - side - kHintSpacing, height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    }
};

}  // namespace

const QStringList& QuickCreateView::examplePhrases() {
    static const QStringList phrases{u"Standup tomorrow 9:30 for 15m"_s, u"Dentist fri 2-3pm at Smile Clinic"_s,
                                     u"Trip 12 nov all day /personal"_s};
    return phrases;
}

QuickCreateView::QuickCreateView(app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_model(new QuickCreateModel(environment.store, environment.appState, environment.settings, this)),
      m_field(new QuickInputField),
      m_conflict(new ConflictRow),
      m_preview(new DayPreview),
      m_error(new design::TextBlock({}, design::ODFont::body(11, FontWeight::medium), Theme::flame())) {
    setObjectName(u"QuickCreateView"_s);
    m_field->setPlaceholder(u"Try: Lunch with Sam tomorrow 1pm 90m /work"_s);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(16, 14, 16, 12);
    content->setSpacing(10);
    content->addWidget(makeHeader());
    content->addWidget(new InputCard(m_field, this));
    content->addWidget(makeCards());
    content->addWidget(m_conflict);
    content->addWidget(m_preview);
    content->addWidget(makeExamples());
    content->addWidget(m_error);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(content);
    layout->addWidget(makeFooter());

    connect(m_field, &QLineEdit::textEdited, m_model, &QuickCreateModel::setText);
    connect(m_field, &design::ODTextField::submitted, m_model, &QuickCreateModel::add);
    connect(m_field, &design::ODTextField::tabPressed, m_model, &QuickCreateModel::moreDetails);
    connect(m_conflict, &ConflictRow::showClicked, this, [this] {
        const std::vector<model::ODEvent> conflicts = m_model->conflicts();
        if (!conflicts.empty())
            m_model->flash(conflicts.front().id);
    });
    connect(m_model, &QuickCreateModel::textChanged, this, &QuickCreateView::showText);
    connect(m_model, &QuickCreateModel::draftChanged, this, &QuickCreateView::showDraft);
    connect(m_model, &QuickCreateModel::dayEventsChanged, this, &QuickCreateView::showDay);
    connect(m_model, &QuickCreateModel::flashIDChanged, this, &QuickCreateView::showDay);
    connect(m_model, &QuickCreateModel::errorTextChanged, this, &QuickCreateView::showError);
    connect(m_model, &QuickCreateModel::openCardChanged, this, &QuickCreateView::showPopover);
    showText();
    showError();
}

QuickCreateView::~QuickCreateView() = default;

QWidget* QuickCreateView::makeHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* tile = new design::SymbolTile({.symbol = u"plus"_s,
                                         .symbolSize = 11,
                                         .weight = FontWeight::bold,
                                         .tint = Theme::flame(),
                                         .fill = Theme::inkTile(),
                                         .side = kTileSide,
                                         .cornerRadius = 6},
                                        header);
    row->addWidget(tile);
    auto* title =
        new design::TextLine(u"New event"_s, design::ODFont::body(13, FontWeight::bold), Theme::text(), header);
    design::setAccessibleRole(title, QAccessible::Heading);
    row->addWidget(title);
    row->addStretch(1);
    m_close = new design::PlainKeycapButton(u"esc"_s, {}, header);
    m_close->setAccessibleName(u"Close"_s);
    m_close->setToolTip(u"Close"_s);
    row->addWidget(m_close);
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_env.appState.setRoute(app::PopoverRoute::main()); });
    return header;
}

QWidget* QuickCreateView::makeCards() {
    m_cards = new QWidget(this);
    const auto makeCard = [this](const QString& label, const QString& icon, design::Tint tint) {
        auto* face = new FieldCard(FieldCard::Look::card, label, icon, tint, m_cards);
        face->setMinimumWidth(0);
        return face;
    };
    m_dateCard = makeCard(u"Date"_s, u"calendar"_s, Theme::sky());
    m_timeCard = makeCard(u"Time"_s, u"clock"_s, Theme::flame());
    m_durationCard = makeCard(u"Duration"_s, u"timer"_s, Theme::green());
    m_calendarCard = makeCard(u"Calendar"_s, u"folder"_s, Theme::amber());
    auto* grid = new QVBoxLayout(m_cards);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(8);
    for (const auto& pair : {std::pair(m_dateCard, m_timeCard), std::pair(m_durationCard, m_calendarCard)}) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        // Each card takes half the row, whatever its value's length.
        row->addWidget(pair.first, 1);
        row->addWidget(pair.second, 1);
        grid->addLayout(row);
    }
    for (const Card which : {Card::date, Card::time, Card::duration})
        connect(card(which), &QAbstractButton::clicked, this, [this, which] { m_model->toggleCard(which); });
    connect(m_calendarCard, &QAbstractButton::clicked, this, &QuickCreateView::openCalendarMenu);
    return m_cards;
}

FieldCard* QuickCreateView::card(Card which) const {
    switch (which) {
        case Card::date:
            return m_dateCard;
        case Card::time:
            return m_timeCard;
        case Card::duration:
            return m_durationCard;
    }
    return nullptr;
}

void QuickCreateView::showCards() {
    const std::optional<Card> open = m_model->openCard();
    for (const Card which : {Card::date, Card::time, Card::duration}) {
        const QuickCreateModel::CardFace face = m_model->face(which);
        FieldCard* shown = card(which);
        shown->setValue(face.value);
        shown->setActive(face.active);
        shown->setFocused(open == which);
    }
    const QuickCreateModel::CardFace calendar = m_model->calendarFace();
    m_calendarCard->setValue(calendar.value);
    m_calendarCard->setValueDot(calendar.dot);
    m_calendarCard->setActive(calendar.active);
}

design::AnchoredPopover* QuickCreateView::openPopover() const {
    return m_popover;
}

std::vector<design::PopupMenuItem> QuickCreateView::calendarMenuItems() {
    std::vector<design::PopupMenuItem> items;
    for (const QuickCreateModel::CalendarChoice& choice : m_model->calendarChoices()) {
        const QString id = choice.id;
        items.push_back({choice.title, choice.color, choice.checked, false, [model = QPointer(m_model), id] {
                             if (model)
                                 model->setCalendarOverride(id);
                         }});
    }
    return items;
}

void QuickCreateView::openCalendarMenu() {
    design::PopupMenu::show(calendarMenuItems());
}

void QuickCreateView::showPopover() {
    showCards();
    const std::optional<Card> open = m_model->openCard();
    if (m_popover && m_popoverCard != open) {
        // Closed by the screen, not dismissed: the model already moved on.
        m_popover->close();
        m_popover->deleteLater();
        m_popover = nullptr;
        m_popoverCard.reset();
    }
    if (!open || m_popover)
        return;
    m_popoverCard = open;
    m_popover = new design::AnchoredPopover(makePopoverContent(*open), this);
    connect(m_popover, &design::AnchoredPopover::dismissed, this,
            [this, which = *open](std::optional<QPoint> outsideClick) { popoverDismissed(which, outsideClick); });
    fillPopover();
    m_popover->showBelow(card(*open));
}

QWidget* QuickCreateView::makePopoverContent(Card which) {
    switch (which) {
        case Card::date: {
            const auto [card, picker] = design::makePaddedMonthPicker();
            // Weeks start on the day the popover's month grid starts them.
            picker->setCalendar(m_env.settings.calendar());
            connect(picker, &design::MonthPicker::datePicked, m_model, &QuickCreateModel::chooseDay);
            return card;
        }
        case Card::time: {
            auto* time = new design::TimeCard(design::TimeCard::Options{});
            connect(time, &design::TimeCard::allDayToggled, m_model, &QuickCreateModel::setAllDay);
            connect(time, &design::TimeCard::timeEdited, m_model, &QuickCreateModel::chooseTime);
            connect(time, &design::TimeCard::quickTimeChosen, m_model, &QuickCreateModel::chooseQuickHour);
            return time;
        }
        case Card::duration: {
            auto* list = new design::DurationList;
            connect(list, &design::DurationList::chosen, m_model, &QuickCreateModel::chooseDuration);
            return list;
        }
    }
    return new QWidget;
}

void QuickCreateView::fillPopover() {
    if (!m_popover || !m_popoverCard)
        return;
    const model::EventDraft& draft = m_model->draft();
    QWidget* content = m_popover->content();
    if (auto* picker = content->findChild<design::MonthPicker*>())
        picker->setDate(draft.start);
    if (auto* time = qobject_cast<design::TimeCard*>(content)) {
        time->setAllDay(draft.isAllDay);
        time->setTime(draft.start);
        time->setQuickTimes(m_model->quickHours());
    }
    if (auto* list = qobject_cast<design::DurationList*>(content))
        list->setSelected(m_model->selectedDurationMinutes());
    m_popover->showBelow(card(*m_popoverCard));
}

void QuickCreateView::popoverDismissed(Card which, std::optional<QPoint> outsideClick) {
    if (m_popover && m_popoverCard == which) {
        m_popover->deleteLater();
        m_popover = nullptr;
        m_popoverCard.reset();
    }
    m_model->cardDismissed(which);
    if (!outsideClick)
        return;
    // The click that closed the pop-over reaches nothing under it: a tap on
    // another card still opens that one. One on the same card only closes it.
    for (const Card other : {Card::date, Card::time, Card::duration}) {
        FieldCard* face = card(other);
        if (other != which && face->isVisible() && face->rect().contains(face->mapFromGlobal(*outsideClick)))
            m_model->toggleCard(other);
    }
    if (m_calendarCard->isVisible() && m_calendarCard->rect().contains(m_calendarCard->mapFromGlobal(*outsideClick)))
        openCalendarMenu();
}

QWidget* QuickCreateView::makeExamples() {
    m_examplesBlock = new QWidget(this);
    auto* column = new QVBoxLayout(m_examplesBlock);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(4);
    for (const QString& phrase : examplePhrases()) {
        auto* example = new ExampleButton(phrase, m_examplesBlock);
        column->addWidget(example, 0, Qt::AlignLeft);
        m_examples.push_back(example);
        connect(example, &QAbstractButton::clicked, this, [this, phrase] {
            m_model->setText(phrase);
            m_field->setFocus(Qt::OtherFocusReason);
        });
    }
    return m_examplesBlock;
}

QWidget* QuickCreateView::makeFooter() {
    auto* footer = new design::SunkenFooter(16, 12, this);
    footer->row()->setSpacing(8);
    m_moreDetails = new design::PlainKeycapButton(u"⇥ tab"_s, u"more details"_s, footer);
    m_moreDetails->setToolTip(u"Open in the full editor (Tab)"_s);
    m_add = new design::KeycapButton(u"Add event"_s, std::nullopt, u"↩"_s, design::ODButtonKind::primary,
                                     design::ODButtonSize::medium, false, footer);
    m_add->setToolTip(u"Add the event (Return)"_s);
    footer->row()->addWidget(m_moreDetails);
    footer->row()->addStretch(1);
    footer->row()->addWidget(m_add);
    connect(m_moreDetails, &QAbstractButton::clicked, m_model, &QuickCreateModel::moreDetails);
    connect(m_add, &QAbstractButton::clicked, m_model, &QuickCreateModel::add);
    return footer;
}

void QuickCreateView::showText() {
    m_field->setTextKeepingEdit(m_model->text());
    showDraft();
}

void QuickCreateView::showDraft() {
    m_field->setHighlights(m_model->text(), m_model->highlights());
    const bool blank = m_model->isBlank();
    m_examplesBlock->setVisible(blank);
    m_add->setEnabled(!blank);
    m_cards->setVisible(!blank);
    showCards();
    fillPopover();
    showDay();
}

void QuickCreateView::showDay() {
    if (m_model->isBlank()) {
        m_conflict->hide();
        m_preview->hide();
        return;
    }
    const std::vector<model::ODEvent> conflicts = m_model->conflicts();
    if (!conflicts.empty())
        m_conflict->setConflict(conflicts.front(), static_cast<int>(conflicts.size()));
    m_conflict->setVisible(!conflicts.empty());
    m_preview->setPreview(m_model->draft().start, m_model->preview(), m_model->flashID());
    m_preview->show();
}

void QuickCreateView::showError() {
    const std::optional<QString>& error = m_model->errorText();
    m_error->setText(error.value_or(QString()));
    m_error->setVisible(error.has_value());
}

QString QuickCreateView::errorLine() const {
    return m_error->isHidden() ? QString() : m_error->text();
}

void QuickCreateView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_model->appear();
}

void QuickCreateView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A pop-over does not outlive the screen on screen.
    m_model->setOpenCard(std::nullopt);
    m_model->disappear();
}

}  // namespace quickadd
