#include "design/widgets/TextField.h"

#include "design/values/Theme.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/Painting.h"

#include <QKeyEvent>
#include <QPalette>

namespace design {

void applyKitTextColors(QWidget* field) {
    const auto colour = [field] {
        QPalette palette = field->palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Base, Qt::transparent);
            palette.setColor(group, QPalette::Window, Qt::transparent);
            palette.setColor(group, QPalette::PlaceholderText, toQColor(Theme::text3()));
            palette.setColor(group, QPalette::Highlight, toQColor(Theme::flameSoft()));
            palette.setColor(group, QPalette::HighlightedText, toQColor(Theme::text()));
        }
        palette.setColor(QPalette::Active, QPalette::Text, toQColor(Theme::text()));
        palette.setColor(QPalette::Inactive, QPalette::Text, toQColor(Theme::text()));
        // A field that takes no input is dimmed as the kit's disabled buttons and
        // pickers are, its placeholder too: else it looks as if it took some.
        const auto dimmed = [](const DynamicColor& token) {
            QColor color = toQColor(token);
            color.setAlphaF(color.alphaF() * static_cast<float>(ODButtonStyle::kDisabledOpacity));
            return color;
        };
        palette.setColor(QPalette::Disabled, QPalette::Text, dimmed(Theme::text()));
        palette.setColor(QPalette::Disabled, QPalette::PlaceholderText, dimmed(Theme::text3()));
        field->setPalette(palette);
    };
    colour();
    QObject::connect(&AppearanceSignal::instance(), &AppearanceSignal::changed, field, colour);
}

TextField::TextField(const QFont& font, const QString& placeholder, QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setFont(font);
    setPlaceholderText(placeholder);
    setTextMargins(0, 0, 0, 0);
    setContentsMargins(0, 0, 0, 0);
    applyKitTextColors(this);
}

void TextField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A modified Return is a shortcut of the screen (Ctrl+Return saves): let it go on.
        if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
            event->ignore();
            return;
        }
        event->accept();
        emit submitted();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusChanged(true);
}

void TextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusChanged(false);
}

TextArea::TextArea(const QFont& font, QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setFont(font);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The kit's thin bar, floating over the text, as the popover's lists have it:
    // the toolkit's own, with its arrows, looks out of place in a rounded field.
    m_bar = new OverlayScrollBar(this, this);
    connect(m_bar, &QScrollBar::rangeChanged, this, &TextArea::placeScrollBar);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    applyKitTextColors(this);
    applyKitTextColors(viewport());
}

void TextArea::setVerticalPadding(int padding) {
    setViewportMargins(0, padding, 0, padding);
}

void TextArea::setShowsScrollBar(bool shows) {
    m_showsBar = shows;
    placeScrollBar();
}

void TextArea::placeScrollBar() {
    if (m_showsBar)
        m_bar->placeAlong(rect());
    else
        m_bar->hide();
}

void TextArea::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    placeScrollBar();
}

}  // namespace design
