#pragma once

#include <QWidget>

class QVariantAnimation;

namespace imageimport {

// Covers the popover while something is dragged over it and says whether a drop
// would be read. It only paints: the popover underneath takes the drop.
class ImageDropZone final : public QWidget {
    Q_OBJECT

public:
    explicit ImageDropZone(QWidget* parent = nullptr);

    static constexpr int kFadeMs = 150;

    bool accepts() const { return m_accepts; }
    void setAccepts(bool accepts);
    // Fades the zone in or out (at once when motion is reduced); hidden once gone.
    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    qreal presence() const { return m_presence; }

    static QString title(bool accepts);
    static QString subtitle(bool accepts);
    static QString symbol(bool accepts);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The name assistive technologies read for the whole zone.
    void nameForAccessibility();

    bool m_accepts = true;
    bool m_shown = false;
    qreal m_presence = 1;
    QVariantAnimation* m_fade;
};

}  // namespace imageimport
