#pragma once

#include "design/widgets/TextField.h"

#include <QFont>
#include <QString>
#include <QTimer>

namespace design {

// The borderless one-line field at the top of the quick-add and image screens:
// the kit's field with the text in one face, the placeholder in another
// (faint), an accent caret, and Return and Tab turned into the screen's two
// keyboard actions. Return, modified or not, never reaches a parent (one
// press, one action; only a plain one submits) and Tab never moves the focus;
// Shift+Tab and Escape go on as usual. It takes the keyboard focus once it is
// first shown, with the caret after the text. Text set from outside that
// differs from what is there puts the caret at its end.
class ODTextField : public TextField {
    Q_OBJECT

public:
    ODTextField(const QFont& textFont, const QFont& placeholderFont, QWidget* parent = nullptr);

    // Shrinks to as little as this share of its size to show whole before it is cut.
    static constexpr qreal kPlaceholderMinimumScale = 0.75;

    QString placeholder() const { return m_placeholder; }
    void setPlaceholder(const QString& placeholder);
    // The placeholder as the field's width lets it show, and the face it shows in.
    QString shownPlaceholder() const;
    QFont shownPlaceholderFont() const;
    // How text longer than the field shows while the field is not being edited:
    // its end (ElideLeft) or its beginning (ElideRight), cut with an ellipsis.
    void setUnfocusedElision(Qt::TextElideMode mode);
    // Whether it takes the focus once shown (it does unless told otherwise).
    void setFocusWhenShown(bool focus) { m_focusRequested = !focus; }
    // Replaces the text when it differs, the caret at its end; an equal text
    // leaves an edit in progress alone.
    void setTextKeepingEdit(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tabPressed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyColors();
    void restartCaret();
    bool elides() const;

    QFont m_placeholderFont;
    QString m_placeholder;
    Qt::TextElideMode m_elision = Qt::ElideRight;
    bool m_focusRequested = false;
    // The accent caret is ours: the field's own is drawn in the text colour.
    QTimer m_blink;
    bool m_caretOn = true;
};

}  // namespace design
