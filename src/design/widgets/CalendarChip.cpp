#include "design/widgets/CalendarChip.h"

#include "design/values/FontWeight.h"
#include "design/widgets/CalendarMarks.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr QMarginsF kPadding{10, 5, 10, 5};
constexpr qreal kChevronSize = 9;

QFont titleFont() {
    return ODFont::body(12, FontWeight::semibold);
}

qreal contentHeight() {
    return std::max(QFontMetricsF(titleFont()).height(), Symbols::boxSide(kChevronSize));
}

qreal chevronWidth(bool changeable) {
    return changeable ? CalendarChip::kSpacing + Symbols::boxSide(kChevronSize) : 0;
}

}  // namespace

CalendarChip::CalendarChip(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::Button);
    followAppearance(this);
    odFocusRing(this, Shape::capsule());
}

void CalendarChip::setCalendar(std::optional<core::Color> color, const QString& title) {
    m_color = color;
    setText(title);
    setAccessibleName(title);
    updateGeometry();
    update();
}

void CalendarChip::setChangeable(bool changeable) {
    m_changeable = changeable;
    setEnabled(changeable);
    setFocusPolicy(changeable ? Qt::TabFocus : Qt::NoFocus);
    updateGeometry();
    update();
}

QSize CalendarChip::sizeHint() const {
    const qreal width = kPadding.left() + kDot + kSpacing + QFontMetricsF(titleFont()).horizontalAdvance(text()) +
                        chevronWidth(m_changeable) + kPadding.right();
    return QSize(static_cast<int>(std::ceil(width)),
                 static_cast<int>(std::ceil(contentHeight() + kPadding.top() + kPadding.bottom())));
}

QSize CalendarChip::minimumSizeHint() const {
    // A long title shortens; the dot and the chevron stay.
    const qreal width = kPadding.left() + kDot + kSpacing + chevronWidth(m_changeable) + kPadding.right();
    return QSize(static_cast<int>(std::ceil(width)), sizeHint().height());
}

void CalendarChip::paint(QPainter& painter, const QRectF& rect, core::Color color, const QString& title,
                         bool changeable) {
    Shape::capsule().fill(painter, rect, toQColor(color.withAlpha(color.alphaF() * kWash)));
    const QRectF content = rect.marginsRemoved(kPadding);
    CalendarDot::paint(painter, QRectF(content.left(), content.top(), kDot, content.height()), color, kDot);
    const qreal chevron = chevronWidth(changeable);
    const QRectF text(content.left() + kDot + kSpacing, content.top(),
                      std::max(0.0, content.width() - kDot - kSpacing - chevron), content.height());
    const QFont font = titleFont();
    painter.setFont(font);
    painter.setPen(toQColor(Theme::text()));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(font).elidedText(title, Qt::ElideRight, text.width()));
    if (changeable) {
        const qreal side = Symbols::boxSide(kChevronSize);
        Symbols::paint(painter, QRectF(text.right() + kSpacing, content.center().y() - side / 2, side, side),
                       QStringLiteral("chevron.down"), toQColor(Theme::text()), kChevronSize, FontWeight::bold);
    }
}

void CalendarChip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, QRectF(rect()), m_color.value_or(Theme::text3().resolve()), text(), m_changeable);
}

void CalendarChip::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace design
