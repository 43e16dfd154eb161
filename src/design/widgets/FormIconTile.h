#pragma once

#include "design/widgets/Painting.h"

#include <QString>
#include <QWidget>

namespace design {

// The tile at the head of a form row: a symbol in a tint on a soft rounded square.
class FormIconTile : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSide = 28;

    FormIconTile(const QString& systemName, Tint tint, QWidget* parent = nullptr);

    QString systemName() const { return m_systemName; }
    void setSystemName(const QString& systemName);
    void setTint(Tint tint);

    QSize sizeHint() const override { return QSize(kSide, kSide); }

    static void paint(QPainter& painter, const QRectF& square, const QString& systemName, const QColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_systemName;
    Tint m_tint;
};

}  // namespace design
