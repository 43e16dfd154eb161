#pragma once

#include "model/ODReminder.h"

#include <QAbstractButton>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <memory>

class QVariantAnimation;
class QVBoxLayout;

namespace core {
class ClockTimer;
}
namespace design {
class ODButton;
class SectionHeader;
class TextBlock;
class TextLine;
}  // namespace design
namespace platform {
class Workspace;
}
namespace store {
class CalendarStore;
}

namespace popover {

class ReminderCompletions;
class ReminderRow;

// The reminders block under the day agenda: what is due today or overdue,
// each ticked off with a click (completed after a short grace period, see
// ReminderCompletions), three rows until the list is expanded, a moment of
// celebration when the last one is done, and, without access to reminders, a
// row that asks for it. It always works on the current day, whatever day the
// grid shows, and hides itself when there is nothing to show.
class RemindersSectionView : public QWidget {
    Q_OBJECT

public:
    // How long the all-done row stays after the last due reminder is completed.
    static constexpr double kCelebration = 3.0;

    RemindersSectionView(store::CalendarStore& store, ReminderCompletions& completions,
                         platform::Workspace& workspace, QWidget* parent = nullptr);
    ~RemindersSectionView() override;

    bool isExpanded() const { return m_expanded; }

    // For tests: the rows shown, top to bottom, and the buttons.
    std::vector<ReminderRow*> rows() const;
    QAbstractButton* moreButton() const;
    design::ODButton* accessButton() const { return m_accessButton; }
    QString headerCount() const;
    bool showsAllDone() const;
    bool showsAccessRow() const;

private:
    class Afterimage;

    // Shows the section as it now stands: at once, or with the pieces that
    // come and go fading over `motionMs` (none while the user asks for reduced
    // motion, or while the section is not on screen).
    void rebuild(int motionMs = 0);
    void buildAccessRow(QVBoxLayout* layout);
    void buildAllDoneRow(QVBoxLayout* layout);
    void updateAccessRow();
    // Puts the rows of these reminders in this order, still hidden; new ones
    // come in over `motionMs`.
    void placeRows(const std::vector<model::ODReminder>& listed, int motionMs);
    // Pictures of every piece on screen that the coming change takes away, each
    // in its piece's place and still hidden.
    std::vector<Afterimage*> leaveAfterimages(bool shown, bool allDone, bool more,
                                              const std::vector<model::ODReminder>& listed);

    store::CalendarStore& m_store;
    ReminderCompletions& m_completions;
    platform::Workspace& m_workspace;
    bool m_expanded = false;
    // The section's own: one made anew while another celebrates starts without.
    bool m_celebrating = false;
    std::unique_ptr<core::ClockTimer> m_celebrationEnd;

    QWidget* m_body;
    design::SectionHeader* m_header;
    QWidget* m_accessRow;
    design::TextBlock* m_accessTitle;
    design::TextBlock* m_accessExplanation;
    design::ODButton* m_accessButton;
    QWidget* m_allDone;
    QVBoxLayout* m_rowLayout;
    QHash<QString, ReminderRow*> m_rows;
    QAbstractButton* m_more;
    // The picture of the whole section fading where it stood, once it has gone.
    QPointer<QWidget> m_afterimage;
};

// One due reminder: its checkbox, its title and when it is due. A click
// anywhere on it ticks or unticks it.
class ReminderRow : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kBox = 18;
    static constexpr qreal kGap = 10;
    // Room for the checkbox's focus ring, left and right of the row's content.
    static constexpr int kRingRoom = 4;

    explicit ReminderRow(QWidget* parent = nullptr);

    const model::ODReminder& reminder() const { return m_reminder; }
    // `now` decides the due label and whether it is overdue.
    void setReminder(const model::ODReminder& reminder, core::Date now);
    bool isTicked() const { return m_ticked; }
    void setTicked(bool ticked);
    QString dueLabel() const { return m_dueLabel; }
    // 0 not yet in … 1 wholly in: a row coming into the list grows to its
    // height and fades in together.
    qreal presence() const { return m_presence; }
    // Fades the row in from nothing over that long.
    void comeIn(int motionMs);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateAccessibility();
    void setPresence(qreal presence);
    static int naturalHeight();

    model::ODReminder m_reminder;
    QString m_dueLabel;
    bool m_overdue = false;
    bool m_ticked = false;
    // 0 unticked … 1 ticked, moved along by the animation.
    qreal m_tick = 0;
    qreal m_presence = 1;
    bool m_keyboardFocus = false;
    QPointer<QVariantAnimation> m_animation;
    QPointer<QVariantAnimation> m_arrival;
};

}  // namespace popover
