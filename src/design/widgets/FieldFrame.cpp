#include "design/widgets/FieldFrame.h"

#include "design/widgets/KitWidget.h"

#include <QPainter>
#include <QVBoxLayout>

namespace design {

// The border is drawn over the content, as a text field's own background must
// not hide it; it lets every click through.
class FieldBorder final : public QWidget {
public:
    explicit FieldBorder(FieldFrame* frame) : QWidget(frame), m_frame(frame) {
        makeOverlay(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        FieldFrame::paintBorder(painter, QRectF(rect()), m_frame->m_cornerRadius, m_frame->isEmphasised());
    }

private:
    FieldFrame* m_frame;
};

FieldFrame::FieldFrame(QWidget* content, qreal cornerRadius, Tint fill, QMargins padding, bool focused,
                       QWidget* parent)
    : QWidget(parent), m_cornerRadius(cornerRadius), m_fill(fill), m_focused(focused), m_content(content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding);
    layout->setSpacing(0);
    if (content != nullptr)
        layout->addWidget(content);
    m_border = new FieldBorder(this);
    m_border->raise();
    followAppearance(this);
}

void FieldFrame::setFocused(bool focused) {
    if (m_focused == focused)
        return;
    m_focused = focused;
    emphasisChanged();
}

void FieldFrame::emphasisChanged() {
    m_border->update();
}

QColor FieldFrame::borderColor(bool emphasised) {
    return emphasised ? toQColor(Theme::flame()) : toQColor(Theme::line());
}

qreal FieldFrame::borderWidth(bool emphasised) {
    return emphasised ? kEmphasisedBorder : kRestingBorder;
}

void FieldFrame::paintFill(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QColor& fill) {
    Shape::rounded(cornerRadius).fill(painter, rect, fill);
}

void FieldFrame::paintBorder(QPainter& painter, const QRectF& rect, qreal cornerRadius, bool emphasised) {
    Shape::rounded(cornerRadius).strokeBorder(painter, rect, borderColor(emphasised), borderWidth(emphasised));
}

void FieldFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFill(painter, QRectF(rect()), m_cornerRadius, m_fill.resolve());
}

void FieldFrame::resizeEvent(QResizeEvent* event) {
    m_border->setGeometry(rect());
    m_border->raise();
    QWidget::resizeEvent(event);
}

FieldBackground::FieldBackground(QWidget* content, bool focused, bool error, QWidget* parent)
    : FieldFrame(content, kCornerRadius, Theme::card(), QMargins(), focused, parent), m_error(error) {}

void FieldBackground::setError(bool error) {
    if (m_error == error)
        return;
    m_error = error;
    emphasisChanged();
}

void FieldBackground::paint(QPainter& painter, const QRectF& rect, bool focused, bool error) {
    paintFill(painter, rect, kCornerRadius, toQColor(Theme::card()));
    paintBorder(painter, rect, kCornerRadius, focused || error);
}

FieldBox::FieldBox(QWidget* content, Tint fill, bool focused, QWidget* parent)
    : FieldFrame(content, kCornerRadius, fill, kPadding, focused, parent) {}

void FieldBox::paint(QPainter& painter, const QRectF& rect, const QColor& fill, bool focused) {
    paintFill(painter, rect, kCornerRadius, fill);
    paintBorder(painter, rect, kCornerRadius, focused);
}

FieldBackground* fieldBackground(QWidget* content, bool focused, bool error) {
    return new FieldBackground(content, focused, error);
}

FieldBox* fieldBox(QWidget* content, bool focused, Tint fill) {
    return new FieldBox(content, fill, focused);
}

}  // namespace design
