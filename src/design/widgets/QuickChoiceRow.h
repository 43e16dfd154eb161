#pragma once

#include "core/Date.h"
#include "core/TimeZone.h"

#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

namespace design {

class ODButton;

// A row of small ghost buttons for quick choices (times of day, lengths), the
// one that stands for the current value, if any, as a primary button. A click
// gives `chosen` with the button's place in the row. Given a width it may not
// pass, it breaks into as few even rows as keep within it.
class QuickChoiceRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 6;

    explicit QuickChoiceRow(QWidget* parent = nullptr);

    void setChoices(const QStringList& titles, std::optional<int> highlighted = std::nullopt);
    // No limit by default: one row however long.
    void setMaximumRowWidth(std::optional<int> width);
    int rowCount() const;
    QStringList titles() const;
    std::vector<ODButton*> buttons() const { return m_buttons; }

    // The titles of times of day as the quick times show them: the locale's
    // hour and minute ("9:00 AM", "09:00") in the zone.
    static QStringList timeTitles(const std::vector<core::Date>& times, const core::TimeZone& zone);

signals:
    void chosen(int index);

private:
    void arrange();

    std::vector<ODButton*> m_buttons;
    std::optional<int> m_maximumRowWidth;
};

}  // namespace design
