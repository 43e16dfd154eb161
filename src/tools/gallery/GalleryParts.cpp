#include "GalleryParts.h"

#include "design/widgets/ODFont.h"
#include "design/widgets/TextLine.h"

#include <QEvent>
#include <QVBoxLayout>
#include <QWidget>

namespace gallery {

QWidget* caption(const QString& text) {
    return new design::TextLine(text, design::ODFont::body(10, design::FontWeight::medium), design::Theme::text3());
}

QVBoxLayout* column(QWidget* page, int spacing) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(spacing);
    return layout;
}

FocusWhenShown::FocusWhenShown(QWidget* control) : QObject(control), m_control(control) {
    control->installEventFilter(this);
}

bool FocusWhenShown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_control && event->type() == QEvent::WindowActivate) {
        m_control->clearFocus();
        m_control->setFocus(Qt::TabFocusReason);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace gallery
