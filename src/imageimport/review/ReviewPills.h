#pragma once

#include "core/Calendar.h"
#include "core/Date.h"
#include "design/widgets/PlainButton.h"

#include <QString>
#include <QWidget>

#include <vector>

namespace imageimport {

// A day picked with one tap: a capsule with its title, or, when it stands for
// the day the review shows, with a check mark on the soft accent.
class DatePill final : public design::PlainButton {
    Q_OBJECT

public:
    static constexpr int kHeight = 28;

    explicit DatePill(const QString& title, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    bool m_selected = false;
};

// Today, tomorrow and the coming Saturday as pills, for a review without a day.
// The days are worked out anew at each showDays(), so a review left open over
// midnight offers the new ones.
class QuickDaysRow final : public QWidget {
    Q_OBJECT

public:
    explicit QuickDaysRow(QWidget* parent = nullptr);

    void showDays(const core::Calendar& calendar, core::Date now);
    const std::vector<DatePill*>& pills() const { return m_pills; }

signals:
    void picked(core::Date day);

private:
    std::vector<DatePill*> m_pills;
    std::vector<core::Date> m_days;
};

}  // namespace imageimport
