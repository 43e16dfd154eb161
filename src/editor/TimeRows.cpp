#include "editor/TimeRows.h"

#include "design/values/Theme.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "editor/EditorPopover.h"
#include "editor/EditorRows.h"
#include "editor/EditorSpan.h"
#include "editor/EditorTexts.h"
#include "editor/EventEditorModel.h"
#include "editor/TimePopovers.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace editor {

using design::FieldBox;
using design::FontWeight;
using design::ODFont;
using design::Symbols;
using design::Theme;

namespace {

QFont valueFont(qreal size = TimeButton::kValueSize) {
    return ODFont::body(size, FontWeight::semibold);
}

QFont labelFont() {
    return ODFont::body(TimeButton::kLabelSize, FontWeight::medium);
}

QFont chipFont() {
    return ODFont::body(TimeZoneChip::kTextSize, FontWeight::semibold);
}

constexpr QMarginsF kChipPadding{6, 2, 6, 2};
// The rows of the form stand 8 apart; the switch 8 from its button.
constexpr int kRowSpacing = 8;
constexpr int kToggleSpacing = 8;
// Between the zone's chip and the all-day switch's line under it.
constexpr int kChipClearance = 4;

int ceil(qreal value) {
    return static_cast<int>(std::ceil(value));
}

}  // namespace

// --- The buttons --------------------------------------------------------------------------------

TimeButton::TimeButton(const QString& label, QWidget* parent) : QAbstractButton(parent), m_label(label) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::ButtonDropDown);
    setAccessibleName(label.isEmpty() ? u"Time"_s : label);
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::rounded(FieldBox::kCornerRadius));
}

void TimeButton::setValue(const QString& value, const QString& length) {
    if (value == text() && length == m_length)
        return;
    setText(value);
    m_length = length;
    design::setAccessibleValue(this, length.isEmpty() ? value : value + u", "_s + length);
    updateGeometry();
    update();
}

void TimeButton::setMinimumScale(qreal scale) {
    m_minimumScale = std::clamp(scale, 0.1, 1.0);
    update();
}

void TimeButton::setShowsFocused(bool focused) {
    if (m_focused == focused)
        return;
    m_focused = focused;
    update();
}

qreal TimeButton::widthAround(qreal valueWidth) const {
    const QMarginsF pad(FieldBox::kPadding);
    qreal width = pad.left() + valueWidth + kSpacing + Symbols::boxSide(kChevronSize) + pad.right();
    if (!m_label.isEmpty())
        width += kLabelWidth + kSpacing;
    if (!m_length.isEmpty())
        width += kSpacing + QFontMetricsF(labelFont()).horizontalAdvance(m_length);
    return width;
}

QSize TimeButton::sizeHint() const {
    const QMarginsF pad(FieldBox::kPadding);
    const qreal content = std::max(QFontMetricsF(valueFont()).height(), Symbols::boxSide(kChevronSize));
    return QSize(ceil(widthAround(QFontMetricsF(valueFont()).horizontalAdvance(text()))),
                 ceil(content + pad.top() + pad.bottom()));
}

QSize TimeButton::minimumSizeHint() const {
    // The value shrinks and is cut; the label, the length and the chevron stay.
    return QSize(ceil(widthAround(2)), sizeHint().height());
}

int TimeButton::wholeValueWidth() const {
    return ceil(widthAround(QFontMetricsF(valueFont(kValueSize * m_minimumScale)).horizontalAdvance(text())));
}

bool TimeButton::showsWholeValue() const {
    return QFontMetricsF(valueFont(valueFontSize())).horizontalAdvance(text()) <= valueRect().width();
}

QRectF TimeButton::valueRect() const {
    QRectF content = QRectF(rect()).marginsRemoved(QMarginsF(FieldBox::kPadding));
    if (!m_label.isEmpty())
        content.setLeft(content.left() + kLabelWidth + kSpacing);
    qreal right = kSpacing + Symbols::boxSide(kChevronSize);
    if (!m_length.isEmpty())
        right += kSpacing + QFontMetricsF(labelFont()).horizontalAdvance(m_length);
    content.setRight(std::max(content.left(), content.right() - right));
    return content;
}

qreal TimeButton::valueFontSize() const {
    const qreal room = valueRect().width();
    const qreal full = QFontMetricsF(valueFont()).horizontalAdvance(text());
    if (full <= room || full <= 0)
        return kValueSize;
    // Widths grow about in step with the size; the next half point down is tried
    // until the text fits or the least scale is reached.
    qreal size = std::max(kValueSize * m_minimumScale, std::floor(kValueSize * room / full * 2) / 2);
    while (size > kValueSize * m_minimumScale && QFontMetricsF(valueFont(size)).horizontalAdvance(text()) > room)
        size = std::max(kValueSize * m_minimumScale, size - 0.5);
    return size;
}

void TimeButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : design::ODButtonStyle::kDisabledOpacity);
    FieldBox::paint(painter, QRectF(rect()), design::toQColor(Theme::card()), m_focused);
    const QRectF content = QRectF(rect()).marginsRemoved(QMarginsF(FieldBox::kPadding));
    const int align = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    if (!m_label.isEmpty()) {
        painter.setFont(labelFont());
        painter.setPen(design::toQColor(Theme::text3()));
        painter.drawText(QRectF(content.left(), content.top(), kLabelWidth, content.height()), align, m_label);
    }
    const QRectF value = valueRect();
    const QFont font = valueFont(valueFontSize());
    painter.setFont(font);
    painter.setPen(design::toQColor(Theme::text()));
    painter.drawText(value, align, QFontMetricsF(font).elidedText(text(), Qt::ElideRight, value.width()));
    if (!m_length.isEmpty()) {
        painter.setFont(labelFont());
        painter.setPen(design::toQColor(Theme::text3()));
        const qreal width = QFontMetricsF(labelFont()).horizontalAdvance(m_length);
        painter.drawText(QRectF(value.right() + kSpacing, content.top(), width + 1, content.height()), align,
                         m_length);
    }
    const qreal side = Symbols::boxSide(kChevronSize);
    Symbols::paint(painter, QRectF(content.right() - side, content.center().y() - side / 2, side, side),
                   u"chevron.down"_s, design::toQColor(Theme::text3()), kChevronSize, FontWeight::bold);
}

void TimeButton::keyPressEvent(QKeyEvent* event) {
    if (design::clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

// --- The zone's chip ----------------------------------------------------------------------------

TimeZoneChip::TimeZoneChip(QWidget* parent) : QWidget(parent) {
    design::makeOverlay(this);
    hide();
}

void TimeZoneChip::setText(const QString& text) {
    m_text = text;
    setVisible(shows());
    resize(sizeHint());
    place();
    update();
}

void TimeZoneChip::follow(QWidget* button) {
    if (m_button)
        for (QWidget* w = m_button; w && w != parentWidget(); w = w->parentWidget())
            w->removeEventFilter(this);
    m_button = button;
    // The chip is not the button's child, so that it may hang below it: every
    // move between the two moves the button on the chip's parent.
    for (QWidget* w = button; w && w != parentWidget(); w = w->parentWidget())
        w->installEventFilter(this);
    setText(m_text);
}

bool TimeZoneChip::shows() const {
    // Never a window of its own, before the rows have a parent to lay it in.
    return !m_text.isEmpty() && m_button && !m_button->isHidden() && parentWidget();
}

QSize TimeZoneChip::sizeHint() const {
    const QFontMetricsF metrics(chipFont());
    return QSize(ceil(kChipPadding.left() + metrics.horizontalAdvance(m_text) + kChipPadding.right()),
                 ceil(kChipPadding.top() + metrics.height() + kChipPadding.bottom()));
}

void TimeZoneChip::place() {
    if (!m_button || !parentWidget())
        return;
    const QPoint corner = m_button->mapTo(parentWidget(), QPoint(0, m_button->height()));
    move(corner.x() + kOffset.x(), corner.y() + kOffset.y() - height());
    raise();
}

bool TimeZoneChip::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            setVisible(shows());
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void TimeZoneChip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(rect());
    const design::Shape capsule = design::Shape::capsule();
    capsule.fill(painter, frame, design::toQColor(Theme::card()));
    capsule.strokeBorder(painter, frame, design::toQColor(Theme::line()), 1);
    painter.setFont(chipFont());
    painter.setPen(design::toQColor(Theme::text2()));
    painter.drawText(frame.marginsRemoved(kChipPadding), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

// --- The rows -----------------------------------------------------------------------------------

TimeRows::TimeRows(EventEditorModel& model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_chip(new TimeZoneChip(parent)),
      m_dayPopover(new EditorPopover(
          this, [this] { return new SameDayPopover(m_model); }, [this] { m_model.setShowTime(false); })),
      m_startPopover(new EditorPopover(
          this, [this] { return new EndpointPopover(m_model, true); }, [this] { m_model.setShowStart(false); })),
      m_endPopover(new EditorPopover(
          this, [this] { return new EndpointPopover(m_model, false); }, [this] { m_model.setShowEnd(false); })) {
    setObjectName(u"TimeRows"_s);
    build(model.isMultiDay());
    connect(&model, &EventEditorModel::draftChanged, this, &TimeRows::refresh);
    for (auto changed : {&EventEditorModel::showTimeChanged, &EventEditorModel::showStartChanged,
                         &EventEditorModel::showEndChanged})
        connect(&model, changed, this, &TimeRows::syncPopovers);
}

TimeRows::~TimeRows() {
    delete m_chip.data();
}

bool TimeRows::event(QEvent* event) {
    // The chip hangs below the day button, out of these rows: it lives in their parent.
    if (event->type() == QEvent::ParentChange && m_chip) {
        m_chip->setParent(parentWidget());
        m_chip->follow(m_sameDay);
    }
    return QWidget::event(event);
}

void TimeRows::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeToggle();
    placeRows();
}

void TimeRows::placeRows() {
    // The room below the chip is the rows' own, not their last row's.
    m_rows->setGeometry(0, 0, width(), height() - (m_toggleBeside ? chipClearance() : 0));
}

QSize TimeRows::sizeHint() const {
    const int width = m_rows->sizeHint().width();
    return QSize(width, heightForWidth(width));
}

QSize TimeRows::minimumSizeHint() const {
    // Not of the width these rows have now: a pass that tries a narrow width
    // would leave its height as the least the form may give them.
    return QSize(m_rows->minimumSizeHint().width(), heightForWidth(QWIDGETSIZE_MAX));
}

bool TimeRows::fitsBeside(int width) const {
    const TimeButton* first = m_sameDay ? m_sameDay : m_start;
    if (!first || !m_toggle)
        return true;
    // Decided by the width alone, so that moving the switch never moves it back.
    const int room = width - formRowContentLeft() - kToggleSpacing - m_toggle->sizeHint().width();
    return first->wholeValueWidth() <= room;
}

int TimeRows::lineBelowHeight() const {
    return kRowSpacing + chipClearance() + m_toggle->sizeHint().height();
}

int TimeRows::chipClearance() const {
    // The chip hangs 9 below the day button, over whatever follows it: the
    // switch's own line, or the form's next row.
    const bool chipAbove = m_sameDay && m_chip && !m_chip->text().isEmpty();
    return chipAbove ? std::max(0, TimeZoneChip::kOffset.y() + kChipClearance - kRowSpacing) : 0;
}

// The form asks before it lays these rows out, at widths of passes that are not
// the last: the answer comes from the width asked, not from where the switch
// stands now, so that an earlier pass leaves no height behind.
int TimeRows::heightForWidth(int width) const {
    if (!m_toggle)
        return m_rows->sizeHint().height();
    QLayout* stack = m_rows->layout();
    int rows = 0;
    int height = 0;
    for (int i = 0; i < stack->count(); ++i) {
        const QWidget* row = stack->itemAt(i)->widget();
        if (row == nullptr || row == m_toggleLine)
            continue;
        height += row->sizeHint().height();
        ++rows;
    }
    height += std::max(0, rows - 1) * kRowSpacing;
    // Beside, the chip hangs over the form's next row unless the rows make room.
    return fitsBeside(width) ? height + chipClearance() : height + lineBelowHeight();
}

void TimeRows::placeToggle() {
    if (!m_toggle)
        return;
    m_toggleLine->layout()->setContentsMargins(formRowContentLeft(), chipClearance(), 0, 0);
    const bool beside = fitsBeside(width());
    if (beside == m_toggleBeside)
        return;
    m_toggleBeside = beside;
    if (beside) {
        m_toggleLine->layout()->removeWidget(m_toggle);
        m_firstRow->addWidget(m_toggle);
    } else {
        m_firstRow->removeWidget(m_toggle);
        static_cast<QHBoxLayout*>(m_toggleLine->layout())->insertWidget(0, m_toggle);
    }
    // A layout that takes a widget in gives it a new parent, which hides it.
    m_toggle->show();
    m_toggleLine->setVisible(!beside);
}

QWidget* TimeRows::allDayToggle() {
    auto* toggle = new QWidget;
    auto* layout = new QHBoxLayout(toggle);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(
        new design::TextLine(u"All day"_s, ODFont::body(12, FontWeight::medium), Theme::text2(), toggle));
    m_allDay = new design::ODSwitch(m_model.draft().isAllDay, design::ODSwitch::Size::mini, toggle);
    m_allDay->setAccessibleName(u"All day"_s);
    m_allDay->setEnabled(!m_model.readOnly());
    // The model decides the dates and the flag; the switch shows what it holds.
    connect(m_allDay, &QAbstractButton::clicked, this, [this](bool on) {
        m_model.setAllDay(on);
        m_allDay->setOn(m_model.draft().isAllDay);
    });
    layout->addWidget(m_allDay);
    return toggle;
}

void TimeRows::build(bool twoRows) {
    if (m_rows) {
        // Late: the switch or a button of the old rows may be what changed the draft.
        m_rows->hide();
        m_rows->deleteLater();
    }
    m_sameDay = m_start = m_end = nullptr;
    m_twoRows = twoRows;
    m_rows = new QWidget(this);
    auto* stack = new QVBoxLayout(m_rows);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(kRowSpacing);
    const auto firstRow = [&](TimeButton* button) {
        auto* content = new QWidget;
        m_firstRow = new QHBoxLayout(content);
        m_firstRow->setContentsMargins(0, 0, 0, 0);
        m_firstRow->setSpacing(kToggleSpacing);
        m_firstRow->addWidget(button, 1);
        m_toggle = allDayToggle();
        m_firstRow->addWidget(m_toggle);
        m_toggleBeside = true;
        stack->addWidget(formRow(u"clock"_s, content, m_rows));
        // Where the switch goes when the button needs the whole row, under its left edge.
        m_toggleLine = new QWidget(m_rows);
        auto* line = new QHBoxLayout(m_toggleLine);
        line->setContentsMargins(formRowContentLeft(), 0, 0, 0);
        line->addStretch(1);
        m_toggleLine->hide();
        stack->addWidget(m_toggleLine);
    };
    const bool readOnly = m_model.readOnly();
    if (twoRows) {
        m_start = new TimeButton(u"Starts"_s);
        m_end = new TimeButton(u"Ends"_s);
        for (TimeButton* button : {m_start, m_end})
            button->setEnabled(!readOnly);
        connect(m_start, &QAbstractButton::clicked, this, [this] { m_model.setShowStart(!m_model.showStart()); });
        connect(m_end, &QAbstractButton::clicked, this, [this] { m_model.setShowEnd(!m_model.showEnd()); });
        firstRow(m_start);
        stack->addWidget(formRow(u"clock.arrow.circlepath"_s, m_end, m_rows));
    } else {
        m_sameDay = new TimeButton;
        // The day and both times shrink a little before they are cut.
        m_sameDay->setMinimumScale(0.8);
        m_sameDay->setEnabled(!readOnly);
        connect(m_sameDay, &QAbstractButton::clicked, this, [this] { m_model.setShowTime(!m_model.showTime()); });
        firstRow(m_sameDay);
    }
    placeRows();
    m_rows->show();
    if (m_chip)
        m_chip->follow(m_sameDay);
    refresh();
}

void TimeRows::refresh() {
    const bool twoRows = m_model.isMultiDay();
    if (twoRows != m_twoRows) {
        // The pop-over of a button that goes goes with it.
        if (twoRows)
            m_model.setShowTime(false);
        else {
            m_model.setShowStart(false);
            m_model.setShowEnd(false);
        }
        build(twoRows);
        return;
    }
    const model::EventDraft& draft = m_model.draft();
    const core::TimeZone zone = m_model.editingTimeZone();
    if (m_sameDay) {
        m_sameDay->setValue(texts::sameDaySummary(draft, zone), texts::lengthText(draft));
        m_sameDay->setToolTip(design::plainToolTip(m_model.timeZoneHelp().value_or(QString())));
    } else {
        m_start->setValue(texts::endpointValue(draft.start, draft.isAllDay, zone));
        m_end->setValue(texts::endpointValue(span::shownEnd(draft), draft.isAllDay, zone));
    }
    m_allDay->setOn(draft.isAllDay);
    if (m_chip)
        m_chip->setText(m_model.timeZoneChip().value_or(QString()));
    placeToggle();
    // The values' widths and the chip decide the height for each width.
    updateGeometry();
    syncPopovers();
}

void TimeRows::syncPopovers() {
    if (m_sameDay)
        m_sameDay->setShowsFocused(m_model.showTime());
    if (m_start) {
        m_start->setShowsFocused(m_model.showStart());
        m_end->setShowsFocused(m_model.showEnd());
    }
    m_dayPopover->sync(m_model.showTime(), m_sameDay);
    m_startPopover->sync(m_model.showStart(), m_start);
    m_endPopover->sync(m_model.showEnd(), m_end);
}

design::AnchoredPopover* TimeRows::openPopover() const {
    for (EditorPopover* popover : {m_dayPopover, m_startPopover, m_endPopover})
        if (popover->popover())
            return popover->popover();
    return nullptr;
}

}  // namespace editor
