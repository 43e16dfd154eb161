#pragma once

#include "core/Calendar.h"
#include "core/Date.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

namespace design {

// An hour-and-minute field: the time of a date in editable parts (hour,
// minute and, where the locale keeps a 12-hour clock, its AM/PM mark, in the
// locale's order), framed like a text field. A click or Tab selects a part;
// digits type it, the arrow keys up and down step it, left and right move
// between the parts, A or P set the mark. Every change gives `dateEdited`:
// the same day at the new hour and minute (seconds 0), counted in the given
// calendar; a time that day skips moves on to the next one that exists, and
// a step goes over it. A new date that shows the same time keeps the digits
// typed so far, so a screen may show back each edit as it comes.
class TimeField : public QWidget {
    Q_OBJECT

public:
    enum class Part { hour, minute, meridiem };

    static constexpr int kHeight = 26;

    explicit TimeField(QWidget* parent = nullptr);

    const core::Calendar& calendar() const { return m_calendar; }
    void setCalendar(const core::Calendar& calendar);
    core::Date date() const { return m_date; }
    void setDate(core::Date date);

    bool usesTwelveHours() const { return m_twelveHours; }
    // The parts in the order shown, and the text of each now.
    const std::vector<Part>& parts() const { return m_parts; }
    QString partText(Part part) const;
    // The whole time as shown: "2:05 PM", "14:05".
    QString text() const;
    std::optional<Part> selectedPart() const { return m_selected; }
    void selectPart(std::optional<Part> part);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void dateEdited(core::Date date);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void readLocale();
    std::vector<std::pair<Part, QRectF>> partRects() const;
    QString separatorBefore(size_t index) const;
    std::optional<core::Date> dateAt(int hour, int minute) const;
    // Whether the day shows that time: a day that springs forward skips some.
    bool exists(int hour, int minute) const;
    void setTime(int hour, int minute);
    void typeDigit(int digit);
    void step(int by);
    bool moveSelection(int by);
    void announce();

    core::Calendar m_calendar;
    core::Date m_date;
    int m_hour = 0;
    int m_minute = 0;
    bool m_twelveHours = false;
    bool m_padHour = false;
    QString m_separator = QStringLiteral(":");
    QString m_amSymbol;
    QString m_pmSymbol;
    std::vector<Part> m_parts;
    std::optional<Part> m_selected;
    // Digits typed into the selected part so far.
    QString m_typed;
};

}  // namespace design
