#include "imageimport/review/ImageReviewView.h"

#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/KitMenu.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODTextField.h"
#include "design/widgets/PlainKeycapButton.h"
#include "design/widgets/PopupMenu.h"
#include "design/widgets/QuickChoiceRow.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TimeCard.h"
#include "design/widgets/TimeField.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ReviewCards.h"
#include "imageimport/review/ReviewKindToggle.h"
#include "imageimport/review/ReviewPills.h"
#include "imageimport/review/ReviewReminderFields.h"
#include "imageimport/review/ReviewSourceParts.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/images/QtImages.h"
#include "platform/textrecognition/FakeTextRecognizer.h"
#include "state/PlatformWords.h"

#include "AnimationClock.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using app::PopoverRoute;
using platform::AuthorizationStatus;
using platform::EntityType;
using storetest::local;
using Kind = ImageExtraction::Kind;
using Card = ImageReviewModel::Card;
using design::FieldCard;

namespace {

constexpr int kWidth = 364;

// The review of a flyer read on fakes, on Tuesday 10 March 2026 at 09:00.
class ReviewScreen : public ::testing::Test {
protected:
    ReviewScreen() {
        env.ek.addCalendar(EntityType::Event, u"Office"_s);
        errands = env.ek.addCalendar(EntityType::Reminder, u"Errands"_s).calendarIdentifier;
        env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::FullAccess);
        session().setRunner([](std::function<void()> job) { job(); });
        session().setReading({&loader, &recognizer, nullptr});
        QImage flyer(120, 160, QImage::Format_ARGB32_Premultiplied);
        flyer.fill(QColor(70, 110, 170));
        loader.add("png", platform::ImageLoader::Format::image, platform::images::fromQImage(flyer));
    }

    ImageImportSession& session() { return env.appState.imageImport(); }

    void useErrandsForNewReminders() {
        env.ek.setDefaultCalendarForNewReminders(errands);
        env.store.reload();
    }

    // Reads the lines as the image's text and shows its review.
    std::unique_ptr<ImageReviewView> review(const QStringList& lines) {
        std::vector<platform::TextPiece> pieces;
        // The first line is the flyer's heading; boxes rise from the image's bottom edge.
        double top = 0.95;
        for (const QString& line : lines) {
            const double height = pieces.empty() ? 0.12 : 0.05;
            top -= height + 0.05;
            pieces.push_back({line, QRectF(0.05, top, 0.8, height)});
        }
        recognizer.setResult(pieces);
        session().begin(ImageImportInput::data("png"));
        QCoreApplication::processEvents();
        env.appState.setRoute(PopoverRoute::imageImport());
        auto view = std::make_unique<ImageReviewView>(env.environment, session());
        view->resize(kWidth, view->sizeHint().height());
        return view;
    }

    testsupport::ScreenEnvironment env{local(2026, 3, 10, 9, 0)};
    platform::FakeImageLoader loader;
    platform::FakeTextRecognizer recognizer;
    QString errands;
};

const QStringList kFlyer{u"Spring Market"_s, u"Saturday 14 March 2026"_s, u"10:00 - 16:00"_s,
                         u"Old Town Square"_s};
const QStringList kUndated{u"Spring Market"_s, u"Old Town Square · stalls and music"_s};
const QStringList kBill{u"City Power & Light"_s, u"Amount due: 84.20 EUR"_s, u"Pay by 28 March 2026"_s};

template <typename Content>
Content* inPopover(ImageReviewView& view) {
    design::AnchoredPopover* popover = view.cards()->openPopover();
    if (!popover || !popover->isVisible())
        return nullptr;
    return popover->content()->findChild<Content*>() ? popover->content()->findChild<Content*>()
                                                     : qobject_cast<Content*>(popover->content());
}

TEST_F(ReviewScreen, ReturnInTheTitleAddsOneEventAndReturnElsewhereIsTheAddButtons) {
    auto view = review(kFlyer);
    view->show();
    QTest::keyClick(view->titleField(), Qt::Key_Return);
    EXPECT_EQ(env.ek.committedEvents().size(), 1u) << "a field passes Return on to its parents";
    EXPECT_EQ(env.appState.route(), PopoverRoute::main());

    // Return that nothing focused takes is the add button's, once.
    env.appState.setRoute(PopoverRoute::imageImport());
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(env.ek.committedEvents().size(), 2u);
}

TEST_F(ReviewScreen, WithoutADayTheBannerStandsInTheStripsPlaceAndAddIsOff) {
    auto view = review(kUndated);
    view->show();
    EXPECT_TRUE(view->noDateBanner()->isVisible());
    EXPECT_FALSE(view->sourceStrip()->isVisible());
    EXPECT_FALSE(view->addButton()->isEnabled());
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_TRUE(env.ek.committedEvents().empty());
    // More details still works: it asks for the day.
    view->moreDetailsButton()->click();
    EXPECT_EQ(view->model().openCard(), ImageReviewModel::Card::date);

    view->model().pickDay(local(2026, 3, 20));
    EXPECT_FALSE(view->noDateBanner()->isVisible());
    EXPECT_TRUE(view->sourceStrip()->isVisible());
    EXPECT_TRUE(view->addButton()->isEnabled());
}

TEST_F(ReviewScreen, TheKindKeysSwapTheTextsAndKeepTheTypedTitle) {
    auto view = review(kFlyer);
    view->show();
    QApplication::setActiveWindow(view.get());
    QTest::keyClicks(view->titleField(), u" 2026"_s);
    QTest::keyClick(view->titleField(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(view->model().kind(), Kind::reminder);
    EXPECT_EQ(view->titleField()->placeholder(), u"Reminder title"_s);
    EXPECT_EQ(view->titleField()->accessibleName(), u"Reminder title"_s);
    EXPECT_EQ(view->addButton()->title(), u"Add reminder"_s);
    EXPECT_EQ(view->moreDetailsButton()->accessibleName(), u"More details, edit the notes"_s);
    EXPECT_EQ(view->sourceStrip()->status(), u"Switched to a reminder"_s);
    EXPECT_EQ(view->titleField()->text(), u"Spring Market 2026"_s);

    QTest::keyClick(view->titleField(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(view->model().kind(), Kind::event);
    EXPECT_EQ(view->addButton()->title(), u"Add event"_s);
    EXPECT_EQ(view->sourceStrip()->status(), view->model().extraction().summary());
}

TEST_F(ReviewScreen, TabHandsTheEventToTheEditorAndOpensAReminderNotes) {
    auto view = review(kFlyer);
    view->show();
    QTest::keyClick(view->titleField(), Qt::Key_Tab);
    EXPECT_TRUE(env.appState.route().is(PopoverRoute::Kind::eventCreate));
    ASSERT_TRUE(env.appState.pendingDraft());
    EXPECT_EQ(env.appState.pendingDraft()->title, u"Spring Market"_s);

    view->model().chooseKind(Kind::reminder);
    QTest::keyClick(view->titleField(), Qt::Key_Tab);
    EXPECT_TRUE(view->recognisedText()->editor()->isVisible());
    QTest::keyClicks(view->recognisedText()->editor(), u"Bring a bag"_s);
    EXPECT_TRUE(view->model().notes().endsWith(u"Bring a bag"_s)) << "typed after the notes the image gave";
}

TEST_F(ReviewScreen, AFailedAddIsSaidUnderTheRecognisedText) {
    auto view = review(kFlyer);
    view->show();
    EXPECT_FALSE(view->errorLine()->isVisible());
    env.ek.failNext(platform::FakeEventStore::Operation::SaveEvent,
                    platform::EventStoreError(platform::EventStoreError::Code::WriteFailed, u"The disk is full."_s));
    view->addButton()->click();
    EXPECT_TRUE(view->errorLine()->isVisible());
    EXPECT_EQ(view->errorLine()->text(), u"The disk is full."_s);
}

TEST_F(ReviewScreen, ALowPopoverScrollsOnlyTheColumn) {
    env.appState.setPopoverMaxHeight(260);
    auto view = review(kFlyer);
    view->show();
    EXPECT_TRUE(view->frame()->isScrolling());
    EXPECT_LE(view->frame()->sizeHint().height(), 260);
    env.appState.setPopoverMaxHeight(680);
    EXPECT_FALSE(view->frame()->isScrolling());
}

TEST_F(ReviewScreen, LooksAsDesigned) {
    for (const bool dark : {false, true}) {
        auto dated = review(kFlyer);
        EXPECT_TRUE(testsupport::rendersAsReference(*dated, kWidth, dark, u"review-event"_s));
        dated->model().chooseKind(Kind::reminder);
        EXPECT_TRUE(testsupport::rendersAsReference(*dated, kWidth, dark, u"review-reminder"_s));
        dated.reset();
        auto undated = review(kUndated);
        EXPECT_TRUE(testsupport::rendersAsReference(*undated, kWidth, dark, u"review-event-no-date"_s));
        undated->model().chooseKind(Kind::reminder);
        // On screen, where the notes editor knows whether its lines fit; a blinking caret is no part of the look.
        undated->show();
        undated->model().setShowText(true);
        undated->titleField()->clearFocus();
        EXPECT_TRUE(testsupport::rendersAsReference(*undated, kWidth, dark, u"review-reminder-no-date-notes"_s));
    }
}

// --- The reminder's fields ------------------------------------------------------------------------------

TEST_F(ReviewScreen, ABillShowsTheReminderFieldsAndWhyItIsAReminder) {
    useErrandsForNewReminders();
    auto view = review(kBill);
    view->show();
    QApplication::setActiveWindow(view.get());
    ASSERT_EQ(view->model().kind(), Kind::reminder);
    ReviewReminderFields& fields = *view->reminderFields();
    EXPECT_TRUE(fields.isVisible());
    EXPECT_EQ(fields.dueChip()->value(), u"Sat, Mar 28"_s);
    EXPECT_EQ(fields.dueChip()->tag(), FieldCard::Tag::found);
    EXPECT_FALSE(fields.dueChip()->isFocused());
    EXPECT_EQ(fields.remindChip()->accessibleName(), u"Remind Me, 9:00\u202FAM, default"_s);
    EXPECT_EQ(fields.listChip()->value(), u"Errands"_s);
    EXPECT_EQ(fields.priorityChip()->accessibleName(), u"Priority, None"_s);
    EXPECT_TRUE(fields.reasonLine()->isVisible());
    EXPECT_TRUE(fields.reasonLine()->text().contains(u"\u201CPay by\u201D"_s)) << fields.reasonLine()->text().toStdString();

    QTest::keyClick(view->titleField(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_FALSE(fields.isVisible()) << "an event has fields of its own";
    QTest::keyClick(view->titleField(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(fields.isVisible());
}

TEST_F(ReviewScreen, TheRecognisedTextOpensOverAMomentAndOnlyLongNotesScroll) {
    testsupport::AnimationClock clock;
    auto view = review(kFlyer);
    view->show();
    QCoreApplication::processEvents();
    RecognisedTextPanel& text = *view->recognisedText();
    const int collapsed = text.height();
    QTest::mouseClick(text.disclosure(), Qt::LeftButton);
    ASSERT_TRUE(text.isOpen());
    clock.advance(RecognisedTextPanel::kDisclosureMs / 2);
    EXPECT_GT(text.minimumHeight(), collapsed);
    EXPECT_LT(text.minimumHeight(), collapsed + RecognisedTextPanel::kEditorHeight);
    EXPECT_EQ(text.maximumHeight(), text.minimumHeight()) << "held at the height it has reached";
    clock.advance(RecognisedTextPanel::kDisclosureMs);
    EXPECT_EQ(text.maximumHeight(), QWIDGETSIZE_MAX) << "free again once open";
    QCoreApplication::processEvents();
    EXPECT_FALSE(text.editor()->verticalScrollBar()->isVisible()) << "the flyer's few lines fit";

    QStringList lines;
    for (int line = 1; line <= 30; ++line)
        lines << u"Line %1 of the flyer"_s.arg(line);
    view->model().setNotes(lines.join(u'\n'));
    QCoreApplication::processEvents();
    EXPECT_TRUE(text.editor()->verticalScrollBar()->isVisible()) << "long notes scroll";
    EXPECT_GT(text.editor()->verticalScrollBar()->maximum(), 0);
}

// The quick times in the 12-hour form are the widest; the cards open over the popover.
TEST_F(ReviewScreen, TheTimeAndRemindCardsFitThePopoverWithTwelveHourQuickTimes) {
    auto view = review(kFlyer);
    view->show();
    for (const auto& [kind, card] : {std::pair{Kind::event, Card::time}, std::pair{Kind::reminder, Card::remind}}) {
        view->model().chooseKind(kind);
        view->model().setOpenCard(card);
        design::AnchoredPopover* popover = view->cards()->openPopover();
        ASSERT_NE(popover, nullptr);
        auto* time = inPopover<design::TimeCard>(*view);
        ASSERT_NE(time, nullptr);
        ASSERT_EQ(time->quickTimes()->titles().first(), u"9:00\u202FAM"_s);
        EXPECT_LE(popover->width(), kWidth) << "card " << static_cast<int>(card);
        for (const design::ODButton* quick : time->quickTimes()->buttons()) {
            const QRect at(quick->mapTo(popover, QPoint(0, 0)), quick->size());
            EXPECT_TRUE(popover->rect().contains(at)) << quick->title().toStdString() << " sticks out";
        }
    }
    view->model().chooseKind(Kind::event);
    view->model().setOpenCard(Card::time);
    for (const bool dark : {false, true}) {
        const QString name = u"review-time-open"_s;
        EXPECT_TRUE(testsupport::matchesReference(
            testsupport::renderWithPopup(*view, kWidth, *view->cards()->openPopover(), dark, name),
            name + (dark ? u"-dark"_s : u"-light"_s)));
    }
}

TEST_F(ReviewScreen, TheDueAndRemindChipsOpenTheirCardsAndAChoiceInThemClosesThem) {
    auto view = review(kUndated);
    view->model().chooseKind(Kind::reminder);
    view->show();
    ReviewReminderFields& fields = *view->reminderFields();
    EXPECT_EQ(fields.dueChip()->value(), u"Pick a day"_s);
    EXPECT_TRUE(fields.dueChip()->isFocused()) << "a missing day asks for attention";
    EXPECT_EQ(fields.dueChip()->tag(), std::nullopt);
    ASSERT_TRUE(fields.quickDays()->isVisible());
    EXPECT_EQ(fields.quickDays()->pills()[1]->title(), u"Tomorrow"_s);

    fields.dueChip()->click();
    design::MonthPicker* month = inPopover<design::MonthPicker>(*view);
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->date(), local(2026, 3, 10)) << "today, with no day yet";
    EXPECT_EQ(month->calendar().component(core::CalendarUnit::Weekday, month->days().front()), 2)
        << "its weeks start on Monday, as the month grid's do";
    month->pick(local(2026, 3, 20));
    EXPECT_EQ(view->model().day(), local(2026, 3, 20));
    EXPECT_FALSE(view->model().openCard());
    EXPECT_EQ(inPopover<design::MonthPicker>(*view), nullptr);
    EXPECT_EQ(fields.dueChip()->value(), u"Fri, Mar 20"_s);
    EXPECT_EQ(fields.dueChip()->tag(), std::nullopt) << "picked by hand";
    EXPECT_FALSE(fields.quickDays()->isVisible());

    fields.remindChip()->click();
    design::TimeCard* time = inPopover<design::TimeCard>(*view);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->allDaySwitch(), nullptr) << "a reminder is never all day";
    time->field()->selectPart(design::TimeField::Part::hour);
    QTest::keyClick(time->field(), Qt::Key_Up);
    EXPECT_EQ(view->model().remindAt(), (TimeOfDay{10, 0}));
    EXPECT_TRUE(view->cards()->openPopover()->isVisible()) << "the field keeps the card open";
    time->quickTimes()->buttons()[2]->click();
    EXPECT_EQ(view->model().remindAt(), (TimeOfDay{13, 0}));
    EXPECT_FALSE(view->model().openCard());
    EXPECT_EQ(fields.remindChip()->value(), u"1:00\u202FPM"_s);
    EXPECT_EQ(fields.remindChip()->tag(), std::nullopt) << "set by hand";

    // A second tap closes the card; Escape too.
    fields.remindChip()->click();
    fields.remindChip()->click();
    EXPECT_FALSE(view->model().openCard());
    fields.dueChip()->click();
    EXPECT_TRUE(env.appState.offerEscape());
    EXPECT_EQ(inPopover<design::MonthPicker>(*view), nullptr);
}

TEST_F(ReviewScreen, TheListAndPriorityMenusChooseAndTheListAsksForAccessFirst) {
    useErrandsForNewReminders();
    auto view = review(kBill);
    view->show();
    ReviewReminderFields& fields = *view->reminderFields();
    std::vector<design::PopupMenuItem> priorities = fields.priorityMenuItems();
    ASSERT_EQ(priorities.size(), 4u);
    EXPECT_TRUE(priorities[0].checked);
    priorities[3].action();
    EXPECT_EQ(fields.priorityChip()->value(), u"High"_s);
    EXPECT_EQ(view->model().priority(), 1);
    EXPECT_TRUE(fields.priorityMenuItems()[3].checked);
    const std::vector<design::PopupMenuItem> lists = fields.listMenuItems();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, u"Errands"_s);
    EXPECT_TRUE(lists[0].checked);

    // Without access there is no list to offer: the tap asks, and a refusal says where to turn it on.
    env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::NotDetermined);
    EXPECT_EQ(fields.listChip()->value(), u"Reminders"_s);
    env.ek.setAccessAnswer(EntityType::Reminder, AuthorizationStatus::Denied, false);
    fields.listChip()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(env.ek.callCount(platform::FakeEventStore::Operation::RequestAccess), 1);
    EXPECT_TRUE(view->errorLine()->isVisible());
    EXPECT_TRUE(view->errorLine()->text().contains(app::words::privacyRemindersPath()));
    // Given later, the lists come back without another tap.
    env.ek.setAuthorizationStatus(EntityType::Reminder, AuthorizationStatus::FullAccess);
    env.store.reload();
    EXPECT_EQ(fields.listChip()->value(), u"Errands"_s);
}

TEST_F(ReviewScreen, TheReminderLooksAsDesignedWithEachChipOpen) {
    useErrandsForNewReminders();
    auto view = review(kBill);
    view->show();
    ReviewReminderFields& fields = *view->reminderFields();
    for (const bool dark : {false, true}) {
        const QString look = dark ? u"-dark"_s : u"-light"_s;
        for (const auto& [card, name] : {std::pair{Card::due, u"review-reminder-due-open"_s},
                                         std::pair{Card::remind, u"review-reminder-remind-open"_s}}) {
            view->model().setOpenCard(card);
            ASSERT_NE(view->cards()->openPopover(), nullptr);
            EXPECT_TRUE(testsupport::matchesReference(
                testsupport::renderWithPopup(*view, kWidth, *view->cards()->openPopover(), dark, name), name + look));
            view->model().setOpenCard(std::nullopt);
        }
        // A menu opens at the pointer, here the middle of its chip.
        for (const auto& [chip, name] : {std::pair{fields.listChip(), u"review-reminder-list-open"_s},
                                         std::pair{fields.priorityChip(), u"review-reminder-priority-open"_s}}) {
            const std::unique_ptr<design::KitMenu> menu = design::PopupMenu::build(
                chip == fields.listChip() ? fields.listMenuItems() : fields.priorityMenuItems());
            menu->adjustSize();
            menu->move(chip->mapToGlobal(chip->rect().center()));
            EXPECT_TRUE(testsupport::matchesReference(testsupport::renderWithPopup(*view, kWidth, *menu, dark, name),
                                                      name + look));
        }
    }
}

}  // namespace
