#pragma once

#include "model/EditSpan.h"
#include "model/RecurrenceOption.h"

#include <QString>
#include <QWidget>

class QShortcut;
class QVariantAnimation;
class QGraphicsOpacityEffect;

namespace design {
class KeycapButton;
class ODButton;
class TextBlock;
class TextLine;
}  // namespace design

namespace editor {

// The card that asks, before a repeating event is changed or deleted, whether
// this occurrence or it and all later ones are meant. It only asks: the answer
// goes out as a signal. Return chooses all future events, as the keycap says;
// Escape reaches the editor, which closes the question.
class RecurringPromptView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 316;

    // `actionTitle` "Delete" (in any letter case) asks about deleting; any other about changing.
    RecurringPromptView(const QString& actionTitle, const QString& eventTitle, model::RecurrenceOption recurrence,
                        QWidget* parent = nullptr);

    QString title() const;
    QString subtitle() const;
    design::KeycapButton* futureEventsButton() const { return m_future; }
    design::ODButton* thisEventButton() const { return m_thisEvent; }
    design::KeycapButton* cancelButton() const { return m_cancel; }

signals:
    void chosen(model::EditSpan span);
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    design::TextLine* m_title;
    design::TextBlock* m_subtitle;
    design::KeycapButton* m_future;
    design::ODButton* m_thisEvent;
    design::KeycapButton* m_cancel;
};

// The question laid over the whole editor: the editor dimmed, the card near
// the top. A click on the dimmed part dismisses it. It fades in and out over
// 0.12 s, at once when motion is reduced; while it is shown, Return answers it:
// through the card's focused button, else with all future events.
class RecurringPromptOverlay : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCardTop = 150;
    static constexpr int kFadeMs = 120;
    static constexpr qreal kDim = 0.28;

    explicit RecurringPromptOverlay(QWidget* parent = nullptr);

    // Shows a new card for the question; the overlay covers its parent.
    void present(const QString& actionTitle, const QString& eventTitle, model::RecurrenceOption recurrence);
    void dismiss();
    // The card of the question shown now (also while it fades out); null when none.
    RecurringPromptView* card() const { return m_card; }
    bool isPresented() const { return m_presented; }

signals:
    void chosen(model::EditSpan span);
    // The dimmed part was clicked.
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void answerReturn();
    void fade(qreal to);
    void placeCard();

    RecurringPromptView* m_card = nullptr;
    QShortcut* m_return;
    QShortcut* m_enter;
    QGraphicsOpacityEffect* m_opacity;
    QVariantAnimation* m_fade;
    bool m_presented = false;
};

}  // namespace editor
