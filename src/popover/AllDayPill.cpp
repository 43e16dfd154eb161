#include "popover/AllDayPill.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "popover/DayAgenda.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qreal kSymbolSize = 12;
constexpr qreal kSpacing = 10;
constexpr qreal kMinimumGap = 8;
constexpr qreal kHorizontalPadding = 12;
constexpr qreal kVerticalPadding = 6;
// Outside the tinted bar: the room between consecutive pills.
constexpr qreal kOuterPadding = 2;
constexpr qreal kCornerRadius = 10;
constexpr float kTintOpacity = 0.16f;

QFont titleFont() {
    return design::ODFont::body(14, design::FontWeight::semibold);
}

QFont rangeFont() {
    return design::ODFont::body(12, design::FontWeight::semibold);
}

qreal contentHeight() {
    return std::max({design::Symbols::boxSide(kSymbolSize), QFontMetricsF(titleFont()).height(),
                     QFontMetricsF(rangeFont()).height()});
}

}  // namespace

AllDayPill::AllDayPill(model::ODEvent event, core::Date day, QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::rounded(kCornerRadius));
    setAccessibleDescription(u"Opens event details"_s);
    setEvent(std::move(event), day);
}

void AllDayPill::setEvent(model::ODEvent event, core::Date day) {
    m_event = std::move(event);
    m_day = day;
    updateTexts();
    updateGeometry();
    update();
}

void AllDayPill::updateTexts() {
    m_range = DayAgenda::allDayRange(m_event, m_day, core::Calendar());
    setToolTip(design::plainToolTip(m_event.title));
    setAccessibleName(m_event.title + u", "_s + m_range);
}

QString AllDayPill::symbol() const {
    return DayAgenda::allDaySymbol(m_event.title);
}

QString AllDayPill::rangeText() const {
    return m_range;
}

QSize AllDayPill::sizeHint() const {
    const qreal width = 2 * kHorizontalPadding + design::Symbols::boxSide(kSymbolSize) + kSpacing +
                        QFontMetricsF(titleFont()).horizontalAdvance(m_event.title) + kSpacing + kMinimumGap +
                        kSpacing + QFontMetricsF(rangeFont()).horizontalAdvance(m_range);
    return QSize(static_cast<int>(std::ceil(width)),
                 static_cast<int>(std::ceil(contentHeight() + 2 * kVerticalPadding + 2 * kOuterPadding)));
}

QSize AllDayPill::minimumSizeHint() const {
    // The title gives way; the glyph and the range keep their room.
    const qreal width = 2 * kHorizontalPadding + design::Symbols::boxSide(kSymbolSize) + kSpacing + kSpacing +
                        kMinimumGap + kSpacing + QFontMetricsF(rangeFont()).horizontalAdvance(m_range);
    return QSize(static_cast<int>(std::ceil(width)), sizeHint().height());
}

QRectF AllDayPill::pillRect() const {
    return QRectF(rect()).adjusted(0, kOuterPadding, 0, -kOuterPadding);
}

bool AllDayPill::hitButton(const QPoint& pos) const {
    return pillRect().contains(pos);
}

void AllDayPill::keyPressEvent(QKeyEvent* event) {
    if (!design::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

void AllDayPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF pill = pillRect();
    QColor tint = design::toQColor(m_event.color);
    tint.setAlphaF(tint.alphaF() * kTintOpacity);
    design::Shape::rounded(kCornerRadius).fill(painter, pill, tint);

    const QRectF content = pill.adjusted(kHorizontalPadding, kVerticalPadding, -kHorizontalPadding, -kVerticalPadding);
    const qreal glyph = design::Symbols::boxSide(kSymbolSize);
    design::Symbols::paint(painter, QRectF(content.left(), content.top(), glyph, content.height()), symbol(),
                           design::toQColor(m_event.color), kSymbolSize, design::FontWeight::semibold);

    const QFontMetricsF rangeMetrics(rangeFont());
    const qreal rangeWidth = std::min(rangeMetrics.horizontalAdvance(m_range), content.width() - glyph - kSpacing);
    painter.setFont(rangeFont());
    painter.setPen(design::toQColor(design::Theme::text2()));
    painter.drawText(QRectF(content.right() - rangeWidth, content.top(), rangeWidth + 1, content.height()),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     rangeMetrics.elidedText(m_range, Qt::ElideRight, rangeWidth + 1));

    const qreal titleLeft = content.left() + glyph + kSpacing;
    const qreal titleRoom = content.right() - rangeWidth - 2 * kSpacing - kMinimumGap - titleLeft;
    if (titleRoom <= 0)
        return;
    const QFontMetricsF titleMetrics(titleFont());
    painter.setFont(titleFont());
    painter.setPen(design::toQColor(design::Theme::text()));
    painter.drawText(QRectF(titleLeft, content.top(), titleRoom + 1, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     titleMetrics.elidedText(m_event.title, Qt::ElideRight, titleRoom));
}

}  // namespace popover
