#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

namespace design {

class TextBlock;

// One line of a settings form: a text column of fixed width (the label, and an
// optional grey explanation under it, both wrapped, never cut) and the row's
// control beside it. Every row's control starts at the same place, so a form
// of rows lines up.
class SettingsRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTextColumnWidth = 166;
    static constexpr int kColumnGap = 12;
    static constexpr int kControlSpacing = 8;

    // Several controls stand side by side in the given order. A control with no
    // accessible name of its own (a switch) is announced by the row's label.
    SettingsRow(const QString& label, std::optional<QString> detail, const QList<QWidget*>& controls,
                QWidget* parent = nullptr);
    SettingsRow(const QString& label, std::optional<QString> detail, QWidget* control, QWidget* parent = nullptr);

    QString label() const { return m_label; }
    // Absent removes the second line.
    void setDetail(std::optional<QString> detail);
    // The box the controls are laid out in.
    QWidget* controls() const { return m_controls; }

private:
    QString m_label;
    TextBlock* m_detail;
    QWidget* m_controls;
};

}  // namespace design
