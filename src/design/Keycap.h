#pragma once

#include <QString>
#include <QWidget>

namespace design {

// One key of a keyboard shortcut drawn as a keycap ("Ctrl", "Shift", "K", "↩").
class Keycap : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kMinimumWidth = 20;

    explicit Keycap(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    QSize sizeHint() const override;

    static QSizeF sizeFor(const QString& text);
    static void paint(QPainter& painter, const QRectF& rect, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

// The keycap shown on accent (primary) buttons: white text on a faint dark
// plate that lets the button's colour through.
class AccentKeycap : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kMinimumWidth = 18;

    explicit AccentKeycap(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    QSize sizeHint() const override;

    static QSizeF sizeFor(const QString& text);
    static void paint(QPainter& painter, const QRectF& rect, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

}  // namespace design
