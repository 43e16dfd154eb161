#pragma once

#include <QWidget>

class QHBoxLayout;

namespace design {

// The sunken strip along the bottom of a screen, a hairline on its top edge,
// holding one row of controls.
class SunkenFooter : public QWidget {
    Q_OBJECT

public:
    SunkenFooter(int horizontalPadding, int verticalPadding, QWidget* parent = nullptr);

    QHBoxLayout* row() const { return m_row; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_row;
};

}  // namespace design
