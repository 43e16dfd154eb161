#pragma once

#include "design/values/FontWeight.h"

#include <QAbstractButton>
#include <QString>

#include <optional>

namespace design {

// A round, symbol-only button on a soft circle. Space or Return clicks it when
// it has focus.
class ODIconButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kSymbolPerDiameter = 0.42;

    // `label` is what assistive technologies read; without one they read the symbol's name.
    explicit ODIconButton(const QString& systemName, qreal diameter = 28, std::optional<QString> label = std::nullopt,
                          QWidget* parent = nullptr);

    QString systemName() const { return m_systemName; }
    void setSystemName(const QString& systemName);
    qreal diameter() const { return m_diameter; }
    // The symbol's text size and weight where a screen asks for its own; by
    // default it grows with the diameter, semibold.
    void setSymbolStyle(qreal size, FontWeight weight);

    QSize sizeHint() const override;

    // The button's face in a square of its diameter.
    static void paint(QPainter& painter, const QRectF& square, const QString& systemName, bool pressed);
    static void paint(QPainter& painter, const QRectF& square, const QString& systemName, bool pressed,
                      qreal symbolSize, FontWeight weight);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_systemName;
    qreal m_diameter;
    std::optional<QString> m_label;
    std::optional<qreal> m_symbolSize;
    FontWeight m_symbolWeight = FontWeight::semibold;
};

}  // namespace design
