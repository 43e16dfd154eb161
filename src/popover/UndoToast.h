#pragma once

#include <QString>
#include <QWidget>

#include <optional>

namespace design {
class KeycapButton;
}

namespace popover {

// The capsule that floats over the bottom of the main screen after a change
// that can be undone: the change named in two words with its symbol, and Undo
// with its keycap. Drawn in the popover's colours turned round: the text colour
// as the fill, the surface colour as the writing. When it shows, how long, and
// what Undo does are the root's.
class UndoToast : public QWidget {
    Q_OBJECT

public:
    explicit UndoToast(QWidget* parent = nullptr);

    static QString symbol(const QString& label);
    static QString title(const QString& label);

    QString label() const { return m_label; }
    void setLabel(const QString& label);
    // A failed undo: the message replaces the title while the toast stays.
    void setError(const std::optional<QString>& message);
    // A failure told without Undo: its message, wrapped on as many lines as it takes.
    void setNotice(const std::optional<QString>& message);
    // What the title line shows now.
    QString shownText() const;
    design::KeycapButton* undoButton() const { return m_undo; }

    // 0 hidden … 1 fully there: fades the whole toast.
    void setOpacity(qreal opacity);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void undoClicked();
    void hoveredChanged(bool hovered);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void place();
    // The height of the one line of an undo toast, inside its padding.
    qreal rowHeight() const;
    // Where a notice's text wraps, in a toast `width` wide.
    QRectF noticeTextArea(qreal width, qreal height) const;

    QString m_label;
    std::optional<QString> m_error;
    std::optional<QString> m_notice;
    design::KeycapButton* m_undo;
    qreal m_opacity = 1;
};

}  // namespace popover
