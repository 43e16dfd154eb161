#include "design/widgets/AnchoredPopover.h"

#include "design/values/Theme.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/Painting.h"
#include "platform/windowing/Compositing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace design {

namespace {

// The least room kept between the panel and the edges of the screen.
constexpr int kScreenMargin = 4;

// A part of the content shown or hidden just now has only asked for a new
// layout, later: laid out now, inside out, each layout passes its new size up,
// and the window's least size (which its layout sets) shrinks with the content.
void layOutNow(QWidget* widget) {
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !child->isHidden())
            layOutNow(child);
    if (QLayout* layout = widget->layout())
        layout->activate();
}

}  // namespace

AnchoredPopover::AnchoredPopover(QWidget* content, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint), m_content(content) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kArrowHeight, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
    followAppearance(this);
}

AnchoredPopover::~AnchoredPopover() = default;

QSize AnchoredPopover::sizeHint() const {
    // A content of a set width that wraps its text is as tall as it is at that width.
    const QSize content = m_content->sizeHint();
    const int width = std::clamp(content.width(), m_content->minimumWidth(), m_content->maximumWidth());
    const int height = m_content->hasHeightForWidth() ? m_content->heightForWidth(width) : content.height();
    return QSize(width, height + kArrowHeight);
}

QRect AnchoredPopover::placement(const QRect& anchorRect, const QSize& size, const QRect& screen, bool preferAbove) {
    const int middle = anchorRect.center().x() + 1;
    int x = middle - size.width() / 2;
    x = std::clamp(x, screen.left() + kScreenMargin,
                   std::max(screen.left() + kScreenMargin, screen.right() + 1 - kScreenMargin - size.width()));
    const int below = anchorRect.bottom() + 1 + kGap;
    const int above = anchorRect.top() - kGap - size.height();
    // Where neither has room, below keeps at least its top, with the arrow, on the screen.
    const bool fitsBelow = below + size.height() <= screen.bottom() + 1;
    const bool fitsAbove = above >= screen.top();
    const bool standsAbove = preferAbove ? fitsAbove : !fitsBelow && fitsAbove;
    return QRect(QPoint(x, standsAbove ? above : below), size);
}

int AnchoredPopover::arrowX(const QRect& anchorRect, const QRect& frame) {
    const int inner = static_cast<int>(kCornerRadius) + kArrowWidth / 2;
    const int wanted = anchorRect.center().x() + 1 - frame.left();
    return std::clamp(wanted, inner, std::max(inner, frame.width() - inner));
}

void AnchoredPopover::showBelow(QWidget* anchor) {
    open(anchor, false);
}

void AnchoredPopover::showAbove(QWidget* anchor) {
    open(anchor, true);
}

void AnchoredPopover::open(QWidget* anchor, bool preferAbove) {
    m_anchor = anchor;
    m_preferAbove = preferAbove;
    m_userClose = false;
    m_outsideClick.reset();
    reposition();
    if (!isVisible()) {
        show();
        m_content->setFocus(Qt::PopupFocusReason);
    }
}

void AnchoredPopover::reposition() {
    if (!m_anchor)
        return;
    layOutNow(this);
    const QRect anchorRect(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    const QScreen* screen = m_anchor->screen();
    QRect room =
        screen ? screen->availableGeometry() : QRect(anchorRect.topLeft() - QPoint(2000, 2000), QSize(4000, 4000));
    // Sideways it keeps over the window it hangs from, where that is wide enough:
    // a card's pop-over stays over the popover, not half beside it.
    const QSize wanted = sizeHint();
    const QRect window = m_anchor->window()->frameGeometry();
    if (window.width() >= wanted.width() + 2 * kScreenMargin) {
        room.setLeft(std::max(room.left(), window.left()));
        room.setRight(std::min(room.right(), window.right()));
    }
    const QRect frame = placement(anchorRect, wanted, room, m_preferAbove);
    const int tip = arrowX(anchorRect, frame);
    const bool above = frame.top() < anchorRect.top();
    const bool reshaped = tip != m_arrowX || above != m_above;
    m_arrowX = tip;
    if (above != m_above) {
        m_above = above;
        layout()->setContentsMargins(0, above ? 0 : kArrowHeight, 0, above ? kArrowHeight : 0);
        layout()->activate();
    }
    const bool resized = frame.size() != size();
    setGeometry(frame);
    // A new size cuts the window anew; an arrow moved within the same size must too.
    if (reshaped && !resized)
        cutToOutline();
    update();
}

QPainterPath AnchoredPopover::outline(qreal inset) const {
    const qreal top = m_above ? 0 : kArrowHeight;
    QPainterPath panel;
    panel.addRoundedRect(QRectF(inset, top + inset, width() - 2 * inset, height() - kArrowHeight - 2 * inset),
                         kCornerRadius - inset, kCornerRadius - inset);
    // Drawn pointing up, then turned over for a panel above its anchor: the
    // base reaches one pixel into the panel, so that no seam shows between them.
    const qreal half = kArrowWidth / 2.0 - inset;
    const auto y = [this](qreal down) { return m_above ? height() - down : down; };
    QPainterPath arrow;
    arrow.moveTo(m_arrowX - half, y(kArrowHeight + inset + 1));
    arrow.lineTo(m_arrowX, y(inset));
    arrow.lineTo(m_arrowX + half, y(kArrowHeight + inset + 1));
    arrow.closeSubpath();
    return panel.united(arrow);
}

void AnchoredPopover::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Not yet hung from anything: the arrow in the middle.
    if (!m_anchor)
        m_arrowX = width() / 2;
    cutToOutline();
}

void AnchoredPopover::cutToOutline() {
    // Without a compositor the see-through corners would show black, and so
    // would every pixel the outline covers in part.
    if (platform::desktopComposites())
        clearMask();
    else
        setMask(wholePixels(outline(), size()));
}

void AnchoredPopover::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // As the kit's menus: the card's colour within a strong line, which keeps it
    // apart from the popover it hangs over.
    painter.fillPath(outline(), toQColor(Theme::card()));
    painter.strokePath(outline(0.5), QPen(toQColor(Theme::strokeStrong()), 1));
}

void AnchoredPopover::mousePressEvent(QMouseEvent* event) {
    if (outline().contains(event->position())) {
        event->accept();
        return;
    }
    // A pop-up sees every click while it is open, also those outside it.
    m_userClose = true;
    m_outsideClick = event->globalPosition().toPoint();
    event->accept();
    close();
}

void AnchoredPopover::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        m_userClose = true;
        m_outsideClick.reset();
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool AnchoredPopover::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Hide && m_userClose) {
        m_userClose = false;
        emit dismissed(std::exchange(m_outsideClick, std::nullopt));
    }
    return handled;
}

}  // namespace design
