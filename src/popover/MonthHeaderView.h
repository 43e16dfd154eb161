#pragma once

#include <QWidget>

namespace app {
class AppSettings;
class AppState;
}  // namespace app
namespace design {
class ODButton;
class ODIconButton;
}  // namespace design

namespace popover {

class MonthTitle;

// The first line of the popover: the displayed month and year in large type,
// then previous month, Today and next month. Today is off while the current
// month is shown with today selected.
class MonthHeaderView : public QWidget {
    Q_OBJECT

public:
    MonthHeaderView(app::AppState& appState, app::AppSettings& settings, QWidget* parent = nullptr);

    design::ODIconButton* previousButton() const { return m_previous; }
    design::ODButton* todayButton() const { return m_today; }
    design::ODIconButton* nextButton() const { return m_next; }
    MonthTitle* title() const { return m_title; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();

    app::AppState& m_appState;
    app::AppSettings& m_settings;
    MonthTitle* m_title;
    design::ODIconButton* m_previous;
    design::ODButton* m_today;
    design::ODIconButton* m_next;
};

// The month's name and the year on one line, in two colours. When the room is
// too narrow the text shrinks, down to 70 per cent, and is then cut short.
class MonthTitle : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kFontSize = 30;
    static constexpr qreal kSmallestScale = 0.7;
    static constexpr qreal kGap = 7;

    explicit MonthTitle(QWidget* parent = nullptr);

    void setTitle(const QString& month, const QString& year);
    QString month() const { return m_month; }
    QString year() const { return m_year; }
    // The font size the title takes in its present width.
    qreal fittedSize() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal naturalWidth(qreal size) const;

    QString m_month;
    QString m_year;
};

}  // namespace popover
