#pragma once

#include <QPointer>
#include <QScrollBar>
#include <QWidget>

class QAbstractScrollArea;
class QScrollArea;

namespace design {

// The kit's thin bar floating over a scroll area's right edge, in place of the
// area's own (which it turns off and follows), so the content keeps its full
// width. Whoever places it says along which edge; it shows only while there is
// something to scroll.
class OverlayScrollBar : public QScrollBar {
    Q_OBJECT

public:
    static constexpr int kWidth = 8;
    static constexpr int kInset = 2;

    OverlayScrollBar(QAbstractScrollArea* area, QWidget* parent);

    bool hasRoomToScroll() const;
    // Stands inside the right edge of `edge` (in the parent's coordinates), or hides.
    void placeAlong(const QRect& edge);

private:
    QAbstractScrollArea* m_area;
};

// A screen of three stacked parts (a top, a middle and a bottom, each optional)
// that is as tall as its content up to a greatest height. When the content is
// taller, the screen takes exactly that height: the top and the bottom keep
// theirs and only the middle scrolls between them, its scroll bar floating
// over its right edge so that its width does not change. A part whose wanted
// height changes (a longer agenda, a new month) re-measures the whole.
class CappedHeightView : public QWidget {
    Q_OBJECT

public:
    explicit CappedHeightView(QWidget* parent = nullptr);

    // Each takes the widget; a null one removes that part.
    void setTop(QWidget* top);
    void setMiddle(QWidget* middle);
    void setBottom(QWidget* bottom);
    QWidget* top() const { return m_top; }
    QWidget* middle() const { return m_middle; }
    QWidget* bottom() const { return m_bottom; }

    double maxHeight() const { return m_maxHeight; }
    void setMaxHeight(double height);

    // The height of all three parts at that width, uncapped.
    int naturalHeight(int width) const;
    // The content is taller than the cap: the middle scrolls.
    bool isScrolling() const;
    QScrollArea* scrollArea() const { return m_scroll; }
    // The bar shown over the middle while it scrolls.
    QScrollBar* scrollBar() const { return m_bar; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    // The height the view wants changed (its content, or the cap).
    void wantedHeightChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place(QPointer<QWidget>& slot, QWidget* widget);
    void relayout();
    void contentChanged();

    QPointer<QWidget> m_top;
    QPointer<QWidget> m_middle;
    QPointer<QWidget> m_bottom;
    QScrollArea* m_scroll;
    OverlayScrollBar* m_bar;
    double m_maxHeight = 680;
    int m_lastWanted = -1;
};

// Gives a scroll bar the kit's look: a thin soft handle on no track, in the
// colours of the appearance in effect, for as long as the bar lives.
void useKitScrollBar(QScrollBar* bar);

// The height a widget wants at a width: its height for that width where it has one.
int wantedHeight(const QWidget& widget, int width);

}  // namespace design
