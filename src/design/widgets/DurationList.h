#pragma once

#include <QWidget>

#include <optional>
#include <vector>

namespace design {

// The lengths a pop-over offers, one row each ("15m" … "3h"), the chosen one
// on a highlighted row with a check mark. A click on a row gives `chosen` with
// its minutes. Padded 8 on every side, as a pop-over's content.
class DurationList : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRowWidth = 140;
    static const std::vector<int>& standardMinutes();

    explicit DurationList(std::vector<int> minutes = standardMinutes(), QWidget* parent = nullptr);

    const std::vector<int>& minutes() const { return m_minutes; }
    std::optional<int> selected() const { return m_selected; }
    // The row of exactly these minutes is marked; none for another length.
    void setSelected(std::optional<int> minutes);
    QWidget* row(int minutes) const;

signals:
    void chosen(int minutes);

private:
    std::vector<int> m_minutes;
    std::optional<int> m_selected;
    std::vector<QWidget*> m_rows;
};

}  // namespace design
