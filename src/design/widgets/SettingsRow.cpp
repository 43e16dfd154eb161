#include "design/widgets/SettingsRow.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/TextBlock.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace design {

SettingsRow::SettingsRow(const QString& label, std::optional<QString> detail, QWidget* control, QWidget* parent)
    : SettingsRow(label, std::move(detail), QList<QWidget*>{control}, parent) {}

SettingsRow::SettingsRow(const QString& label, std::optional<QString> detail, const QList<QWidget*>& controls,
                         QWidget* parent)
    : QWidget(parent), m_label(label) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 1, 0, 1);
    row->setSpacing(kColumnGap);

    auto* column = new QWidget;
    column->setFixedWidth(kTextColumnWidth);
    auto* texts = new QVBoxLayout(column);
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(1);
    texts->addWidget(new TextBlock(label, ODFont::body(13, FontWeight::medium), Theme::text()));
    m_detail = new TextBlock(detail.value_or(QString()), ODFont::body(10.5), Theme::text3());
    m_detail->setVisible(detail.has_value());
    texts->addWidget(m_detail);
    row->addWidget(column, 0, Qt::AlignVCenter);

    m_controls = new QWidget;
    setAccessibleRole(m_controls, QAccessible::Grouping);
    m_controls->setAccessibleName(label);
    auto* box = new QHBoxLayout(m_controls);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(kControlSpacing);
    for (QWidget* control : controls) {
        if (control == nullptr)
            continue;
        if (control->accessibleName().isEmpty())
            control->setAccessibleName(label);
        box->addWidget(control, 0, Qt::AlignVCenter);
    }
    row->addWidget(m_controls, 0, Qt::AlignVCenter);
    // The free room goes to the right of the control, never between it and the label;
    // a form gives each row the height it needs and no more.
    row->addStretch(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

void SettingsRow::setDetail(std::optional<QString> detail) {
    m_detail->setText(detail.value_or(QString()));
    m_detail->setVisible(detail.has_value());
    // The row's layout keeps the text column's last height until told: before
    // the row is first shown nothing else would tell it.
    m_detail->parentWidget()->updateGeometry();
}

}  // namespace design
