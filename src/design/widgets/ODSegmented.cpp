#include "design/widgets/ODSegmented.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr qreal kSegmentRadius = 6;
constexpr QMarginsF kSegmentPadding{10, 4, 10, 4};
constexpr qreal kIconGap = 5;
constexpr qreal kIconSize = 11;

QFont titleFont(bool selected) {
    return ODFont::body(12, selected ? FontWeight::semibold : FontWeight::medium);
}

}  // namespace

Segment::Segment(SegmentLabel label, QWidget* parent) : QAbstractButton(parent), m_label(std::move(label)) {
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::RadioButton);
    setAccessibleName(m_label.title);
    followAppearance(this);
    odFocusRing(this, Shape::rounded(kSegmentRadius));
    // The title turns bold when selected, and the segment with it.
    connect(this, &QAbstractButton::toggled, this, [this] { updateGeometry(); });
}

QSizeF Segment::sizeFor(const SegmentLabel& label, bool selected) {
    const QFontMetricsF metrics(titleFont(selected));
    qreal width = metrics.horizontalAdvance(label.title);
    qreal height = metrics.height();
    if (label.icon) {
        const qreal side = Symbols::boxSide(kIconSize);
        width += side + (label.title.isEmpty() ? 0 : kIconGap);
        height = std::max(height, side);
    }
    return QSizeF(width + kSegmentPadding.left() + kSegmentPadding.right(),
                  height + kSegmentPadding.top() + kSegmentPadding.bottom());
}

QSize Segment::sizeHint() const {
    const QSizeF size = sizeFor(m_label, isSelected());
    return QSize(static_cast<int>(std::ceil(size.width() - 0.01)), static_cast<int>(std::ceil(size.height() - 0.01)));
}

void Segment::paint(QPainter& painter, const QRectF& rect, const SegmentLabel& label, bool selected) {
    const Shape shape = Shape::rounded(kSegmentRadius);
    if (selected) {
        shape.fill(painter, rect, toQColor(Theme::card()));
        shape.strokeBorder(painter, rect, toQColor(Theme::line()), 1);
    }
    const QRectF content = rect.marginsRemoved(kSegmentPadding);
    const QSizeF natural = sizeFor(label, selected).shrunkBy(kSegmentPadding);
    qreal x = content.center().x() - std::min(natural.width(), content.width()) / 2;
    if (label.icon) {
        const qreal side = Symbols::boxSide(kIconSize);
        QColor tint = toQColor(Theme::text2());
        if (selected)
            tint = *label.icon == QLatin1String("sparkles") ? toQColor(Theme::flame()) : toQColor(Theme::text());
        Symbols::paint(painter, QRectF(x, content.top(), side, content.height()), *label.icon, tint, kIconSize,
                       FontWeight::medium);
        x += side + kIconGap;
    }
    if (label.title.isEmpty())
        return;
    const QFont font = titleFont(selected);
    const QRectF textRect(x, content.top(), content.right() - x, content.height());
    painter.save();
    painter.setFont(font);
    painter.setPen(toQColor(selected ? Theme::text() : Theme::text2()));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(font).elidedText(label.title, Qt::ElideRight, textRect.width() + 0.5));
    painter.restore();
}

void Segment::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, QRectF(rect()), m_label, isSelected());
}

void Segment::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

SegmentedControl::SegmentedControl(QWidget* parent) : QWidget(parent), m_row(new QHBoxLayout(this)) {
    m_row->setContentsMargins(kTrackPadding, kTrackPadding, kTrackPadding, kTrackPadding);
    m_row->setSpacing(kSegmentSpacing);
    m_row->setSizeConstraint(QLayout::SetFixedSize);
    setAccessibleRole(this, QAccessible::Grouping);
    followAppearance(this);
}

void SegmentedControl::setSegments(const std::vector<SegmentLabel>& labels) {
    qDeleteAll(m_segments);
    m_segments.clear();
    for (const SegmentLabel& label : labels) {
        auto* segment = new Segment(label, this);
        const int index = static_cast<int>(m_segments.size());
        connect(segment, &QAbstractButton::clicked, this, [this, index] { emit segmentClicked(index); });
        m_row->addWidget(segment, 0, Qt::AlignVCenter);
        m_segments << segment;
    }
}

void SegmentedControl::setSelectedSegments(const std::vector<bool>& selected) {
    for (qsizetype i = 0; i < m_segments.size(); ++i)
        m_segments[i]->setSelected(static_cast<size_t>(i) < selected.size() && selected[static_cast<size_t>(i)]);
}

void SegmentedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Shape::rounded(kTrackRadius).fill(painter, QRectF(rect()), toQColor(Theme::fillSoft()));
}

}  // namespace design
