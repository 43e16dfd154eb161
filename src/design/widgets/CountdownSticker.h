#pragma once

#include <QString>
#include <QWidget>

namespace design {

// A small tilted capsule with a short countdown ("in 5 min"). The widget keeps
// room round the capsule for its turned corners.
class CountdownSticker : public QWidget {
    Q_OBJECT

public:
    explicit CountdownSticker(const QString& text, qreal tilt = -2.5, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    qreal tilt() const { return m_tilt; }

    QSize sizeHint() const override;

    // What is read out: "in 5 min" is read "Starts in 5 min".
    static QString accessibleLabel(const QString& text);
    // The capsule, before any tilt.
    static QSizeF capsuleSize(const QString& text);
    // Draws the sticker whose unturned capsule occupies `capsuleRect`.
    static void paint(QPainter& painter, const QRectF& capsuleRect, const QString& text, qreal tilt);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    qreal m_tilt;
};

}  // namespace design
