#include "popover/UndoToast.h"

#include "design/widgets/KeycapButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Symbols.h"
#include "platform/keys/KeyTable.h"
#include "popover/UndoToastModel.h"
#include "state/PlatformWords.h"

#include <QEnterEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace popover {

using design::FontWeight;
using design::Theme;

namespace {

constexpr qreal kLeading = 14;
constexpr qreal kTrailing = 6;
constexpr qreal kVertical = 7;
constexpr qreal kSpacing = 8;
constexpr qreal kMinimumGap = 8;
constexpr qreal kSymbolSize = 12;
// The toast's keycap sits closer round its keys than the kit's.
constexpr qreal kKeycapPadding = 4;

QFont titleFont() {
    return design::ODFont::body(13, FontWeight::semibold);
}

qreal symbolSide() {
    return design::Symbols::boxSide(kSymbolSize);
}

}  // namespace

UndoToast::UndoToast(QWidget* parent)
    : QWidget(parent),
      m_undo(new design::KeycapButton(u"Undo"_s, std::nullopt,
                                      app::words::shortcutText(platform::keys::carbon::kCommand, u"Z"_s),
                                      design::ODButtonKind::primary, design::ODButtonSize::small, false, this)) {
    design::setAccessibleRole(this, QAccessible::AlertMessage);
    design::followAppearance(this);
    setAttribute(Qt::WA_Hover);
    m_undo->setAccentKeycapPadding(kKeycapPadding);
    m_undo->setToolTip(u"Undo ("_s + app::words::shortcutText(platform::keys::carbon::kCommand, u"Z"_s) + u")"_s);
    connect(m_undo, &QAbstractButton::clicked, this, &UndoToast::undoClicked);
    place();
}

QString UndoToast::symbol(const QString& label) {
    return undoToastSymbol(label);
}

QString UndoToast::title(const QString& label) {
    return undoToastTitle(label);
}

void UndoToast::setLabel(const QString& label) {
    m_label = label;
    setAccessibleName(shownText());
    update();
}

void UndoToast::setError(const std::optional<QString>& message) {
    m_error = message;
    setAccessibleName(shownText());
    setToolTip(message ? design::plainToolTip(*message) : QString());
    update();
}

void UndoToast::setNotice(const std::optional<QString>& message) {
    m_notice = message;
    m_undo->setVisible(!message);
    setAccessibleName(shownText());
    updateGeometry();
    update();
}

QString UndoToast::shownText() const {
    if (m_notice)
        return *m_notice;
    return m_error ? *m_error : title(m_label);
}

void UndoToast::setOpacity(qreal opacity) {
    m_opacity = opacity;
    m_undo->setOpacity(opacity);
    update();
}

QSize UndoToast::sizeHint() const {
    const QSize button = m_undo->sizeHint();
    const qreal text = QFontMetricsF(titleFont()).horizontalAdvance(shownText());
    const qreal width = kLeading + symbolSide() + kSpacing + text + kSpacing + kMinimumGap + kSpacing +
                        button.width() + kTrailing;
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(rowHeight() + 2 * kVertical)));
}

qreal UndoToast::rowHeight() const {
    return std::max<qreal>(m_undo->sizeHint().height(), QFontMetricsF(titleFont()).height());
}

QRectF UndoToast::noticeTextArea(qreal width, qreal height) const {
    const qreal left = kLeading + symbolSide() + kSpacing;
    return QRectF(left, kVertical, std::max<qreal>(0, width - left - kLeading), std::max<qreal>(0, height - 2 * kVertical));
}

int UndoToast::heightForWidth(int width) const {
    if (!m_notice)
        return sizeHint().height();
    const QRectF area = noticeTextArea(width, 0);
    const QRectF text = QFontMetricsF(titleFont()).boundingRect(QRectF(0, 0, area.width(), 1e6),
                                                                Qt::TextWordWrap | Qt::AlignLeft, *m_notice);
    return static_cast<int>(std::ceil(std::max(rowHeight(), text.height()) + 2 * kVertical));
}

void UndoToast::place() {
    const QSize button = m_undo->sizeHint();
    m_undo->setGeometry(width() - static_cast<int>(kTrailing) - button.width(), (height() - button.height()) / 2,
                        button.width(), button.height());
}

void UndoToast::resizeEvent(QResizeEvent*) {
    place();
}

void UndoToast::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    // A notice of several lines keeps the ends of a one-line toast at its corners.
    const design::Shape shape =
        m_notice ? design::Shape::rounded(rowHeight() / 2 + kVertical) : design::Shape::capsule();
    shape.fill(painter, rect(), design::toQColor(Theme::text()));
    const QColor ink = design::toQColor(Theme::surface());
    const qreal side = symbolSide();
    const QRectF symbolArea(kLeading, (height() - side) / 2, side, side);
    design::Symbols::paint(painter, symbolArea, m_notice ? u"exclamationmark.triangle"_s : symbol(m_label), ink,
                           kSymbolSize, FontWeight::semibold);
    const QFont font = titleFont();
    painter.setFont(font);
    painter.setPen(ink);
    if (m_notice) {
        painter.drawText(noticeTextArea(width(), height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         *m_notice);
        return;
    }

    const qreal textLeft = symbolArea.right() + kSpacing;
    // The spacer between the title and Undo keeps the stack's spacing on both its sides.
    const qreal textRight = m_undo->geometry().left() - kSpacing - kMinimumGap - kSpacing;
    const QFontMetricsF metrics(font);
    const QString text = metrics.elidedText(shownText(), Qt::ElideRight, std::max<qreal>(0, textRight - textLeft));
    painter.drawText(QRectF(textLeft, 0, std::max<qreal>(0, textRight - textLeft), height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void UndoToast::enterEvent(QEnterEvent* event) {
    emit hoveredChanged(true);
    QWidget::enterEvent(event);
}

void UndoToast::leaveEvent(QEvent* event) {
    emit hoveredChanged(false);
    QWidget::leaveEvent(event);
}

}  // namespace popover
