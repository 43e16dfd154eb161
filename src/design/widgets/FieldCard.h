#pragma once

#include "core/Color.h"
#include "design/widgets/PlainButton.h"

#include <QString>

#include <optional>

namespace design {

// The face of a field card, a tile that shows one value of what is being made
// and opens its pop-over or menu when tapped: an icon in its tint, a small
// caption over the value (with a calendar's dot before it where it has one),
// and a chevron. `focused` (its pop-over is open, or it wants attention) turns
// the border to the accent.
//
// Two looks: `card` (quick add: the caption upper-cased, the value in the
// secondary colour until it is `active`, i.e. read from the line or chosen)
// and `chip` (image review: a fixed height, the caption as given, the value
// always in the text colour, and a badge saying whether the value was found
// in the image or is a default).
class FieldCard : public PlainButton {
    Q_OBJECT

public:
    enum class Look { card, chip };
    enum class Tag { found, defaulted };

    FieldCard(Look look, const QString& label, const QString& icon, Tint tint, QWidget* parent = nullptr);

    Look look() const { return m_look; }
    QString label() const { return m_label; }
    QString value() const { return m_value; }
    void setValue(const QString& value);
    std::optional<core::Color> valueDot() const { return m_dot; }
    void setValueDot(std::optional<core::Color> dot);
    std::optional<Tag> tag() const { return m_tag; }
    void setTag(std::optional<Tag> tag);
    bool isFocused() const { return m_focused; }
    void setFocused(bool focused);
    bool isActive() const { return m_active; }
    void setActive(bool active);

    // What the caption reads: the label upper-cased on a card, as given on a chip.
    QString caption() const;
    static QString tagText(Tag tag);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();
    qreal cornerRadius() const;

    Look m_look;
    QString m_label;
    QString m_icon;
    Tint m_tint;
    QString m_value;
    std::optional<core::Color> m_dot;
    std::optional<Tag> m_tag;
    bool m_focused = false;
    bool m_active = false;
};

}  // namespace design
