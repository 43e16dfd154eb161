#pragma once

#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/Painting.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ReviewFaces.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QAbstractButton;
class QWidget;

namespace design {
class FieldCard;
}

namespace imageimport {

// The field chips of a review and their cards: a tap on a chip opens its card
// in a pop-over hanging from it, a second tap closes it, and at most one is
// open, as the model's openCard says. The event's fields and the reminder's
// add their chips here; a chip that opens a menu instead (calendar, list,
// priority) is added as a tap target, so that the click that closes an open
// card over it still opens its menu.
class ReviewCards final : public QObject {
    Q_OBJECT

public:
    using Card = ImageReviewModel::Card;
    // Makes a card's content when it opens, and shows the model in it at every change.
    struct Content {
        std::function<QWidget*()> make;
        std::function<void(QWidget*)> fill;
    };

    // `screen` is the widget the pop-overs share their life with.
    ReviewCards(ImageReviewModel& model, QWidget* screen);
    ~ReviewCards() override;

    void addChip(Card card, design::FieldCard* chip, Content content);
    void addTapTarget(QAbstractButton* button);

    design::FieldCard* chip(Card card) const;
    // The pop-over of the open card; none while none is open.
    design::AnchoredPopover* openPopover() const { return m_popover; }

    // Shows the model: opens, fills or closes the pop-over.
    void show();

private:
    struct Entry {
        design::FieldCard* chip = nullptr;
        Content content;
    };

    void close();
    void dismissed(Card card, std::optional<QPoint> outsideClick);

    ImageReviewModel& m_model;
    QWidget* m_screen;
    std::map<Card, Entry> m_chips;
    std::vector<QPointer<QAbstractButton>> m_tapTargets;
    QPointer<design::AnchoredPopover> m_popover;
    std::optional<Card> m_popoverCard;
};

// A field chip of the review, free to narrow to its share of a row.
design::FieldCard* reviewChip(const QString& label, const QString& icon, design::Tint tint, QWidget* parent);

// Puts a face on a chip; `open` while its card is.
void showChipFace(design::FieldCard* chip, const ChipFace& face, bool open);

// The card of a day (the event's date, the reminder's due day): the month, on
// today while no day is set; a day picked is the model's.
ReviewCards::Content dayCard(QPointer<ImageReviewModel> model);

// Two chips sharing a row equally, whatever their values' lengths.
QWidget* chipRow(QWidget* parent, design::FieldCard* left, design::FieldCard* right);

}  // namespace imageimport
