#pragma once

#include "platform/images/ImageLoader.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QVariantAnimation;

namespace imageimport {

// The card shown while an image is prepared and read: the image in a well with a
// line sweeping over it, what is happening, a bar that grows and shrinks, and the
// promise that nothing leaves the computer. With reduced motion everything holds still.
class ImportReadingCard final : public QWidget {
    Q_OBJECT

public:
    explicit ImportReadingCard(QWidget* parent = nullptr);

    // The image being read; nothing until the session has one. The movement goes on.
    void setThumbnail(const std::optional<platform::LoadedImage>& image);

    // Where the movement stands: 0 at rest, 1 at the far end.
    qreal phase() const { return m_phase; }
    bool isMoving() const;
    // Where the thumbnail is drawn (empty without one), and the scan line's middle.
    QRectF thumbnailRect() const;
    qreal scanLineY() const;
    qreal barWidth() const;

    static QString accessibleLabel();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QRectF wellRect() const;
    QRectF barTrackRect() const;

    QImage m_thumbnail;
    QVariantAnimation* m_motion;
    qreal m_phase = 0;
    int m_textTop = 0;
};

}  // namespace imageimport
