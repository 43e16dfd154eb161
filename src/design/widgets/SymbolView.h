#pragma once

#include "design/values/FontWeight.h"
#include "design/widgets/Painting.h"

#include <QString>
#include <QWidget>

namespace design {

// One symbol as a widget, at a text size and weight, in a colour: the square it
// takes is Symbols::boxSide(size).
class SymbolView : public QWidget {
    Q_OBJECT

public:
    SymbolView(const QString& name, qreal size, FontWeight weight, Tint color, QWidget* parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString& name);
    void setColor(Tint color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    qreal m_size;
    FontWeight m_weight;
    Tint m_color;
};

}  // namespace design
