#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace design {

// A small panel hanging below a widget (its anchor), its arrow pointing up at
// the middle of the anchor's bottom edge: the pop-over of a field card, a
// picker or a chip. Where the screen has room only above the anchor, or the
// owner asks for above, it stands there, its arrow pointing down at the
// anchor's top edge. It is a pop-up
// window, so it may reach past the window of its anchor, and it closes as
// pop-ups do: on a click outside it and on Escape, both of which it takes
// itself, before the window under it sees them. The click that closes it is
// not passed on, so a second tap on its anchor only closes it; `dismissed`
// tells where that click was, so that a tap on another card can open that one.
//
// The owner keeps what is open in its model: it closes the pop-over with
// close() when the model says so, and clears the model on `dismissed`.
class AnchoredPopover : public QWidget {
    Q_OBJECT

public:
    // The room the arrow takes beside the panel, and the panel's corners.
    static constexpr int kArrowHeight = 8;
    static constexpr int kArrowWidth = 18;
    static constexpr qreal kCornerRadius = 10;
    // The gap between the anchor's edge and the arrow's tip.
    static constexpr int kGap = 2;

    // Takes the content, laid out inside the panel with no padding of its own
    // (the content pads itself). `parent` is the widget whose life it shares.
    explicit AnchoredPopover(QWidget* content, QWidget* parent);
    ~AnchoredPopover() override;

    QWidget* content() const { return m_content; }
    QWidget* anchor() const { return m_anchor; }

    // Shows it below the anchor (above where below has no room), kept on the
    // anchor's screen; again while shown, moves it there (after the anchor or
    // the content changed size).
    void showBelow(QWidget* anchor);
    // The same, above the anchor (below where above has no room).
    void showAbove(QWidget* anchor);
    // Where the panel would stand for an anchor at `anchorRect` (global) on a
    // screen whose free room is `screen`: on the side asked for, or on the other
    // where only that has room, the arrow at the anchor's middle, moved sideways
    // to stay on the screen.
    static QRect placement(const QRect& anchorRect, const QSize& size, const QRect& screen, bool preferAbove = false);
    // Where along its edge the arrow's tip stands, for the panel at `frame`.
    static int arrowX(const QRect& anchorRect, const QRect& frame);
    bool standsAbove() const { return m_above; }

    QSize sizeHint() const override;

signals:
    // Closed by the user: a click outside it (at that global point) or Escape
    // (no point). Not sent for close() called by the owner.
    void dismissed(std::optional<QPoint> outsideClick);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The panel and its arrow, `inset` inside their edge.
    QPainterPath outline(qreal inset = 0) const;
    void open(QWidget* anchor, bool preferAbove);
    void reposition();
    void cutToOutline();

    QWidget* m_content;
    QPointer<QWidget> m_anchor;
    int m_arrowX = 0;
    bool m_above = false;
    bool m_preferAbove = false;
    bool m_userClose = false;
    std::optional<QPoint> m_outsideClick;
};

}  // namespace design
