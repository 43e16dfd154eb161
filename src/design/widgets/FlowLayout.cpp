#include "design/widgets/FlowLayout.h"

#include <QWidget>

#include <algorithm>

namespace design {

FlowLayout::FlowLayout(int spacing, QWidget* parent) : QLayout(parent), m_spacing(spacing) {
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { m_items.append(item); }

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    return arrange(QRect(0, 0, width - margins.left() - margins.right(), 0), false) + margins.top() +
           margins.bottom();
}

QSize FlowLayout::sizeHint() const {
    return QSize(kDefaultWidth, heightForWidth(kDefaultWidth));
}

// As narrow as its widest item; each item keeps its size.
QSize FlowLayout::minimumSize() const {
    int widest = 0;
    for (const QLayoutItem* item : m_items)
        if (!item->isEmpty())
            widest = std::max(widest, item->sizeHint().width());
    const QMargins margins = contentsMargins();
    return QSize(widest + margins.left() + margins.right(), 0);
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect.marginsRemoved(contentsMargins()), true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
    int x = rect.x();
    int y = rect.y();
    int rowHeight = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize size = item->sizeHint();
        // The spacing before an item counts, the one after it does not; a row's
        // first item never wraps.
        if (x > rect.x() && x + size.width() > rect.x() + rect.width()) {
            x = rect.x();
            y += rowHeight + m_spacing;
            rowHeight = 0;
        }
        if (place)
            item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + m_spacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    return y + rowHeight - rect.y();
}

}  // namespace design
