#pragma once

#include "design/widgets/Painting.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace design {

// One line of text, shown verbatim in a kit font and colour; shortened
// with an ellipsis when the room is too narrow.
class TextLine : public QWidget {
    Q_OBJECT

public:
    TextLine(const QString& text, const QFont& font, Tint color, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void setColor(Tint color);
    // Extra space after every letter, in pixels.
    void setTracking(qreal tracking);
    // Where a text too long for the room loses its letters: at the end by default.
    void setElideMode(Qt::TextElideMode mode);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString m_text;
    Tint m_color;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
};

}  // namespace design
