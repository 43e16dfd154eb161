#pragma once

#include <QLayout>
#include <QList>

namespace design {

// Lays its widgets out in reading order, in rows that wrap when the next one
// would pass the right edge, `spacing` apart across and down. Each keeps its
// own size (never stretched or shrunk; one wider than the row stands alone on
// it) and sits at the top of its row. Its height follows its width.
class FlowLayout : public QLayout {
    Q_OBJECT

public:
    // The width a row wraps at when nothing says how wide the layout is.
    static constexpr int kDefaultWidth = 340;

    explicit FlowLayout(int spacing, QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int horizontalSpacing() const { return m_spacing; }

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the visible items in `rect` when `place`; returns the height they take.
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> m_items;
    int m_spacing;
};

}  // namespace design
