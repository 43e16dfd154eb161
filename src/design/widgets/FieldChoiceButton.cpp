#include "design/widgets/FieldChoiceButton.h"

#include "design/values/FontWeight.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace design {

namespace {

constexpr qreal kGap = 8;

QFont choiceFont() {
    return ODFont::body(FieldChoiceButton::kTextSize, FontWeight::medium);
}

qreal contentHeight() {
    return std::max(QFontMetricsF(choiceFont()).height(), Symbols::boxSide(FieldChoiceButton::kChevronSize));
}

}  // namespace

FieldChoiceButton::FieldChoiceButton(const QString& choice, const QString& chevron, QWidget* parent)
    : QAbstractButton(parent), m_chevron(chevron) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::ButtonMenu);
    followAppearance(this);
    odFocusRing(this, Shape::rounded(FieldBox::kCornerRadius));
    setChoice(choice);
}

void FieldChoiceButton::setChoice(const QString& choice) {
    setText(choice);
    setAccessibleValue(this, choice);
    updateGeometry();
    update();
}

void FieldChoiceButton::setShowsFocused(bool focused) {
    if (m_focused == focused)
        return;
    m_focused = focused;
    update();
}

QSize FieldChoiceButton::sizeHint() const {
    const QMargins pad = FieldBox::kPadding;
    const qreal width = pad.left() + QFontMetricsF(choiceFont()).horizontalAdvance(text()) + kGap +
                        Symbols::boxSide(kChevronSize) + pad.right();
    return QSize(static_cast<int>(std::ceil(width)),
                 static_cast<int>(std::ceil(contentHeight() + pad.top() + pad.bottom())));
}

QSize FieldChoiceButton::minimumSizeHint() const {
    const QMargins pad = FieldBox::kPadding;
    return QSize(static_cast<int>(std::ceil(pad.left() + kGap + Symbols::boxSide(kChevronSize) + pad.right())),
                 sizeHint().height());
}

void FieldChoiceButton::paint(QPainter& painter, const QRectF& rect, const QString& choice, const QString& chevron,
                              bool focused) {
    FieldBox::paint(painter, rect, toQColor(Theme::card()), focused);
    const QRectF content = rect.marginsRemoved(QMarginsF(FieldBox::kPadding));
    const qreal side = Symbols::boxSide(kChevronSize);
    const QRectF text(content.left(), content.top(), std::max(0.0, content.width() - side - kGap), content.height());
    const QFont font = choiceFont();
    painter.setFont(font);
    painter.setPen(toQColor(Theme::text()));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(font).elidedText(choice, Qt::ElideRight, text.width()));
    Symbols::paint(painter, QRectF(content.right() - side, content.center().y() - side / 2, side, side), chevron,
                   toQColor(Theme::text3()), kChevronSize, FontWeight::bold);
}

void FieldChoiceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : ODButtonStyle::kDisabledOpacity);
    paint(painter, QRectF(rect()), text(), m_chevron, m_focused);
}

void FieldChoiceButton::keyPressEvent(QKeyEvent* event) {
    if (clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

}  // namespace design
