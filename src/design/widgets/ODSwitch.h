#pragma once

#include <QAbstractButton>

namespace design {

// The on/off switch of the settings: a capsule track, the accent colour when on,
// with a round knob at the end that is on. It takes a slot 44 wide, the track
// at its leading edge. A click or Space flips it; assistive technologies see a
// check box. `clicked(bool)` reports the user's changes, `toggled(bool)` every change.
class ODSwitch : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kSlotWidth = 44;
    static constexpr QSize kTrackSize{36, 20};

    explicit ODSwitch(bool isOn = false, QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on) { setChecked(on); }

    QSize sizeHint() const override;

    static void paint(QPainter& painter, const QRectF& track, bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};

}  // namespace design
