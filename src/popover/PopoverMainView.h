#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace app {
struct AppEnvironment;
class Updater;
}  // namespace app
namespace design {
class CappedHeightView;
}

namespace popover {

class PopoverFooterView;
class PopoverKeyMonitor;
class RemindersSectionView;
class UpNextView;

// The popover's main screen: the month header and grid, a hairline, the day's
// agenda followed by the reminders (while the settings show them), and the
// footer. It is as tall as its content up to the popover's greatest height;
// beyond that only the agenda and the reminders scroll. While it is shown it
// hands every key press in the popover to PopoverKeyHandler.
class PopoverMainView : public QWidget {
    Q_OBJECT

public:
    PopoverMainView(app::AppEnvironment& environment, app::Updater& updater, QWidget* parent = nullptr);
    ~PopoverMainView() override;

    // What Ctrl+Q and "Quit Orbitday" do; by default they end the application.
    void setQuit(std::function<void()> quit);

    design::CappedHeightView& column() const { return *m_column; }
    UpNextView* agenda() const { return m_agenda; }
    // Null while the settings hide the reminders.
    RemindersSectionView* reminders() const;
    PopoverFooterView* footer() const { return m_footer; }
    bool isMonitoringKeys() const { return m_keys != nullptr; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showReminders(bool show);
    void installKeyMonitor();
    void removeKeyMonitor();

    app::AppEnvironment& m_env;
    design::CappedHeightView* m_column;
    QVBoxLayout* m_agendaLayout;
    UpNextView* m_agenda;
    QPointer<RemindersSectionView> m_reminders;
    PopoverFooterView* m_footer;
    std::function<void()> m_quit;
    PopoverKeyMonitor* m_keys = nullptr;
};

// Offers the key presses of the popover's window to PopoverKeyHandler and
// swallows those it uses. Application-wide, so that it sees a key before the
// focused control does (a day button would take the arrows).
class PopoverKeyMonitor : public QObject {
    Q_OBJECT

public:
    PopoverKeyMonitor(app::AppEnvironment& environment, QWidget* screen, std::function<void()> quit,
                      QObject* parent = nullptr);
    ~PopoverKeyMonitor() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    app::AppEnvironment& m_env;
    QWidget* m_screen;
    std::function<void()> m_quit;
};

// A widget that takes typed text: the popover's keys leave it alone.
bool isTextInput(const QWidget* widget);

}  // namespace popover
