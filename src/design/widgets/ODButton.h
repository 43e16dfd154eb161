#pragma once

#include "design/widgets/Painting.h"

#include <QAbstractButton>
#include <QFont>
#include <QMarginsF>
#include <QString>

#include <optional>

namespace design {

enum class ODButtonKind { primary, secondary, ghost, danger };
enum class ODButtonSize { small, medium, large };

// The look of the kit's capsule buttons: fill, border and label colour by kind,
// font and padding by size. Buttons whose label is built elsewhere draw with it
// through ODStyledButton.
class ODButtonStyle {
public:
    static constexpr qreal kDisabledOpacity = 0.45;

    ODButtonStyle(ODButtonKind kind, ODButtonSize size) : m_kind(kind), m_size(size) {}

    ODButtonKind kind() const { return m_kind; }
    ODButtonSize size() const { return m_size; }

    qreal labelFontSize() const;
    // The size of a symbol in the label.
    qreal iconFontSize() const;
    QFont labelFont() const;
    // Horizontal padding left and right, vertical padding top and bottom.
    QMarginsF padding() const;

    QColor labelColor() const;
    QColor background(bool pressed) const;
    QColor borderColor() const;
    qreal borderWidth() const;

    // The capsule around a label of that size.
    QSizeF sizeFor(const QSizeF& labelSize) const;
    // Fills and borders the capsule in `rect`; returns where the label goes.
    QRectF paintChrome(QPainter& painter, const QRectF& rect, bool pressed) const;

private:
    ODButtonKind m_kind;
    ODButtonSize m_size;
};

// A push button drawn with ODButtonStyle: capsule, pressed fill, keyboard focus
// ring, dimmed while disabled. Space or Return clicks it when it has focus.
// Subclasses say what the label is.
class ODStyledButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit ODStyledButton(ODButtonStyle style, QWidget* parent = nullptr);

    const ODButtonStyle& buttonStyle() const { return m_style; }
    void setButtonStyle(ODButtonStyle style);
    bool isFullWidth() const { return m_fullWidth; }
    // Stretch over the width offered, the label centred; otherwise hug the label.
    void setFullWidth(bool fullWidth);
    // Fades the whole button, on top of the disabled look.
    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    virtual QSizeF labelSize() const = 0;
    virtual void paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const = 0;
    // Call when what labelSize() returns changes.
    void labelChanged();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ODButtonStyle m_style;
    bool m_fullWidth = false;
    qreal m_opacity = 1;
};

// The kit's text button: an optional symbol and a title, side by side.
class ODButton : public ODStyledButton {
    Q_OBJECT

public:
    explicit ODButton(const QString& title, std::optional<QString> icon = std::nullopt,
                      ODButtonKind kind = ODButtonKind::primary, ODButtonSize size = ODButtonSize::medium,
                      bool fullWidth = false, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    // Shown verbatim; empty shows no text.
    void setTitle(const QString& title);
    std::optional<QString> icon() const { return m_icon; }
    void setIcon(std::optional<QString> icon);

    // The label of a symbol and a title in a style, for buttons that draw it themselves.
    static QSizeF measureLabel(const ODButtonStyle& style, const QString& title, const std::optional<QString>& icon);
    static void drawLabel(QPainter& painter, const QRectF& rect, const ODButtonStyle& style, const QString& title,
                           const std::optional<QString>& icon, const QColor& color);

protected:
    QSizeF labelSize() const override;
    void paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const override;

private:
    void updateAccessibleName();

    QString m_title;
    std::optional<QString> m_icon;
};

}  // namespace design
