#pragma once

#include "core/Date.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace core {
class ClockTimer;
}
namespace store {
class CalendarStore;
}

namespace popover {

// The symbol and the short title that name an undoable change, from the label
// the store gave its undo entry ("Deleted “Lunch”" is "Event deleted").
QString undoToastSymbol(const QString& label);
QString undoToastTitle(const QString& label);

// When the popover shows its undo toast. A change pushed onto the store's undo
// stack puts the toast up for five seconds of time in which the pointer is not
// over it; a newer change takes the toast over and counts again from five. The
// toast is drawn only over the main screen: another screen hides it, and coming
// back before the time is out shows it again. It goes at once when the stack
// shrinks (an undo from anywhere).
//
// The same place tells a failure that no screen shows (a reminder the user added
// from a review already gone, a completion that could not be written): a notice,
// without Undo. Its five seconds count only while it can be read, over the main
// screen of an open popover, so a failure met while the popover is closed waits
// for the next opening. Main thread only; waits on core::ClockTimer.
class UndoToastModel : public QObject {
    Q_OBJECT

public:
    static constexpr double kShownFor = 5.0;

    // The store must outlive this object. The stack's present length is the start:
    // entries pushed before this object existed show no toast.
    explicit UndoToastModel(store::CalendarStore& store, QObject* parent = nullptr);
    ~UndoToastModel() override;

    // The label of the entry the toast stands for, also while another screen hides it.
    const std::optional<QString>& label() const { return m_label; }
    // The failure the toast tells instead of a change, also while another screen hides it.
    const std::optional<QString>& notice() const { return m_notice; }
    // The toast is drawn now.
    bool isShown() const { return (m_label.has_value() || m_notice.has_value()) && m_onMain; }
    // The message of an undo from the toast that failed; the toast stays with it.
    const std::optional<QString>& error() const { return m_error; }
    bool isHovering() const { return m_hovering; }
    // Seconds left before the toast goes, as far as the pointer lets time count.
    double remaining() const;

    // Whether the main screen is the one shown.
    void setOnMain(bool onMain);
    void setHovering(bool hovering);
    // Whether the popover is open, so that what the toast shows can be read.
    void setSeen(bool seen);
    // Tells a failure in place of any toast. A message the toast already shows as
    // its undo's failure is not told twice.
    void showNotice(const QString& message);
    // The toast's Undo: reverses the newest change. On success the toast goes;
    // on failure it stays, showing the store's message, which is also left in
    // the store's last error.
    void undo();

signals:
    // The label, the error or the visibility changed, at once.
    void changed();
    // After changed(): a new toast is up for this label (to announce it and bring it
    // in). For a notice: its message, once it can first be read.
    void toastShown(const QString& label);
    // The toast's time is out: it goes (changed() is not emitted for this).
    void expired();

private:
    void onUndoStackChanged();
    void show(const QString& label);
    void hide();
    void expire();
    // Forgets the toast; true when there was one.
    bool clear();
    void pause();
    void resume();
    // Whether the toast's time runs now.
    bool counts() const;
    // Starts or stops a notice's time as it comes into sight or leaves it.
    void followSight();
    void announceNotice();

    store::CalendarStore& m_store;
    std::unique_ptr<core::ClockTimer> m_timer;
    std::optional<QString> m_label;
    std::optional<QString> m_error;
    std::optional<QString> m_notice;
    bool m_noticeAnnounced = false;
    // Counted only while the pointer is away; m_timer waits for the end meanwhile.
    double m_remaining = 0;
    bool m_hovering = false;
    bool m_onMain = true;
    bool m_seen = true;
    std::size_t m_lastCount = 0;
};

}  // namespace popover
