#include "design/widgets/TextField.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
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
        // Read-only values stay legible, a step quieter than editable ones.
        palette.setColor(QPalette::Disabled, QPalette::Text, toQColor(Theme::text2()));
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
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    applyKitTextColors(this);
    applyKitTextColors(viewport());
}

void TextArea::setVerticalPadding(int padding) {
    setViewportMargins(0, padding, 0, padding);
}

}  // namespace design
