#pragma once

#include <QAbstractButton>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QHBoxLayout;

namespace design {

// One segment of a segmented control: its title and an optional symbol.
struct SegmentLabel {
    QString title;
    std::optional<QString> icon;
};

// A segment: a plain button that shows whether it is the selected one. Its
// selection changes only from outside (a click asks, the control decides).
class Segment : public QAbstractButton {
    Q_OBJECT

public:
    explicit Segment(SegmentLabel label, QWidget* parent = nullptr);

    const SegmentLabel& label() const { return m_label; }
    bool isSelected() const { return isChecked(); }
    void setSelected(bool selected) { setChecked(selected); }

    QSize sizeHint() const override;

    static QSizeF sizeFor(const SegmentLabel& label, bool selected);
    static void paint(QPainter& painter, const QRectF& rect, const SegmentLabel& label, bool selected);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void nextCheckState() override {}

private:
    SegmentLabel m_label;
};

// A small group of mutually exclusive choices side by side on a soft track, as
// wide as its segments. Holds no value: ODSegmented says which segments are selected.
class SegmentedControl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTrackPadding = 3;
    static constexpr int kSegmentSpacing = 2;
    static constexpr qreal kTrackRadius = 9;

    explicit SegmentedControl(QWidget* parent = nullptr);

    void setSegments(const std::vector<SegmentLabel>& labels);
    // One flag per segment.
    void setSelectedSegments(const std::vector<bool>& selected);
    QList<Segment*> segments() const { return m_segments; }

signals:
    void segmentClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_row;
    QList<Segment*> m_segments;
};

template <typename Value>
struct ODSegmentOption {
    Value value;
    QString title;
    std::optional<QString> icon;
};

// A segmented control over values: the segment whose value equals the selection
// is selected (none when no value does). A click selects its segment at once and
// reports the value, also when it was selected already. The values of one
// control are its segments' identities, so they should be distinct.
template <typename Value>
class ODSegmented : public SegmentedControl {
public:
    ODSegmented(std::vector<ODSegmentOption<Value>> options, Value selection,
                std::function<void(const Value&)> onChange = {}, QWidget* parent = nullptr)
        : SegmentedControl(parent),
          m_options(std::move(options)),
          m_selection(std::move(selection)),
          m_onChange(std::move(onChange)) {
        std::vector<SegmentLabel> labels;
        labels.reserve(m_options.size());
        for (const ODSegmentOption<Value>& option : m_options)
            labels.push_back(SegmentLabel{option.title, option.icon});
        setSegments(labels);
        showSelection();
        connect(this, &SegmentedControl::segmentClicked, this, [this](int index) { choose(index); });
    }

    const Value& selection() const { return m_selection; }
    // Shows another value; reports nothing.
    void setSelection(Value selection) {
        m_selection = std::move(selection);
        showSelection();
    }
    void setOnChange(std::function<void(const Value&)> onChange) { m_onChange = std::move(onChange); }

private:
    void choose(int index) {
        m_selection = m_options[static_cast<size_t>(index)].value;
        showSelection();
        // Copies: the handler may replace or delete this control.
        const auto onChange = m_onChange;
        const Value chosen = m_selection;
        if (onChange)
            onChange(chosen);
    }

    void showSelection() {
        std::vector<bool> selected;
        selected.reserve(m_options.size());
        for (const ODSegmentOption<Value>& option : m_options)
            selected.push_back(option.value == m_selection);
        setSelectedSegments(selected);
    }

    std::vector<ODSegmentOption<Value>> m_options;
    Value m_selection;
    std::function<void(const Value&)> m_onChange;
};

}  // namespace design
