#pragma once

#include <QWidget>

namespace app {
struct AppEnvironment;
}
namespace design {
class CappedHeightView;
class KeycapButton;
class ODTextField;
class PlainKeycapButton;
class TextBlock;
}  // namespace design

namespace imageimport {

class ImageImportSession;
class ImageReviewModel;
class RecognisedTextPanel;
class ReviewCards;
class ReviewEventFields;
class ReviewKindToggle;
class ReviewNoDateBanner;
class ReviewReminderFields;
class ReviewSourceStrip;

// The review of one import result: the import header, then the kind, where the
// data came from, the title, the fields of the kind and the recognised text,
// then the footer that adds the item; within the popover's height, the middle
// scrolling when it must.
class ImageReviewView final : public QWidget {
    Q_OBJECT

public:
    ImageReviewView(app::AppEnvironment& environment, ImageImportSession& session, QWidget* parent = nullptr);
    ~ImageReviewView() override;

    ImageReviewModel& model() const { return *m_model; }
    design::CappedHeightView* frame() const { return m_frame; }
    ReviewKindToggle* kindToggle() const { return m_kind; }
    ReviewNoDateBanner* noDateBanner() const { return m_banner; }
    ReviewSourceStrip* sourceStrip() const { return m_source; }
    design::ODTextField* titleField() const { return m_title; }
    // The field chips and their cards, of either kind.
    ReviewCards* cards() const { return m_cards; }
    ReviewEventFields* eventFields() const { return m_eventFields; }
    ReviewReminderFields* reminderFields() const { return m_reminderFields; }
    RecognisedTextPanel* recognisedText() const { return m_text; }
    design::TextBlock* errorLine() const { return m_error; }
    design::PlainKeycapButton* moreDetailsButton() const { return m_moreDetails; }
    design::KeycapButton* addButton() const { return m_add; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* makeForm(ImageImportSession& session);
    QWidget* makeTitleCard();
    QWidget* makeFooter();
    void installKeys();
    void showModel();

    ImageReviewModel* m_model;
    design::CappedHeightView* m_frame;
    ReviewKindToggle* m_kind = nullptr;
    ReviewNoDateBanner* m_banner = nullptr;
    ReviewSourceStrip* m_source = nullptr;
    design::ODTextField* m_title = nullptr;
    ReviewCards* m_cards = nullptr;
    ReviewEventFields* m_eventFields = nullptr;
    ReviewReminderFields* m_reminderFields = nullptr;
    RecognisedTextPanel* m_text = nullptr;
    design::TextBlock* m_error = nullptr;
    design::PlainKeycapButton* m_moreDetails = nullptr;
    design::KeycapButton* m_add = nullptr;
};

}  // namespace imageimport
