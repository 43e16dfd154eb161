#include "imageimport/review/ReviewPills.h"

#include "design/values/Theme.h"
#include "design/widgets/FlowLayout.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"
#include "imageimport/review/ReviewFaces.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;

namespace imageimport {

namespace {

constexpr qreal kSide = 10;
constexpr qreal kGap = 5;
constexpr qreal kCheckSize = 10;
constexpr int kRowSpacing = 6;

QFont pillFont() {
    return design::ODFont::body(12, FontWeight::bold);
}

}  // namespace

DatePill::DatePill(const QString& title, QWidget* parent)
    : PlainButton(design::Shape::capsule(), parent), m_title(title) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::Button);
    setAccessibleName(title);
}

void DatePill::setTitle(const QString& title) {
    if (title == m_title)
        return;
    m_title = title;
    setAccessibleName(title);
    updateGeometry();
    update();
}

void DatePill::setSelected(bool selected) {
    if (selected == m_selected)
        return;
    m_selected = selected;
    design::setAccessibleSelected(this, selected);
    updateGeometry();
    update();
}

QSize DatePill::sizeHint() const {
    qreal width = 2 * kSide + QFontMetricsF(pillFont()).horizontalAdvance(m_title);
    if (m_selected)
        width += design::Symbols::boxSide(kCheckSize) + kGap;
    return QSize(static_cast<int>(std::ceil(width)), kHeight);
}

void DatePill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    beginPaint(painter);
    const QRectF frame(rect());
    const design::Shape capsule = design::Shape::capsule();
    capsule.fill(painter, frame, m_selected ? design::toQColor(Theme::flameSoft()) : design::toQColor(Theme::card()));
    capsule.strokeBorder(painter, frame, m_selected ? design::toQColor(Theme::flame()) : design::toQColor(Theme::line()), 1);
    const QColor ink = m_selected ? design::toQColor(Theme::flame()) : design::toQColor(Theme::text());
    qreal left = kSide;
    if (m_selected) {
        const qreal side = design::Symbols::boxSide(kCheckSize);
        design::Symbols::paint(painter, QRectF(left, (frame.height() - side) / 2, side, side), u"checkmark"_s, ink,
                               kCheckSize, FontWeight::bold);
        left += side + kGap;
    }
    painter.setFont(pillFont());
    painter.setPen(ink);
    painter.drawText(QRectF(left, 0, frame.width() - left - kSide + 1, frame.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_title);
}

QuickDaysRow::QuickDaysRow(QWidget* parent) : QWidget(parent) {
    setObjectName(u"QuickDays"_s);
    design::setAccessibleRole(this, QAccessible::Grouping);
    setAccessibleName(u"Quick dates"_s);
    auto* row = new design::FlowLayout(kRowSpacing, this);
    row->setContentsMargins(0, 0, 0, 0);
    for (int index = 0; index < 3; ++index) {
        auto* pill = new DatePill({}, this);
        row->addWidget(pill);
        m_pills.push_back(pill);
        connect(pill, &QAbstractButton::clicked, this, [this, index] {
            if (index < static_cast<int>(m_days.size()))
                emit picked(m_days[index]);
        });
    }
}

void QuickDaysRow::showDays(const core::Calendar& calendar, core::Date now) {
    const std::vector<QuickDay> days = quickDays(calendar, now);
    m_days.clear();
    for (std::size_t index = 0; index < m_pills.size() && index < days.size(); ++index) {
        m_pills[index]->setTitle(days[index].title);
        m_days.push_back(days[index].day);
    }
}

}  // namespace imageimport
