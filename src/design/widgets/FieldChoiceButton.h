#pragma once

#include <QAbstractButton>
#include <QString>

namespace design {

// A field-like button that shows the current choice of a form row and offers
// the others when clicked: the choice on the left, a chevron on the right, in a
// form field box of the card colour; the whole box takes the click. What the
// click opens is the caller's.
class FieldChoiceButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kTextSize = 13;
    static constexpr qreal kChevronSize = 10;

    FieldChoiceButton(const QString& choice, const QString& chevron, QWidget* parent = nullptr);

    QString chevron() const { return m_chevron; }
    // Drawn with the focused border while what it opened is open.
    bool showsFocused() const { return m_focused; }
    void setShowsFocused(bool focused);
    void setChoice(const QString& choice);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static void paint(QPainter& painter, const QRectF& rect, const QString& choice, const QString& chevron,
                      bool focused);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_chevron;
    bool m_focused = false;
};

}  // namespace design
