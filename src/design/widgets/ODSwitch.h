#pragma once

#include <QAbstractButton>

namespace design {

// The on/off switch of the settings: a capsule track, the accent colour when on,
// with a round knob at the end that is on. It takes a slot 44 wide, the track
// at its leading edge. A click or Space flips it; assistive technologies see a
// check box. `clicked(bool)` reports the user's changes, `toggled(bool)` every change.
// The mini size, for a switch beside a form's field, is its track alone.
class ODSwitch : public QAbstractButton {
    Q_OBJECT

public:
    enum class Size { regular, mini };

    static constexpr int kSlotWidth = 44;
    static constexpr QSize kTrackSize{36, 20};
    static constexpr QSize kMiniTrackSize{26, 15};

    explicit ODSwitch(bool isOn = false, QWidget* parent = nullptr);
    ODSwitch(bool isOn, Size size, QWidget* parent = nullptr);

    Size switchSize() const { return m_size; }

    bool isOn() const { return isChecked(); }
    void setOn(bool on) { setChecked(on); }

    QSize sizeHint() const override;

    static void paint(QPainter& painter, const QRectF& track, bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    Size m_size = Size::regular;
};

}  // namespace design
