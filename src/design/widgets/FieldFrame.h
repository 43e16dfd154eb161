#pragma once

#include "design/widgets/Painting.h"

#include <QMargins>
#include <QPointer>
#include <QWidget>

namespace design {

// A rounded field around a content widget: a fill behind it and a border over
// it, inside the edge. The border turns to the accent while the field is
// emphasised (focused, or in error); the caller says when.
class FieldFrame : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kRestingBorder = 1;
    static constexpr qreal kEmphasisedBorder = 1.5;

    bool isFocused() const { return m_focused; }
    void setFocused(bool focused);
    QWidget* content() const { return m_content; }

    static QColor borderColor(bool emphasised);
    static qreal borderWidth(bool emphasised);
    static void paintFill(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QColor& fill);
    static void paintBorder(QPainter& painter, const QRectF& rect, qreal cornerRadius, bool emphasised);

protected:
    // Takes the content (none is allowed) and lays it out inside `padding`.
    FieldFrame(QWidget* content, qreal cornerRadius, Tint fill, QMargins padding, bool focused, QWidget* parent);

    virtual bool isEmphasised() const { return m_focused; }
    void emphasisChanged();
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class FieldBorder;

    qreal m_cornerRadius;
    Tint m_fill;
    bool m_focused;
    QPointer<QWidget> m_content;
    QWidget* m_border;
};

// The field look of text fields and menu buttons: the card colour, corners of 8
// and no padding of its own (the caller pads the content).
class FieldBackground : public FieldFrame {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 8;

    explicit FieldBackground(QWidget* content = nullptr, bool focused = false, bool error = false,
                             QWidget* parent = nullptr);

    bool hasError() const { return m_error; }
    void setError(bool error);

    // Focus and error look alike, and both together look like either.
    static void paint(QPainter& painter, const QRectF& rect, bool focused, bool error);

protected:
    bool isEmphasised() const override { return isFocused() || m_error; }

private:
    bool m_error;
};

// The framed box round a form field: the given fill, corners of 10, and the
// content padded 10 left and right and 8 top and bottom.
class FieldBox : public FieldFrame {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 10;
    static constexpr QMargins kPadding{10, 8, 10, 8};

    FieldBox(QWidget* content, Tint fill, bool focused = false, QWidget* parent = nullptr);

    static void paint(QPainter& painter, const QRectF& rect, const QColor& fill, bool focused);
};

// Wraps `content` in the field look and returns the wrapper, which takes its place.
FieldBackground* fieldBackground(QWidget* content, bool focused, bool error);
FieldBox* fieldBox(QWidget* content, bool focused, Tint fill);

}  // namespace design
