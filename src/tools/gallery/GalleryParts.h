#pragma once

#include <QObject>
#include <QString>

class QEvent;
class QVBoxLayout;
class QWidget;

// Small pieces the gallery's pages share.
namespace gallery {

// A small grey caption under or beside a control.
QWidget* caption(const QString& text);

// The page's rows, one under the other, kept 4 px from its edges.
QVBoxLayout* column(QWidget* page, int spacing);

// Gives the control keyboard focus once its window is active, to show its ring.
class FocusWhenShown : public QObject {
public:
    explicit FocusWhenShown(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_control;
};

}  // namespace gallery
