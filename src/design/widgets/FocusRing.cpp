#include "design/widgets/FocusRing.h"

#include "design/widgets/KitWidget.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QWidget>

namespace design {

namespace {

class RingOverlay final : public QWidget {
public:
    RingOverlay(QWidget* parent, Shape shape) : QWidget(parent), m_shape(shape) {
        makeOverlay(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int outset = FocusRing::kOutset;
        FocusRing::paint(painter, QRectF(rect()).adjusted(outset, outset, -outset, -outset), m_shape);
    }

private:
    Shape m_shape;
};

}  // namespace

FocusRing::FocusRing(QWidget* control, Shape shape) : QObject(control), m_control(control), m_shape(shape) {
    control->installEventFilter(this);
}

FocusRing::~FocusRing() {
    delete m_overlay.data();
}

bool FocusRing::isShown() const {
    return m_overlay != nullptr && m_overlay->isVisible();
}

void FocusRing::paint(QPainter& painter, const QRectF& controlRect, const Shape& shape) {
    const QRectF frame = controlRect.adjusted(-kOutset, -kOutset, kOutset, kOutset);
    shape.strokeBorder(painter, frame, toQColor(Theme::focus()), 2);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_control) {
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut: {
                // Focus that comes back with the window (or after a menu) keeps the ring
                // it had; the first focus a window hands out by itself shows none.
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                    m_keyboardFocus = event->type() == QEvent::FocusIn && reason != Qt::MouseFocusReason;
                refresh();
                break;
            }
            case QEvent::KeyPress:
                // Keys pressed on the control, Tab among them, show where the focus is.
                if (!m_keyboardFocus) {
                    m_keyboardFocus = true;
                    refresh();
                }
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                // A click never leaves a ring behind, whatever focus there was.
                m_keyboardFocus = false;
                refresh();
                break;
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
            case QEvent::ParentChange:
            case QEvent::EnabledChange:
                refresh();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FocusRing::refresh() {
    QWidget* parent = m_control->parentWidget();
    const bool show = m_keyboardFocus && parent != nullptr && m_control->isVisible() && m_control->hasFocus() &&
                      m_control->isEnabled();
    if (!show) {
        if (m_overlay != nullptr)
            m_overlay->hide();
        return;
    }
    if (m_overlay == nullptr || m_overlay->parentWidget() != parent) {
        delete m_overlay.data();
        m_overlay = new RingOverlay(parent, m_shape);
    }
    // Around the contents rectangle: a control that keeps room beside what it
    // draws (a switch in its wider slot) says so with its contents margins.
    const QRect drawn = m_control->contentsRect().translated(m_control->pos());
    m_overlay->setGeometry(drawn.adjusted(-kOutset, -kOutset, kOutset, kOutset));
    m_overlay->show();
    m_overlay->raise();
}

FocusRing* odFocusRing(QWidget* control, Shape shape) {
    return new FocusRing(control, shape);
}

}  // namespace design
