#pragma once

#include "design/values/FontWeight.h"
#include "design/widgets/Painting.h"

#include <QAbstractButton>
#include <QString>

namespace design {

// A symbol that is a button, without a capsule or a disc: a small action at
// the end of a field ("open in map"). Named for tooltips and assistive
// technologies by the caller. Space or Return clicks it when it has focus.
class SymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    SymbolButton(const QString& systemName, qreal size, FontWeight weight, Tint color, const QString& label,
                 QWidget* parent = nullptr);

    QString systemName() const { return m_systemName; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_systemName;
    qreal m_size;
    FontWeight m_weight;
    Tint m_color;
};

}  // namespace design
