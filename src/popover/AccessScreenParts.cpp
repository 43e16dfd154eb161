#include "popover/AccessScreenParts.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"

#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace popover {

namespace {

constexpr int kHeaderSide = 20;
constexpr int kHeaderTop = 18;
constexpr int kHeaderBottom = 12;
constexpr int kBelowDrawing = 14;
constexpr int kBelowTitle = 8;

}  // namespace

AccessScreenHeader::AccessScreenHeader(QWidget* drawing, QPoint frameOrigin, int frameHeight, const QString& title,
                                       qreal titleSize, const QString& message, QWidget* parent)
    : QWidget(parent),
      m_title(title),
      m_message(new design::TextBlock(message, design::ODFont::body(13), design::Theme::text2(), this)) {
    auto* heading = new design::TextLine(title, design::ODFont::display(titleSize), design::Theme::text(), this);
    design::setAccessibleRole(heading, QAccessible::Heading);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kHeaderSide, kHeaderTop, kHeaderSide, kHeaderBottom);
    layout->setSpacing(0);
    // The drawing keeps its frame's room in the stack and is placed over it by
    // hand, so that what it draws past the frame lies in the margins.
    layout->addSpacing(frameHeight + kBelowDrawing);
    layout->addWidget(heading);
    layout->addSpacing(kBelowTitle);
    layout->addWidget(m_message);

    drawing->setParent(this);
    drawing->move(kHeaderSide - frameOrigin.x(), kHeaderTop - frameOrigin.y());
    drawing->raise();
}

QString AccessScreenHeader::message() const {
    return m_message->text();
}

void AccessScreenHeader::setMessage(const QString& message, design::Tint color) {
    m_message->setText(message);
    m_message->setColor(color);
}

ShrinkingTextLine::ShrinkingTextLine(const QString& text, const QFont& font, design::Tint color, QWidget* parent)
    : QWidget(parent), m_text(text), m_color(color) {
    setFont(font);
    setAccessibleName(text);
    design::setAccessibleRole(this, QAccessible::StaticText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    design::followAppearance(this);
}

QSize ShrinkingTextLine::sizeHint() const {
    const QFontMetricsF metrics(font());
    return QSize(static_cast<int>(std::ceil(metrics.horizontalAdvance(m_text))),
                 static_cast<int>(std::ceil(metrics.height())));
}

QSize ShrinkingTextLine::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void ShrinkingTextLine::paintEvent(QPaintEvent*) {
    constexpr qreal kSmallest = 0.85;
    const QFontMetricsF metrics(font());
    const qreal natural = metrics.horizontalAdvance(m_text);
    const qreal scale = natural > width() ? std::max(kSmallest, width() / natural) : 1;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_color.resolve());
    // Scaled as a whole rather than set in a smaller pixel size: pixel sizes are
    // whole numbers, and rounding one down took the letters below the smallest
    // size allowed (9 of 11 px is 82 %).
    painter.scale(scale, scale);
    const QRectF room(0, 0, width() / scale, height() / scale);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(m_text, Qt::ElideRight, room.width()));
}

}  // namespace popover
