#include "design/widgets/FieldCard.h"

#include "design/values/Theme.h"
#include "design/widgets/CalendarMarks.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace design {

namespace {

constexpr qreal kSide = 10;
constexpr qreal kCardVertical = 9;
constexpr qreal kChipHeight = 44;
constexpr qreal kSpacing = 8;
constexpr qreal kLineGap = 1;
constexpr qreal kDotSize = 7;
constexpr qreal kDotGap = 5;
constexpr qreal kChipIconFrame = 16;
constexpr qreal kTagPadding = 4;
constexpr qreal kTagRadius = 4;

QFont captionFont(FieldCard::Look look) {
    QFont font =
        look == FieldCard::Look::card ? ODFont::body(9, FontWeight::bold) : ODFont::body(10, FontWeight::semibold);
    if (look == FieldCard::Look::card)
        font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    return font;
}

QFont valueFont() {
    return ODFont::body(13, FontWeight::bold);
}

QFont tagFont() {
    return ODFont::body(8.5, FontWeight::bold);
}

qreal iconWidth(FieldCard::Look look) {
    return look == FieldCard::Look::chip ? kChipIconFrame : Symbols::boxSide(13);
}

qreal chevronSide() {
    return Symbols::boxSide(9);
}

}  // namespace

FieldCard::FieldCard(Look look, const QString& label, const QString& icon, Tint tint, QWidget* parent)
    : PlainButton(Shape::rounded(look == Look::chip ? 14 : 12), parent),
      m_look(look),
      m_label(label),
      m_icon(icon),
      m_tint(tint) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    changed();
}

QString FieldCard::caption() const {
    return m_look == Look::card ? m_label.toUpper() : m_label;
}

QString FieldCard::tagText(Tag tag) {
    return tag == Tag::found ? u"found"_s : u"default"_s;
}

void FieldCard::setValue(const QString& value) {
    if (value == m_value)
        return;
    m_value = value;
    changed();
}

void FieldCard::setValueDot(std::optional<core::Color> dot) {
    if (dot == m_dot)
        return;
    m_dot = dot;
    changed();
}

void FieldCard::setTag(std::optional<Tag> tag) {
    if (tag == m_tag)
        return;
    m_tag = tag;
    changed();
}

void FieldCard::setFocused(bool focused) {
    if (focused == m_focused)
        return;
    m_focused = focused;
    update();
}

void FieldCard::setActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    update();
}

void FieldCard::changed() {
    // Read out as the caption in words, the value and where it came from.
    QString words = m_look == Look::chip ? m_label.toLower() : m_label;
    if (!words.isEmpty() && m_look == Look::chip) {
        bool start = true;
        for (QChar& c : words) {
            if (start && c.isLetter())
                c = c.toUpper();
            start = !c.isLetter();
        }
    }
    QString name = words + u", "_s + m_value;
    if (m_tag)
        name += *m_tag == Tag::found ? u", found in the image"_s : u", default"_s;
    setAccessibleName(name);
    updateGeometry();
    update();
}

qreal FieldCard::cornerRadius() const {
    return m_look == Look::chip ? 14 : 12;
}

QSize FieldCard::sizeHint() const {
    const QFontMetricsF caption(captionFont(m_look));
    const QFontMetricsF value(valueFont());
    const qreal valueWidth = (m_dot ? kDotSize + kDotGap : 0) + value.horizontalAdvance(m_value);
    qreal captionWidth = caption.horizontalAdvance(this->caption());
    if (m_tag)
        captionWidth += kDotGap + QFontMetricsF(tagFont()).horizontalAdvance(tagText(*m_tag)) + 2 * kTagPadding;
    const qreal width =
        2 * kSide + iconWidth(m_look) + kSpacing + std::max(captionWidth, valueWidth) + kSpacing + chevronSide();
    const qreal height =
        m_look == Look::chip ? kChipHeight : 2 * kCardVertical + caption.height() + kLineGap + value.height();
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

QSize FieldCard::minimumSizeHint() const {
    const QSize natural = sizeHint();
    return QSize(static_cast<int>(2 * kSide + iconWidth(m_look) + 2 * kSpacing + chevronSide() + 24), natural.height());
}

void FieldCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    beginPaint(painter);
    const QRectF frame(rect());
    const Shape shape = Shape::rounded(cornerRadius());
    shape.fill(painter, frame, toQColor(Theme::card()));

    const qreal middle = frame.height() / 2;
    const qreal iconSide = Symbols::boxSide(13);
    const qreal iconLeft = kSide + (iconWidth(m_look) - iconSide) / 2;
    Symbols::paint(painter, QRectF(iconLeft, middle - iconSide / 2, iconSide, iconSide), m_icon, m_tint.resolve(), 13,
                   FontWeight::medium);

    const qreal chevron = chevronSide();
    Symbols::paint(painter, QRectF(frame.width() - kSide - chevron, middle - chevron / 2, chevron, chevron),
                   u"chevron.down"_s, toQColor(Theme::text3()), 9, FontWeight::bold);

    const qreal textLeft = kSide + iconWidth(m_look) + kSpacing;
    const qreal textRight = frame.width() - kSide - chevron - kSpacing;
    const qreal textWidth = std::max<qreal>(0, textRight - textLeft);
    const QFontMetricsF caption(captionFont(m_look));
    const QFontMetricsF value(valueFont());
    const qreal top = middle - (caption.height() + kLineGap + value.height()) / 2;

    painter.setFont(captionFont(m_look));
    painter.setPen(toQColor(Theme::text3()));
    const QString captionText = this->caption();
    const qreal captionWidth = std::min(textWidth, caption.horizontalAdvance(captionText));
    painter.drawText(QRectF(textLeft, top, captionWidth + 1, caption.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, captionText);
    if (m_tag) {
        const bool found = *m_tag == Tag::found;
        const QString text = tagText(*m_tag);
        const QFontMetricsF tag(tagFont());
        const QRectF badge(textLeft + captionWidth + kDotGap, top + (caption.height() - tag.height()) / 2,
                           tag.horizontalAdvance(text) + 2 * kTagPadding, tag.height());
        Shape::rounded(kTagRadius).fill(painter, badge, toQColor(found ? Theme::leafSoft() : Theme::fillSoft()));
        painter.setFont(tagFont());
        painter.setPen(toQColor(found ? Theme::leafInk() : Theme::text3()));
        painter.drawText(badge, Qt::AlignCenter | Qt::TextSingleLine, text);
    }

    qreal valueLeft = textLeft;
    const qreal valueTop = top + caption.height() + kLineGap;
    if (m_dot) {
        CalendarDot::paint(painter, QRectF(valueLeft, valueTop + (value.height() - kDotSize) / 2, kDotSize, kDotSize),
                           *m_dot, kDotSize);
        valueLeft += kDotSize + kDotGap;
    }
    painter.setFont(valueFont());
    const bool strong = m_look == Look::chip || m_active;
    painter.setPen(toQColor(strong ? Theme::text() : Theme::text2()));
    const qreal valueWidth = std::max<qreal>(0, textRight - valueLeft);
    painter.drawText(QRectF(valueLeft, valueTop, valueWidth, value.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     value.elidedText(m_value, Qt::ElideRight, valueWidth));

    FieldFrame::paintBorder(painter, frame, cornerRadius(), m_focused);
}

}  // namespace design
