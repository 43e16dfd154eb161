#pragma once

#include "design/widgets/ODButton.h"

#include <QString>

#include <optional>

namespace design {

// A kit button that shows its keyboard shortcut: an optional symbol, the title,
// then the key on a keycap (the accent keycap on a primary button, the plain one
// otherwise). The shortcut itself is the placing screen's to attach.
class KeycapButton : public ODStyledButton {
    Q_OBJECT

public:
    KeycapButton(const QString& title, std::optional<QString> icon, const QString& keycap,
                 ODButtonKind kind = ODButtonKind::primary, ODButtonSize size = ODButtonSize::medium,
                 bool fullWidth = false, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    // Also its accessible name.
    void setTitle(const QString& title);
    QString keycap() const { return m_keycap; }
    // The accent keycap with this side padding and no least width, for a screen
    // that draws its own; nullopt is the kit's plate.
    void setAccentKeycapPadding(std::optional<qreal> horizontal);

    static QSizeF measureLabel(const ODButtonStyle& style, const QString& title, const std::optional<QString>& icon,
                               const QString& keycap, std::optional<qreal> accentKeycapPadding = std::nullopt);
    static void drawLabel(QPainter& painter, const QRectF& rect, const ODButtonStyle& style, const QString& title,
                          const std::optional<QString>& icon, const QString& keycap, const QColor& color,
                          std::optional<qreal> accentKeycapPadding = std::nullopt);

protected:
    QSizeF labelSize() const override;
    void paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const override;

private:
    QString m_title;
    std::optional<QString> m_icon;
    QString m_keycap;
    std::optional<qreal> m_accentKeycapPadding;
};

}  // namespace design
