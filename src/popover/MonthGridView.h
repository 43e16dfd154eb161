#pragma once

#include "popover/MonthGridModel.h"

#include <QWidget>

#include <vector>

class QAbstractButton;

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace platform {
class Haptics;
}
namespace store {
class CalendarStore;
}

namespace popover {

class DayCell;
class WeekNumberLabel;

// The month calendar of the popover: a weekday header and six weeks of day
// buttons for the displayed month, with an optional week-number column. A day
// shows coloured marks for its events; clicking it selects it, and a day of a
// neighbouring month also moves the grid there. Whenever the grid is shown or
// its month changes it asks the store, on a later turn of the event loop, to
// load the days shown.
class MonthGridView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSidePadding = 10;
    static constexpr int kBottomPadding = 10;
    static constexpr int kWeekColumnWidth = 26;
    static constexpr qreal kCornerRadius = 9;

    MonthGridView(store::CalendarStore& store, app::AppState& appState, app::AppSettings& settings,
                  platform::Haptics& haptics, QWidget* parent = nullptr);
    ~MonthGridView() override;

    const MonthGridModel& model() const { return m_model; }
    // The day buttons, row by row (0 = top left).
    QAbstractButton* cell(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void requestLoad();
    void select(core::Date date);
    void layoutChildren();
    int headerHeight() const;
    int rowHeight() const;
    // The left edge of each of the seven columns and the right edge of the last.
    std::vector<int> columnEdges() const;

    store::CalendarStore& m_store;
    app::AppState& m_appState;
    app::AppSettings& m_settings;
    platform::Haptics& m_haptics;
    MonthGridModel m_model;
    std::vector<DayCell*> m_cells;
    std::vector<WeekNumberLabel*> m_weekNumbers;
};

}  // namespace popover
