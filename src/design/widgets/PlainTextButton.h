#pragma once

#include "design/widgets/PlainButton.h"

#include <QFont>
#include <QString>

namespace design {

// A button that is only its words, without a capsule.
class PlainTextButton : public PlainButton {
    Q_OBJECT

public:
    PlainTextButton(const QString& title, const QFont& font, Tint color, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Tint m_color;
};

}  // namespace design
