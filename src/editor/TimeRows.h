#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QString>
#include <QWidget>

class QHBoxLayout;
class QVBoxLayout;

namespace design {
class AnchoredPopover;
class ODSwitch;
}  // namespace design

namespace editor {

class EditorPopover;
class EventEditorModel;

// A button of the time rows, in a field box: an optional fixed-width label
// ("Starts"), the moment it stands for, an optional length ("45m") and a chevron.
// The moment's text may shrink to a least scale of its size before it is cut.
class TimeButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kValueSize = 13;
    static constexpr qreal kLabelSize = 11;
    static constexpr qreal kChevronSize = 9;
    static constexpr qreal kLabelWidth = 38;
    static constexpr qreal kSpacing = 6;

    explicit TimeButton(const QString& label = QString(), QWidget* parent = nullptr);

    QString label() const { return m_label; }
    QString value() const { return text(); }
    QString length() const { return m_length; }
    void setValue(const QString& value, const QString& length = QString());
    void setMinimumScale(qreal scale);
    // The size the value is drawn at in the room it has now, and whether it shows whole there.
    qreal valueFontSize() const;
    bool showsWholeValue() const;
    // The least width at which the value shows whole, shrunk as far as it may.
    int wholeValueWidth() const;
    // Drawn with the focused border while its pop-over is open.
    bool showsFocused() const { return m_focused; }
    void setShowsFocused(bool focused);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRectF valueRect() const;
    // The button's width around a value that takes `valueWidth`.
    qreal widthAround(qreal valueWidth) const;

    QString m_label;
    QString m_length;
    qreal m_minimumScale = 1;
    bool m_focused = false;
};

// The hint laid over the day button of an event kept in another zone: where its
// clock is, and when it starts on this computer's ("Tokyo (17:00 here)").
class TimeZoneChip : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kTextSize = 10;
    // How far it stands right of and below the day button's bottom-left corner.
    static constexpr QPoint kOffset{8, 9};

    explicit TimeZoneChip(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    // Stands over `button`'s bottom-left corner, following it as it moves.
    void follow(QWidget* button);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool shows() const;
    void place();

    QString m_text;
    QPointer<QWidget> m_button;
};

// The event's start and end in the form. A one-day event has one row: its day
// and times on one button, and the all-day switch. An event over several days
// has two: "Starts" with the switch, then "Ends". Which one is decided anew on
// every change of the draft. Each button opens its pop-over through the model.
// Where the first button's day and times would be cut beside the switch, the
// switch goes to a line of its own below it: the times are what the row is for.
class TimeRows : public QWidget {
    Q_OBJECT

public:
    explicit TimeRows(EventEditorModel& model, QWidget* parent = nullptr);
    ~TimeRows() override;

    // Null while the draft spans several days.
    TimeButton* sameDayButton() const { return m_sameDay; }
    // Null while the draft lies within one day.
    TimeButton* startButton() const { return m_start; }
    TimeButton* endButton() const { return m_end; }
    design::ODSwitch* allDaySwitch() const { return m_allDay; }
    // Whether the switch stands beside the first button (else on the line below it).
    bool showsSwitchBeside() const { return m_toggleBeside; }
    // Laid over the day button; hidden without a foreign zone or for an all-day event.
    TimeZoneChip* zoneChip() const { return m_chip.data(); }
    bool showsTwoRows() const { return m_twoRows; }
    // The pop-over open now, if any.
    design::AnchoredPopover* openPopover() const;

    // Where the switch stands depends on the width: the rows lay out their one
    // child themselves, so that the form asks these of them and not of a layout.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build(bool twoRows);
    QWidget* allDayToggle();
    void placeToggle();
    void placeRows();
    bool fitsBeside(int width) const;
    // What the switch's line under the first button adds to the rows' height.
    int lineBelowHeight() const;
    // Keeps that line clear of the zone's chip.
    int chipClearance() const;
    void refresh();
    void syncPopovers();

    EventEditorModel& m_model;
    QWidget* m_rows = nullptr;
    TimeButton* m_sameDay = nullptr;
    TimeButton* m_start = nullptr;
    TimeButton* m_end = nullptr;
    design::ODSwitch* m_allDay = nullptr;
    QWidget* m_toggle = nullptr;
    QHBoxLayout* m_firstRow = nullptr;
    QWidget* m_toggleLine = nullptr;
    bool m_toggleBeside = true;
    // Owned by these rows, though its parent is theirs.
    QPointer<TimeZoneChip> m_chip;
    bool m_twoRows = false;
    EditorPopover* m_dayPopover;
    EditorPopover* m_startPopover;
    EditorPopover* m_endPopover;
};

}  // namespace editor
