#pragma once

#include "design/widgets/Painting.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace design {

// Text shown verbatim in a kit font and colour, wrapped onto as many lines as
// the width it is given needs (between words where it can, inside a word that is
// wider than the whole line), and cut only where a number of lines is set.
class TextBlock : public QWidget {
    Q_OBJECT

public:
    TextBlock(const QString& text, const QFont& font, Tint color, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColor(Tint color);
    // Left by default; centred text is centred line by line.
    void setAlignment(Qt::Alignment alignment);
    // At most this many lines, the last one cut with an ellipsis; 0: as many as it needs.
    void setMaximumLines(int lines);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // The height the text takes when wrapped to `width`.
    static qreal heightFor(const QString& text, const QFont& font, qreal width, int maximumLines = 0);
    static void paint(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                      const QColor& color, Qt::Alignment alignment = Qt::AlignLeft, int maximumLines = 0);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString m_text;
    Tint m_color;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    int m_maximumLines = 0;
};

}  // namespace design
