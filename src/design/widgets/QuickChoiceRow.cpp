#include "design/widgets/QuickChoiceRow.h"

#include "design/values/ODFormat.h"
#include "design/widgets/ODButton.h"

#include <QHBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace design {

QuickChoiceRow::QuickChoiceRow(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addStretch(1);
}

void QuickChoiceRow::setChoices(const QStringList& titles, std::optional<int> highlighted) {
    auto* row = static_cast<QHBoxLayout*>(layout());
    while (m_buttons.size() > static_cast<size_t>(titles.size())) {
        delete m_buttons.back();
        m_buttons.pop_back();
    }
    while (m_buttons.size() < static_cast<size_t>(titles.size())) {
        const int index = static_cast<int>(m_buttons.size());
        auto* button = new ODButton({}, std::nullopt, ODButtonKind::ghost, ODButtonSize::small, false, this);
        row->insertWidget(index, button);
        connect(button, &QAbstractButton::clicked, this, [this, index] { emit chosen(index); });
        m_buttons.push_back(button);
    }
    for (int i = 0; i < titles.size(); ++i) {
        ODButton* button = m_buttons[static_cast<size_t>(i)];
        button->setTitle(titles[i]);
        button->setButtonStyle(
            ODButtonStyle(highlighted == i ? ODButtonKind::primary : ODButtonKind::ghost, ODButtonSize::small));
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
