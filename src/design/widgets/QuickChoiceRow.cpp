#include "design/widgets/QuickChoiceRow.h"

#include "design/values/ODFormat.h"
#include "design/widgets/ODButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace design {

QuickChoiceRow::QuickChoiceRow(QWidget* parent) : QWidget(parent) {
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(kSpacing);
}

void QuickChoiceRow::setMaximumRowWidth(std::optional<int> width) {
    m_maximumRowWidth = width;
    arrange();
}

void QuickChoiceRow::setChoices(const QStringList& titles, std::optional<int> highlighted) {
    while (m_buttons.size() > static_cast<size_t>(titles.size())) {
        delete m_buttons.back();
        m_buttons.pop_back();
    }
    while (m_buttons.size() < static_cast<size_t>(titles.size())) {
        const int index = static_cast<int>(m_buttons.size());
        auto* button = new ODButton({}, std::nullopt, ODButtonKind::ghost, ODButtonSize::small, false, this);
        connect(button, &QAbstractButton::clicked, this, [this, index] { emit chosen(index); });
        m_buttons.push_back(button);
    }
    for (int i = 0; i < titles.size(); ++i) {
        ODButton* button = m_buttons[static_cast<size_t>(i)];
        button->setTitle(titles[i]);
        button->setButtonStyle(
            ODButtonStyle(highlighted == i ? ODButtonKind::primary : ODButtonKind::ghost, ODButtonSize::small));
    }
    arrange();
}

int QuickChoiceRow::rowCount() const {
    return layout()->count();
}

void QuickChoiceRow::arrange() {
    auto* rows = static_cast<QVBoxLayout*>(layout());
    while (QLayoutItem* row = rows->takeAt(0))
        delete row;
    // As few rows as the width allows, the buttons shared out evenly between
    // them, so that no time stands alone on a row of its own.
    const auto fits = [this](size_t perRow) {
        for (size_t first = 0; first < m_buttons.size(); first += perRow) {
            int width = -kSpacing;
            for (size_t i = first; i < std::min(first + perRow, m_buttons.size()); ++i)
                width += kSpacing + m_buttons[i]->sizeHint().width();
            if (width > *m_maximumRowWidth)
                return false;
        }
        return true;
    };
    const size_t count = m_buttons.size();
    size_t rowCount = 1;
    if (m_maximumRowWidth)
        while (rowCount < count && !fits((count + rowCount - 1) / rowCount))
            ++rowCount;
    const size_t perRow = std::max<size_t>(1, (count + rowCount - 1) / rowCount);
    for (size_t first = 0; first < count || first == 0; first += perRow) {
        auto* row = new QHBoxLayout;
        rows->addLayout(row);
        row->setSpacing(kSpacing);
        for (size_t i = first; i < std::min(first + perRow, count); ++i)
            row->addWidget(m_buttons[i]);
        row->addStretch(1);
    }
}

QStringList QuickChoiceRow::titles() const {
    QStringList shown;
    for (const ODButton* button : m_buttons)
        shown << button->title();
    return shown;
}

QStringList QuickChoiceRow::timeTitles(const std::vector<core::Date>& times, const core::TimeZone& zone) {
    QStringList titles;
    for (const core::Date time : times)
        titles << ODFormat::format(time, u"jmm"_s, zone);
    return titles;
}

}  // namespace design
