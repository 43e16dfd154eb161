#include "design/widgets/ODTextField.h"

#include "design/values/Theme.h"
#include "design/widgets/Painting.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleHints>

#include <algorithm>
#include <cmath>

namespace design {

namespace {

constexpr qreal kCaretWidth = 2;
// Where QLineEdit starts its text inside the field, and where the cursor
// rectangle it reports has its caret.
constexpr int kTextInset = 2;
constexpr int kCaretOffset = 5;

// Leaves out the field's own caret, which it draws in the text colour.
class NoCaretStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

ODTextField::ODTextField(const QFont& textFont, const QFont& placeholderFont, QWidget* parent)
    : TextField(textFont, {}, parent), m_placeholderFont(placeholderFont) {
    setAttribute(Qt::WA_MacShowFocusRect, false);
    auto* style = new NoCaretStyle;
    style->setParent(this);
    setStyle(style);
    // It takes the width it is given and gives way when room is short.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    applyColors();
    connect(&AppearanceSignal::instance(), &AppearanceSignal::changed, this, &ODTextField::applyColors);

    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    m_blink.setInterval(std::max(flash / 2, 1));
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        update();
    });
    connect(this, &QLineEdit::cursorPositionChanged, this, &ODTextField::restartCaret);
    connect(this, &QLineEdit::textChanged, this, &ODTextField::restartCaret);
}

void ODTextField::setPlaceholder(const QString& placeholder) {
    m_placeholder = placeholder;
    update();
}

void ODTextField::setUnfocusedElision(Qt::TextElideMode mode) {
    m_elision = mode;
    update();
}

void ODTextField::setTextKeepingEdit(const QString& text) {
    if (text == this->text())
        return;
    setText(text);
    end(false);
}

QSize ODTextField::sizeHint() const {
    const QSize base = TextField::sizeHint();
    const int placeholderHeight = static_cast<int>(std::ceil(QFontMetricsF(m_placeholderFont).height())) + 2;
    return QSize(base.width(), std::max(base.height(), placeholderHeight));
}

QSize ODTextField::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

// Over the kit's field colours, which it sets first: the line is the screen's
// subject, so its text stays full strength and a selection shows strongly.
void ODTextField::applyColors() {
    QPalette colors = palette();
    colors.setColor(QPalette::Text, toQColor(Theme::text()));
    QColor selection = toQColor(Theme::flame());
    selection.setAlphaF(0.28f);
    colors.setColor(QPalette::Highlight, selection);
    setPalette(colors);
}

void ODTextField::restartCaret() {
    m_caretOn = true;
    if (hasFocus() && QGuiApplication::styleHints()->cursorFlashTime() > 0)
        m_blink.start();
    else
        m_blink.stop();
    update();
}

bool ODTextField::elides() const {
    if (hasFocus())
        return false;
    return QFontMetricsF(font()).horizontalAdvance(text()) > width() - 2 * kTextInset;
}

bool ODTextField::event(QEvent* event) {
    // Tab would move the focus before the key reaches keyPressEvent.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_Tab && modifiers == Qt::NoModifier) {
            event->accept();
            emit tabPressed();
            return true;
        }
    }
    return TextField::event(event);
}

void ODTextField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Taken here, with or without modifiers: a Return that went on to the
        // screen around the field would act a second time.
        event->accept();
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            emit submitted();
        return;
    }
    TextField::keyPressEvent(event);
}

void ODTextField::paintEvent(QPaintEvent* event) {
    const QRectF line(kTextInset, 0, width() - 2 * kTextInset, height());
    if (elides()) {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(toQColor(Theme::text()));
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(font()).elidedText(text(), m_elision, line.width()));
        return;
    }
    TextField::paintEvent(event);
    QPainter painter(this);
    if (text().isEmpty() && !m_placeholder.isEmpty()) {
        painter.setFont(shownPlaceholderFont());
        painter.setPen(toQColor(Theme::text3()));
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, shownPlaceholder());
    }
    if (hasFocus() && m_caretOn && !hasSelectedText()) {
        const QRect cursor = cursorRect();
        painter.fillRect(
            QRectF(cursor.left() + kCaretOffset - kCaretWidth / 2, cursor.top(), kCaretWidth, cursor.height()),
            toQColor(Theme::flame()));
    }
}

QFont ODTextField::shownPlaceholderFont() const {
    // An example of a whole line teaches more than a cut one: it shrinks a
    // little to fit before it is cut.
    const qreal room = width() - 2 * kTextInset;
    const auto scaled = [this](qreal scale) {
        QFont font = m_placeholderFont;
        if (font.pixelSize() > 0)
            font.setPixelSize(std::max(1, static_cast<int>(std::round(font.pixelSize() * scale))));
        else
            font.setPointSizeF(font.pointSizeF() * scale);
        return font;
    };
    constexpr qreal kStep = 0.05;
    const int steps = static_cast<int>(std::round((1 - kPlaceholderMinimumScale) / kStep));
    QFont font = m_placeholderFont;
    for (int step = 1; step <= steps && QFontMetricsF(font).horizontalAdvance(m_placeholder) > room; ++step)
        font = scaled(1 - step * kStep);
    return font;
}

QString ODTextField::shownPlaceholder() const {
    return QFontMetricsF(shownPlaceholderFont())
        .elidedText(m_placeholder, Qt::ElideRight, width() - 2 * kTextInset);
}

void ODTextField::focusInEvent(QFocusEvent* event) {
    TextField::focusInEvent(event);
    restartCaret();
}

void ODTextField::focusOutEvent(QFocusEvent* event) {
    TextField::focusOutEvent(event);
    restartCaret();
}

void ODTextField::showEvent(QShowEvent* event) {
    TextField::showEvent(event);
    if (m_focusRequested)
        return;
    m_focusRequested = true;
    // At once: keys typed right after the screen appears belong in the field.
    setFocus(Qt::OtherFocusReason);
    end(false);
}

}  // namespace design
