#include "FieldEntries.h"

#include "GalleryParts.h"

#include "core/Calendar.h"
#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/DurationList.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODTextField.h"
#include "design/widgets/PlainKeycapButton.h"
#include "design/widgets/PlainTextButton.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/SunkenFooter.h"
#include "design/widgets/TimeCard.h"
#include "design/widgets/TimeField.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace gallery::fields {

namespace {

using namespace design;

// A control over its caption.
QWidget* captioned(const QString& text, QWidget* control) {
    auto* cell = new QWidget;
    QVBoxLayout* layout = column(cell, 4);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control);
    layout->addWidget(caption(text));
    return cell;
}

QWidget* row(const QList<QWidget*>& cells, int spacing = 16) {
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* cell : cells)
        layout->addWidget(cell, 0, Qt::AlignTop);
    layout->addStretch(1);
    return line;
}

// A fixed day in a month long past, so that no day of the page is today.
core::Date day(int d, int hour = 0, int minute = 0) {
    return *core::Calendar().date({.year = 2026, .month = 3, .day = d, .hour = hour, .minute = minute});
}

// The quick hours of that day.
std::vector<core::Date> quickTimes() {
    std::vector<core::Date> times;
    for (const int hour : {9, 12, 13, 15, 18})
        times.push_back(day(13, hour));
    return times;
}

FieldCard* card(FieldCard::Look look, const QString& label, const QString& icon, Tint tint, const QString& value,
                bool active, bool focused) {
    auto* face = new FieldCard(look, label, icon, tint);
    face->setValue(value);
    face->setActive(active);
    face->setFocused(focused);
    face->setFixedWidth(162);
    return face;
}

// A pop-over as it draws while open: a window of its own cannot be shown inside
// this one, so its picture is.
class PopoverPicture : public QWidget {
public:
    explicit PopoverPicture(QWidget* content) : m_popover(new AnchoredPopover(content, this)) {
        m_popover->resize(m_popover->sizeHint());
        setFixedSize(m_popover->size());
        followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(devicePixelRatio());
        image.fill(Qt::transparent);
        // Cut by its mask, it is drawn from the corner of the mask's bounds.
        m_popover->render(&image, m_popover->mask().boundingRect().topLeft());
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    }

private:
    AnchoredPopover* m_popover;
};

ODTextField* lineField(const QString& text, const QString& placeholder, Qt::TextElideMode elision) {
    auto* field = new ODTextField(ODFont::nsBody(15, FontWeight::semibold), ODFont::nsBody(15, FontWeight::medium));
    field->setPlaceholder(placeholder);
    field->setText(text);
    field->setUnfocusedElision(elision);
    field->setCursorPosition(0);
    // A blinking caret would make every picture of the page another: the
    // fields take the focus only when clicked.
    field->setFocusWhenShown(false);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setFixedWidth(260);
    return field;
}

}  // namespace

QWidget* lineFields() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    const QString placeholder = u"Try: Lunch with Sam tomorrow 1pm 90m /work"_s;
    rows->addWidget(captioned(u"empty: the placeholder"_s, lineField({}, placeholder, Qt::ElideLeft)));
    rows->addWidget(captioned(u"typed"_s, lineField(u"Standup tomorrow 9:30"_s, placeholder, Qt::ElideLeft)));
    rows->addWidget(captioned(u"too long, not edited: its end shows"_s,
                              lineField(u"Quarterly planning with the whole design team tomorrow 9:30 for 2h"_s,
                                        placeholder, Qt::ElideLeft)));
    rows->addWidget(captioned(
        u"too long, not edited: its beginning shows"_s,
        lineField(u"Quarterly planning with the whole design team tomorrow"_s, u"Event title"_s, Qt::ElideRight)));
    return page;
}

QWidget* plainButtons() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    auto* keys = new QWidget;
    auto* keyRow = new QHBoxLayout(keys);
    keyRow->setContentsMargins(0, 0, 0, 0);
    keyRow->setSpacing(20);
    auto* close = new PlainKeycapButton(u"esc"_s);
    close->setAccessibleName(u"Close"_s);
    keyRow->addWidget(captioned(u"keycap alone"_s, close));
    keyRow->addWidget(captioned(u"keycap and words"_s, new PlainKeycapButton(u"⇥ tab"_s, u"more details"_s)));
    keyRow->addWidget(captioned(u"words alone"_s,
                                new PlainTextButton(u"Skip"_s, ODFont::body(12, FontWeight::bold), Theme::text2())));
    keyRow->addStretch(1);
    rows->addWidget(keys);

    auto* footer = new SunkenFooter(16, 12);
    footer->row()->addWidget(new PlainKeycapButton(u"⇥ tab"_s, u"more details"_s, footer));
    footer->row()->addStretch(1);
    footer->row()->addWidget(
        new PlainTextButton(u"Skip"_s, ODFont::body(12, FontWeight::bold), Theme::text2(), footer));
    footer->setFixedWidth(320);
    rows->addWidget(captioned(u"sunken footer"_s, footer));
    return page;
}

QWidget* fieldCards() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    using Look = FieldCard::Look;
    rows->addWidget(row({captioned(u"card, from the line"_s, card(Look::card, u"Date"_s, u"calendar"_s, Theme::sky(),
                                                                  u"Wed, Mar 11"_s, true, false)),
                         captioned(u"card, a default"_s, card(Look::card, u"Time"_s, u"clock"_s, Theme::flame(),
                                                              u"3:00 PM"_s, false, false))}));
    auto* calendar = card(Look::card, u"Calendar"_s, u"folder"_s, Theme::amber(), u"Work"_s, true, false);
    calendar->setValueDot(core::Color::rgb(45, 127, 249));
    rows->addWidget(row({captioned(u"card, pop-over open"_s, card(Look::card, u"Duration"_s, u"timer"_s, Theme::green(),
                                                                  u"1h 30m"_s, true, true)),
                         captioned(u"card with a calendar's dot"_s, calendar)}));
    auto* found = card(Look::chip, u"DATE"_s, u"calendar"_s, Theme::sky(), u"Fri, Mar 13"_s, true, false);
    found->setTag(FieldCard::Tag::found);
    auto* defaulted = card(Look::chip, u"DURATION"_s, u"timer"_s, Theme::green(), u"1h"_s, true, false);
    defaulted->setTag(FieldCard::Tag::defaulted);
    rows->addWidget(row({captioned(u"chip, found in the image"_s, found), captioned(u"chip, a default"_s, defaulted)}));
    rows->addWidget(row({captioned(u"chip wanting a day"_s, card(Look::chip, u"DATE"_s, u"calendar"_s, Theme::sky(),
                                                                 u"Pick a day"_s, true, true))}));
    return page;
}

QWidget* monthPicker() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    auto* picked = new MonthPicker;
    picked->setDate(day(13, 14, 30));
    auto* bounded = new MonthPicker;
    bounded->setDate(day(17));
    bounded->setMinimumDate(day(11, 9));
    rows->addWidget(row({captioned(u"a day picked"_s, picked), captioned(u"none before the 11th"_s, bounded)}, 24));
    return page;
}

QWidget* timePickers() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    auto* field = new TimeField;
    field->setDate(day(13, 14, 5));
    auto* morning = new TimeField;
    morning->setDate(day(13, 9, 30));
    // Focus from a click only: the page would otherwise open with one selected.
    for (TimeField* shown : {field, morning})
        shown->setFocusPolicy(Qt::ClickFocus);
    rows->addWidget(row({captioned(u"hour and minute"_s, field), captioned(u"morning"_s, morning)}));
    const std::vector<core::Date> quick = quickTimes();
    auto* timed = new TimeCard(TimeCard::Options{});
    timed->setTime(day(13, 14, 5));
    timed->setQuickTimes(quick);
    auto* allDay = new TimeCard(TimeCard::Options{});
    allDay->setQuickTimes(quick);
    allDay->setAllDay(true);
    timed->field()->setFocusPolicy(Qt::ClickFocus);
    rows->addWidget(row({captioned(u"time card"_s, timed), captioned(u"time card, all day"_s, allDay)}));
    return page;
}

QWidget* durationsAndQuickChoices() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    auto* list = new DurationList;
    list->setSelected(90);
    auto* choices = new QWidget;
    QVBoxLayout* stack = column(choices, 12);
    stack->setContentsMargins(0, 0, 0, 0);
    auto* hours = new QuickChoiceRow;
    hours->setChoices(QuickChoiceRow::timeTitles(quickTimes(), core::TimeZone::current()));
    auto* lengths = new QuickChoiceRow;
    lengths->setChoices({u"15m"_s, u"30m"_s, u"45m"_s, u"1h"_s, u"1h 30m"_s}, 2);
    stack->addWidget(captioned(u"quick times"_s, hours));
    stack->addWidget(captioned(u"quick lengths, 45m now"_s, lengths));
    stack->addStretch(1);
    rows->addWidget(row({captioned(u"durations, 1h 30m chosen"_s, list), choices}, 24));
    return page;
}

QWidget* anchoredPopover() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 12);
    auto* list = new DurationList;
    list->setSelected(45);
    auto* picker = new MonthPicker;
    picker->setDate(day(20));
    auto* padded = new QWidget;
    auto* padding = new QVBoxLayout(padded);
    padding->setContentsMargins(12, 12, 12, 12);
    padding->addWidget(picker);
    rows->addWidget(
        row({captioned(u"durations"_s, new PopoverPicture(list)), captioned(u"a month"_s, new PopoverPicture(padded))},
            24));
    return page;
}

}  // namespace gallery::fields
