#pragma once

#include "quickadd/QuickCreateModel.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class QAbstractButton;

namespace app {
struct AppEnvironment;
}
namespace design {
class AnchoredPopover;
class FieldCard;
class KeycapButton;
struct PopupMenuItem;
class TextBlock;
}  // namespace design

namespace quickadd {

class ConflictRow;
class DayPreview;
class QuickInputField;

// The quick-add screen: a header with the close key, the line to type, then
// either what the line was understood as (the cards, the overlap line and the
// new event among the other events of its day) or three example lines while it
// is empty, the error of a failed add, and a footer with "more details" and
// "Add event". Everything it shows and does is the model's; the screen only
// lays it out and hands the user's input over.
class QuickCreateView : public QWidget {
    Q_OBJECT

public:
    explicit QuickCreateView(app::AppEnvironment& environment, QWidget* parent = nullptr);
    ~QuickCreateView() override;

    // The lines offered while nothing is typed, in the order they are shown.
    static const QStringList& examplePhrases();

    QuickCreateModel& model() const { return *m_model; }
    QuickInputField* field() const { return m_field; }
    design::FieldCard* card(QuickCreateModel::Card card) const;
    design::FieldCard* calendarCard() const { return m_calendarCard; }
    // The pop-over of the open card; none while no card is open.
    design::AnchoredPopover* openPopover() const;
    // The calendar menu as a tap on the calendar card opens it.
    std::vector<design::PopupMenuItem> calendarMenuItems();
    QAbstractButton* closeButton() const { return m_close; }
    std::vector<QAbstractButton*> exampleButtons() const { return m_examples; }
    ConflictRow* conflictRow() const { return m_conflict; }
    DayPreview* preview() const { return m_preview; }
    QAbstractButton* moreDetailsButton() const { return m_moreDetails; }
    design::KeycapButton* addButton() const { return m_add; }
    // The error line; empty while hidden.
    QString errorLine() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeCards();
    void showCards();
    void showPopover();
    QWidget* makePopoverContent(QuickCreateModel::Card card);
    void fillPopover();
    void popoverDismissed(QuickCreateModel::Card card, std::optional<QPoint> outsideClick);
    void openCalendarMenu();
    QWidget* makeExamples();
    QWidget* makeFooter();
    void showText();
    void showDraft();
    void showDay();
    void showError();

    app::AppEnvironment& m_env;
    QuickCreateModel* m_model;
    QuickInputField* m_field;
    QAbstractButton* m_close = nullptr;
    QWidget* m_cards = nullptr;
    design::FieldCard* m_dateCard = nullptr;
    design::FieldCard* m_timeCard = nullptr;
    design::FieldCard* m_durationCard = nullptr;
    design::FieldCard* m_calendarCard = nullptr;
    QPointer<design::AnchoredPopover> m_popover;
    std::optional<QuickCreateModel::Card> m_popoverCard;
    QWidget* m_examplesBlock = nullptr;
    std::vector<QAbstractButton*> m_examples;
    ConflictRow* m_conflict;
    DayPreview* m_preview;
    design::TextBlock* m_error;
    QAbstractButton* m_moreDetails = nullptr;
    design::KeycapButton* m_add = nullptr;
};

}  // namespace quickadd
