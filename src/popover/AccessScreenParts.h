#pragma once

#include "design/widgets/Painting.h"

#include <QPoint>
#include <QString>
#include <QWidget>

namespace design {
class TextBlock;
}

namespace popover {

// The top of the two screens shown before the calendars can be read: a tile
// drawing, a title and a message that wraps onto as many lines as it needs.
// The drawing may reach past its frame (turned tiles, a badge), into the
// header's margins: `frameOrigin` is where the frame's top left lies in it.
class AccessScreenHeader : public QWidget {
    Q_OBJECT

public:
    AccessScreenHeader(QWidget* drawing, QPoint frameOrigin, int frameHeight, const QString& title, qreal titleSize,
                       const QString& message, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    QString message() const;
    void setMessage(const QString& message, design::Tint color);

private:
    QString m_title;
    design::TextBlock* m_message;
};

// One line of text that, when the room is short, first shrinks its letters down
// to 85 % of their size and only then shortens with an ellipsis.
class ShrinkingTextLine : public QWidget {
    Q_OBJECT

public:
    ShrinkingTextLine(const QString& text, const QFont& font, design::Tint color, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    design::Tint m_color;
};

}  // namespace popover
