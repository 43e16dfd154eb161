#include "imageimport/review/ImageReviewView.h"

#include "design/values/Theme.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODTextField.h"
#include "design/widgets/Painting.h"
#include "design/widgets/PlainKeycapButton.h"
#include "design/widgets/SunkenFooter.h"
#include "design/widgets/TextBlock.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImageImportView.h"
#include "imageimport/flow/ImportHeader.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ReviewCards.h"
#include "imageimport/review/ReviewEventFields.h"
#include "imageimport/review/ReviewKindToggle.h"
#include "imageimport/review/ReviewReminderFields.h"
#include "imageimport/review/ReviewSourceParts.h"
#include "platform/systemevents/SystemEvents.h"
#include "state/AppEnvironment.h"
#include "state/AppState.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::Theme;
using Kind = imageimport::ImageExtraction::Kind;

namespace imageimport {

namespace {

constexpr int kTitleHeight = 44;
constexpr qreal kTitleRadius = 12;

// The card the title field sits on, outlined in the accent whether or not the
// field has the focus: it is where the eye goes first.
class TitleCard final : public QWidget {
public:
    TitleCard(design::ODTextField* field, QWidget* parent) : QWidget(parent) {
        setFixedHeight(kTitleHeight);
        design::followAppearance(this);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(12, 0, 12, 0);
        row->addWidget(field);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const design::Shape shape = design::Shape::rounded(kTitleRadius);
        shape.fill(painter, QRectF(rect()), design::toQColor(Theme::card()));
        shape.strokeBorder(painter, QRectF(rect()), design::toQColor(Theme::flame()), 1.5);
    }
};

}  // namespace

ImageReviewView::ImageReviewView(app::AppEnvironment& environment, ImageImportSession& session, QWidget* parent)
    : QWidget(parent),
      m_model(new ImageReviewModel(*session.extraction(), session.resultID(), environment.store,
                                   environment.appState, environment.settings, this)),
      m_frame(new design::CappedHeightView(this)) {
    setObjectName(u"ImportReview"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The frame's height follows its width; a least height worked out at no width
    // would hold the screen taller than its content.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(m_frame);
    m_frame->setTop(new ImportHeader(environment.appState, this));
    m_frame->setMiddle(makeForm(session));
    m_frame->setBottom(makeFooter());

    app::AppState& state = environment.appState;
    m_frame->setMaxHeight(state.popoverMaxHeight());
    connect(&state, &app::AppState::popoverMaxHeightChanged, m_frame, &design::CappedHeightView::setMaxHeight);

    installKeys();
    connect(m_model, &ImageReviewModel::changed, this, &ImageReviewView::showModel);
    // Today and tomorrow are worked out when shown: a review left open over midnight shows them anew.
    connect(&environment.systemEvents, &platform::SystemEvents::dayChanged, this, &ImageReviewView::showModel);
    showModel();
}

ImageReviewView::~ImageReviewView() = default;

QWidget* ImageReviewView::makeForm(ImageImportSession& session) {
    auto* form = new QWidget(this);
    form->setObjectName(u"ReviewForm"_s);
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(12, 6, 12, 12);
    column->setSpacing(10);

    m_kind = new ReviewKindToggle(form);
    m_banner = new ReviewNoDateBanner(form);
    m_source = new ReviewSourceStrip(session.thumbnail(), form);
    m_cards = new ReviewCards(*m_model, this);
    m_eventFields = new ReviewEventFields(*m_model, *m_cards, form);
    m_text = new RecognisedTextPanel(m_model->recognisedTextPreview(), form);
    m_error = new design::TextBlock({}, design::ODFont::body(11, FontWeight::medium), Theme::flame(), form);
    m_error->setObjectName(u"ReviewError"_s);
    column->addWidget(m_kind);
    // One of the two shows: the banner until a day is set.
    column->addWidget(m_banner);
    column->addWidget(m_source);
    column->addWidget(makeTitleCard());
    column->addWidget(m_eventFields);
    m_reminderFields = new ReviewReminderFields(*m_model, *m_cards, form);
    column->addWidget(m_reminderFields);
    column->addWidget(m_text);
    column->addWidget(m_error);

    connect(m_source, &ReviewSourceStrip::changeClicked, &session, &ImageImportSession::chooseFile);
    connect(m_kind, &ReviewKindToggle::chosen, m_model, &ImageReviewModel::chooseKind);
    connect(m_text, &RecognisedTextPanel::toggled, m_model, [this] { m_model->setShowText(!m_model->showText()); });
    connect(m_text, &RecognisedTextPanel::notesEdited, m_model, &ImageReviewModel::setNotes);
    return form;
}

QWidget* ImageReviewView::makeTitleCard() {
    m_title = new design::ODTextField(design::ODFont::nsBody(15, FontWeight::bold),
                                      design::ODFont::nsBody(15, FontWeight::medium));
    m_title->setObjectName(u"ReviewTitle"_s);
    m_title->setAccessibleDescription(u"Return adds it. Tab opens more details. Escape cancels."_s);
    m_title->setUnfocusedElision(Qt::ElideRight);
    auto* card = new TitleCard(m_title, this);
    connect(m_title, &QLineEdit::textEdited, m_model, &ImageReviewModel::setTitle);
    connect(m_title, &design::ODTextField::submitted, m_model, &ImageReviewModel::add);
    connect(m_title, &design::ODTextField::tabPressed, m_model, &ImageReviewModel::moreDetails);
    return card;
}

QWidget* ImageReviewView::makeFooter() {
    auto* footer = new design::SunkenFooter(14, 10, this);
    footer->row()->setContentsMargins(14, 10, 12, 12);
    footer->row()->setSpacing(8);
    m_moreDetails = new design::PlainKeycapButton(u"⇥ tab"_s, u"more details"_s, footer);
    m_add = new design::KeycapButton(u"Add event"_s, std::nullopt, u"↩"_s, design::ODButtonKind::primary,
                                     design::ODButtonSize::medium, false, footer);
    footer->row()->addWidget(m_moreDetails);
    footer->row()->addStretch(1);
    footer->row()->addWidget(m_add);
    connect(m_moreDetails, &QAbstractButton::clicked, m_model, &ImageReviewModel::moreDetails);
    connect(m_add, &QAbstractButton::clicked, m_model, &ImageReviewModel::add);
    return footer;
}

void ImageReviewView::installKeys() {
    for (const auto& [key, kind] : {std::pair{Qt::Key_1, Kind::event}, std::pair{Qt::Key_2, Kind::reminder}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ControlModifier | key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, m_model, [this, kind] { m_model->chooseKind(kind); });
    }
}

// Return is the add button's wherever the focus is, unless what has the focus
// took it (the title field adds by itself, a focused button clicks, the notes
// break the line): one press, one add.
void ImageReviewView::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (m_add->isEnabled())
            m_model->add();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ImageReviewView::showEvent(QShowEvent* event) {
    m_model->appear();
    QWidget::showEvent(event);
}

void ImageReviewView::hideEvent(QHideEvent* event) {
    // A card does not outlive the screen on screen.
    m_model->setOpenCard(std::nullopt);
    m_model->disappear();
    QWidget::hideEvent(event);
}

void ImageReviewView::showModel() {
    const ImageReviewModel& model = *m_model;
    m_kind->setKind(model.kind());
    const bool hasDay = model.day().has_value();
    m_banner->setVisible(!hasDay);
    m_source->setVisible(hasDay);
    m_source->setStatus(model.statusLine());
    m_title->setPlaceholder(model.titlePlaceholder());
    m_title->setAccessibleName(model.titlePlaceholder());
    m_title->setTextKeepingEdit(model.title());
    m_eventFields->setVisible(model.kind() == Kind::event);
    m_eventFields->showModel();
    m_reminderFields->setVisible(model.kind() == Kind::reminder);
    m_reminderFields->showModel();
    m_cards->show();
    m_text->setOpen(model.showText());
    m_text->setNotes(model.notes());
    m_error->setText(model.errorText().value_or(QString()));
    m_error->setVisible(model.errorText().has_value());
    m_add->setTitle(model.addTitle());
    m_add->setEnabled(model.canAdd());
    m_moreDetails->setAccessibleName(model.moreDetailsAccessibleName());
}

}  // namespace imageimport

namespace imageimport {

QWidget* makeImportReview(app::AppEnvironment& environment, ImageImportSession& session, QWidget* parent) {
    return new ImageReviewView(environment, session, parent);
}

}  // namespace imageimport
