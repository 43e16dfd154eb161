#pragma once

#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

namespace design {

class OverlayScrollBar;

// A one-line text field in the kit's colours, to sit inside a field frame: no
// frame or background of its own, the text in the text colour, the placeholder
// faint, both following the appearance. Return and Enter are the field's own
// (they emit submitted) and never travel on to a parent, so that one press
// acts once. It tells when it gains or loses the keyboard focus, for a frame
// that shows it.
class TextField : public QLineEdit {
    Q_OBJECT

public:
    explicit TextField(const QFont& font, const QString& placeholder = {}, QWidget* parent = nullptr);

signals:
    void submitted();
    void focusChanged(bool focused);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Several lines of text in the kit's colours, to sit inside a field frame: no
// frame, and a transparent page so that the frame's fill shows through. Text
// taller than the area scrolls inside it, under the kit's thin floating bar.
class TextArea : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextArea(const QFont& font, QWidget* parent = nullptr);

    // Room kept free above and below the text, inside the area.
    void setVerticalPadding(int padding);
    // Shown over the right edge while the text is taller than the area, unless
    // the area is told it never shows one (one that grows with its text).
    OverlayScrollBar* scrollBar() const { return m_bar; }
    void setShowsScrollBar(bool shows);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeScrollBar();

    OverlayScrollBar* m_bar;
    bool m_showsBar = true;
};

// Gives a text widget the kit's text, placeholder and selection colours, now
// and whenever the appearance changes. A disabled field is dimmed as the kit's
// disabled controls are.
void applyKitTextColors(QWidget* field);

}  // namespace design
