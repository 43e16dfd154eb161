#pragma once

#include "settings/SettingsTabs.h"
#include "state/PopoverRoute.h"

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

#include <optional>

class QVBoxLayout;

namespace settings {

// One tab's button: its symbol over its name, on a rounded plate while selected.
class SettingsTabButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kWidth = 84;
    static constexpr qreal kSymbolSize = 15;
    static constexpr qreal kTitleSize = 11;

    explicit SettingsTabButton(app::SettingsTab tab, QWidget* parent = nullptr);

    app::SettingsTab tab() const { return m_tab; }
    bool isSelected() const { return isChecked(); }
    void setSelected(bool selected) { setChecked(selected); }

    QSize sizeHint() const override;
    static void paint(QPainter& painter, const QRectF& rect, app::SettingsTab tab, bool selected);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void nextCheckState() override {}

private:
    app::SettingsTab m_tab;
};

// The row of tab buttons across the top of the window, centred.
class SettingsTabBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 4;
    static constexpr QMargins kPadding{0, 12, 0, 10};

    explicit SettingsTabBar(SettingsTabModel& tabs, QWidget* parent = nullptr);

    SettingsTabButton* button(app::SettingsTab tab) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showSelection();

    SettingsTabModel& m_tabs;
    QList<SettingsTabButton*> m_buttons;
};

// The settings window: an ordinary window of fixed size with the tab bar, a
// hairline, and under it the selected tab's view. Closing only hides it.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kSize{560, 470};

    explicit SettingsWindow(const SettingsTabContext& context, QWidget* parent = nullptr);

    SettingsTabBar& tabBar() const { return *m_tabBar; }
    // The view of the selected tab; nullptr for a tab without one.
    QWidget* tabView() const { return m_tabView; }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showTab(app::SettingsTab tab);

    SettingsTabContext m_context;
    SettingsTabBar* m_tabBar;
    QWidget* m_page;
    QVBoxLayout* m_pageLayout;
    QPointer<QWidget> m_tabView;
    std::optional<app::SettingsTab> m_shownTab;
};

}  // namespace settings
