#include "design/widgets/CappedHeightView.h"

#include "design/values/Theme.h"
#include "design/widgets/Painting.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace design {

namespace {

QString rgba(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'f', 2);
}

}  // namespace

int wantedHeight(const QWidget& widget, int width) {
    if (widget.isHidden())
        return 0;
    return widget.hasHeightForWidth() ? widget.heightForWidth(width) : widget.sizeHint().height();
}

OverlayScrollBar::OverlayScrollBar(QAbstractScrollArea* area, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), m_area(area) {
    // A pointer's control: the keyboard scrolls the area itself.
    setFocusPolicy(Qt::NoFocus);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* inner = area->verticalScrollBar();
    setRange(inner->minimum(), inner->maximum());
    setPageStep(inner->pageStep());
    connect(inner, &QScrollBar::rangeChanged, this, [this](int minimum, int maximum) {
        setPageStep(m_area->verticalScrollBar()->pageStep());
        setRange(minimum, maximum);
    });
    connect(inner, &QScrollBar::valueChanged, this, &QScrollBar::setValue);
    connect(this, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    hide();
    useKitScrollBar(this);
}

bool OverlayScrollBar::hasRoomToScroll() const {
    return m_area->verticalScrollBar()->maximum() > 0;
}

void OverlayScrollBar::placeAlong(const QRect& edge) {
    setVisible(hasRoomToScroll());
    if (!isVisible())
        return;
    setGeometry(edge.right() + 1 - kWidth - kInset, edge.top() + kInset, kWidth, std::max(0, edge.height() - 2 * kInset));
    raise();
}

CappedHeightView::CappedHeightView(QWidget* parent)
    : QWidget(parent), m_scroll(new QScrollArea(this)), m_bar(nullptr) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->viewport()->installEventFilter(this);
    // The bar floats over the content instead, which keeps its full width.
    m_bar = new OverlayScrollBar(m_scroll, this);
    connect(m_bar, &QScrollBar::rangeChanged, this, &CappedHeightView::relayout);
}

void CappedHeightView::place(QPointer<QWidget>& slot, QWidget* widget) {
    if (slot == widget)
        return;
    delete slot.data();
    slot = widget;
    if (widget) {
        widget->setParent(this);
        widget->show();
    }
    contentChanged();
}

void CappedHeightView::setTop(QWidget* top) {
    place(m_top, top);
}

void CappedHeightView::setBottom(QWidget* bottom) {
    place(m_bottom, bottom);
}

void CappedHeightView::setMiddle(QWidget* middle) {
    if (m_middle == middle)
        return;
    if (m_middle)
        m_middle->removeEventFilter(this);
    delete m_scroll->takeWidget();
    m_middle = middle;
    if (middle) {
        m_scroll->setWidget(middle);
        // The scroll area fills what it holds with the toolkit's window colour;
        // the screen's own surface is to show through.
        middle->setAutoFillBackground(false);
        middle->installEventFilter(this);
    }
    contentChanged();
}

void CappedHeightView::setMaxHeight(double height) {
    if (height == m_maxHeight)
        return;
    m_maxHeight = height;
    contentChanged();
}

int CappedHeightView::naturalHeight(int width) const {
    int height = 0;
    for (const QWidget* part : {m_top.data(), m_middle.data(), m_bottom.data()})
        if (part)
            height += wantedHeight(*part, width);
    return height;
}

bool CappedHeightView::isScrolling() const {
    return naturalHeight(width()) > m_maxHeight;
}

int CappedHeightView::heightForWidth(int width) const {
    const int natural = naturalHeight(width);
    if (natural <= m_maxHeight)
        return natural;
    // The top and the bottom are never squeezed, whatever the cap.
    const int fixed = (m_top ? wantedHeight(*m_top, width) : 0) + (m_bottom ? wantedHeight(*m_bottom, width) : 0);
    return std::max(static_cast<int>(m_maxHeight), fixed);
}

QSize CappedHeightView::sizeHint() const {
    int width = 0;
    for (const QWidget* part : {m_top.data(), m_middle.data(), m_bottom.data()})
        if (part)
            width = std::max(width, part->sizeHint().width());
    return QSize(width, heightForWidth(this->width() > 0 ? this->width() : width));
}

QSize CappedHeightView::minimumSizeHint() const {
    return QSize(0, 0);
}

void CappedHeightView::resizeEvent(QResizeEvent*) {
    relayout();
}

void CappedHeightView::relayout() {
    const int width = this->width();
    const int topHeight = m_top ? wantedHeight(*m_top, width) : 0;
    const int bottomHeight = m_bottom ? wantedHeight(*m_bottom, width) : 0;
    const int middleHeight = std::max(0, height() - topHeight - bottomHeight);
    if (m_top)
        m_top->setGeometry(0, 0, width, topHeight);
    if (m_bottom)
        m_bottom->setGeometry(0, height() - bottomHeight, width, bottomHeight);
    m_scroll->setGeometry(0, topHeight, width, middleHeight);
    if (m_middle)
        m_bar->placeAlong(m_scroll->geometry());
    else
        m_bar->hide();
}

void CappedHeightView::contentChanged() {
    relayout();
    const int wanted = heightForWidth(width() > 0 ? width() : sizeHint().width());
    if (wanted == m_lastWanted)
        return;
    m_lastWanted = wanted;
    updateGeometry();
    emit wantedHeightChanged();
}

bool CappedHeightView::event(QEvent* event) {
    // A top or bottom part wants another height.
    if (event->type() == QEvent::LayoutRequest)
        contentChanged();
    return QWidget::event(event);
}

bool CappedHeightView::eventFilter(QObject* watched, QEvent* event) {
    // The middle part, or what the scroll area holds, wants another height.
    if (event->type() == QEvent::LayoutRequest && (watched == m_middle || watched == m_scroll->viewport()))
        QMetaObject::invokeMethod(this, &CappedHeightView::contentChanged, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void useKitScrollBar(QScrollBar* bar) {
    const auto style = [bar] {
        QColor handle = toQColor(Theme::text3());
        handle.setAlphaF(0.5f);
        bar->setStyleSheet(
            QStringLiteral("QScrollBar:vertical { background: transparent; width: %1px; margin: 0; }"
                           "QScrollBar::handle:vertical { background: %2; border-radius: 3px; min-height: 24px;"
                           " margin: 0 1px; }"
                           "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                           "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
                .arg(OverlayScrollBar::kWidth)
                .arg(rgba(handle)));
    };
    style();
    QObject::connect(&AppearanceSignal::instance(), &AppearanceSignal::changed, bar, style);
}

}  // namespace design
