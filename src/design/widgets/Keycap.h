#pragma once

#include <QString>
#include <QWidget>

namespace design {

// A short text on a key-shaped plate, as the keycaps show it; they differ in
// how they measure and draw it.
class KeyLabel : public QWidget {
    Q_OBJECT

public:
    QString text() const { return m_text; }
    void setText(const QString& text);

    QSize sizeHint() const override;

protected:
    KeyLabel(const QString& text, QWidget* parent);

    virtual QSizeF measure(const QString& text) const = 0;
    virtual void draw(QPainter& painter, const QRectF& rect, const QString& text) const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

// One key of a keyboard shortcut drawn as a keycap ("Ctrl", "Shift", "K", "↩").
class Keycap : public KeyLabel {
    Q_OBJECT

public:
    static constexpr qreal kMinimumWidth = 20;

    explicit Keycap(const QString& text, QWidget* parent = nullptr) : KeyLabel(text, parent) {}

    static QSizeF sizeFor(const QString& text);
    static void paint(QPainter& painter, const QRectF& rect, const QString& text);

protected:
    QSizeF measure(const QString& text) const override { return sizeFor(text); }
    void draw(QPainter& painter, const QRectF& rect, const QString& text) const override {
        paint(painter, rect, text);
    }
};

// The keycap shown on accent (primary) buttons: white text on a faint dark
// plate that lets the button's colour through.
class AccentKeycap : public KeyLabel {
    Q_OBJECT

public:
    static constexpr qreal kMinimumWidth = 18;

    explicit AccentKeycap(const QString& text, QWidget* parent = nullptr) : KeyLabel(text, parent) {}

    static QSizeF sizeFor(const QString& text);
    // A plate with this side padding and no least width, where a screen sets its own.
    static QSizeF sizeFor(const QString& text, qreal horizontalPadding);
    static void paint(QPainter& painter, const QRectF& rect, const QString& text);

protected:
    QSizeF measure(const QString& text) const override { return sizeFor(text); }
    void draw(QPainter& painter, const QRectF& rect, const QString& text) const override {
        paint(painter, rect, text);
    }
};

}  // namespace design
