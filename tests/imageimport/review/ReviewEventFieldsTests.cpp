// The event's fields of the review screen on a real X server: pop-ups there
// take the clicks outside them and Escape themselves.

#include "design/widgets/AnchoredPopover.h"
#include "design/widgets/DurationList.h"
#include "design/widgets/FieldCard.h"
#include "design/widgets/MonthPicker.h"
#include "design/widgets/ODTextField.h"
#include "design/widgets/TimeCard.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ImageReviewView.h"
#include "imageimport/review/ReviewCards.h"
#include "imageimport/review/ReviewEventFields.h"
#include "imageimport/review/ReviewPills.h"
#include "imageimport/review/ReviewPlaceRows.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/images/QtImages.h"
#include "platform/textrecognition/FakeTextRecognizer.h"

#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace imageimport;
using app::PopoverRoute;
using platform::EntityType;
using storetest::local;
using Card = ImageReviewModel::Card;

namespace {

constexpr int kWidth = 364;

const QStringList kFlyer{u"Poetry evening"_s, u"Saturday 14 March 2026"_s, u"10:00 - 16:00"_s,
                         u"Royal Festival Hall, London"_s, u"Stream: https://us02web.zoom.us/j/81234567890"_s};
const QStringList kUndated{u"Spring Market"_s, u"Old Town Square · stalls and music"_s};
const QStringList kSeason{u"Open Air Cinema"_s,          u"Fri 13 March 2026 21:00"_s, u"Sat 14 March 2026 21:00"_s,
                          u"Sun 15 March 2026 20:30"_s,  u"Fri 20 March 2026 21:00"_s, u"Sat 21 March 2026 21:00"_s,
                          u"Sun 22 March 2026 20:30"_s,  u"Fri 27 March 2026 21:00"_s};

// The review of an image read on fakes, on Tuesday 10 March 2026 at 09:00, in
// a window of the popover's width.
class ReviewFields : public ::testing::Test {
protected:
    ReviewFields() {
        office = env.ek.addCalendar(EntityType::Event, u"Office"_s, core::Color::rgb(45, 127, 249)).calendarIdentifier;
        home = env.ek.addCalendar(EntityType::Event, u"Home"_s, core::Color::rgb(40, 160, 80)).calendarIdentifier;
        env.ek.setDefaultCalendarForNewEvents(office);
        env.setAccess(platform::AuthorizationStatus::FullAccess, platform::AuthorizationStatus::FullAccess);
        session().setRunner([](std::function<void()> job) { job(); });
        session().setReading({&loader, &recognizer, nullptr});
        QImage flyer(120, 160, QImage::Format_ARGB32_Premultiplied);
        flyer.fill(QColor(70, 110, 170));
        loader.add("png", platform::ImageLoader::Format::image, platform::images::fromQImage(flyer));
    }

    void SetUp() override { ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server"; }

    ImageImportSession& session() { return env.appState.imageImport(); }

    // Reads the lines as the image's text and shows its review in a window.
    void review(const QStringList& lines) {
        std::vector<platform::TextPiece> pieces;
        double top = 0.95;
        for (const QString& line : lines) {
            const double height = pieces.empty() ? 0.12 : 0.05;
            top -= height + 0.05;
            pieces.push_back({line, QRectF(0.05, top, 0.9, height)});
        }
        recognizer.setResult(pieces);
        session().begin(ImageImportInput::data("png"));
        QCoreApplication::processEvents();
        env.appState.setRoute(PopoverRoute::imageImport());
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_view = new ImageReviewView(env.environment, session(), m_window.get());
        layout->addWidget(m_view, 0, Qt::AlignTop);
        m_window->resize(kWidth, 760);
        m_window->move(200, 20);
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    ImageReviewView& view() { return *m_view; }
    ImageReviewModel& model() { return m_view->model(); }
    ReviewEventFields& fields() { return *m_view->eventFields(); }
    design::FieldCard* chip(Card card) { return m_view->cards()->chip(card); }

    // A tap as the user makes it: through the window system, so that an open
    // pop-over sees it first.
    void tap(QWidget* widget) {
        QWidget* window = widget->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
        QCoreApplication::processEvents();
    }
    design::AnchoredPopover* popover() {
        QCoreApplication::processEvents();
        design::AnchoredPopover* open = m_view->cards()->openPopover();
        return open != nullptr && open->isVisible() ? open : nullptr;
    }
    template <class Piece>
    Piece* inPopover() {
        QWidget* content = popover()->content();
        if (auto* itself = qobject_cast<Piece*>(content))
            return itself;
        return content->findChild<Piece*>();
    }
    QImage shot(bool dark, const QString& name) {
        // A blinking caret would make each picture a matter of timing.
        view().titleField()->clearFocus();
        if (design::AnchoredPopover* open = popover())
            return testsupport::renderWithPopup(view(), kWidth, *open, dark, name);
        return testsupport::renderOnSurface(view(), kWidth, dark, name);
    }

    testsupport::ScreenEnvironment env{local(2026, 3, 10, 9, 0)};
    platform::FakeImageLoader loader;
    platform::FakeTextRecognizer recognizer;
    QString office;
    QString home;

private:
    std::unique_ptr<QWidget> m_window;
    ImageReviewView* m_view = nullptr;
};

TEST_F(ReviewFields, AChipOpensItsCardASecondTapClosesItAndEscapeClosesTheCardBeforeTheScreen) {
    review(kFlyer);
    tap(chip(Card::date));
    ASSERT_TRUE(popover());
    EXPECT_EQ(model().openCard(), Card::date);
    EXPECT_TRUE(chip(Card::date)->isFocused());
    EXPECT_EQ(inPopover<design::MonthPicker>()->date(), local(2026, 3, 14));

    tap(chip(Card::date));
    EXPECT_FALSE(popover());
    EXPECT_EQ(model().openCard(), std::nullopt);
    EXPECT_FALSE(chip(Card::date)->isFocused());

    // A tap on another chip moves the card there.
    tap(chip(Card::date));
    tap(chip(Card::time));
    ASSERT_TRUE(popover());
    EXPECT_EQ(model().openCard(), Card::time);
    EXPECT_NE(inPopover<design::TimeCard>(), nullptr);
    EXPECT_FALSE(chip(Card::date)->isFocused());

    QTest::keyClick(popover(), Qt::Key_Escape);
    EXPECT_FALSE(popover());
    EXPECT_EQ(model().openCard(), std::nullopt);
    EXPECT_EQ(env.appState.route(), PopoverRoute::imageImport()) << "the first Escape only closes the card";

    // The card's choice ends it: a length closes the list.
    tap(chip(Card::duration));
    ASSERT_TRUE(popover());
    EXPECT_EQ(inPopover<design::DurationList>()->selected(), 360);
    tap(inPopover<design::DurationList>()->row(90));
    EXPECT_FALSE(popover());
    EXPECT_EQ(model().duration(), 5400);
    EXPECT_EQ(chip(Card::duration)->value(), u"1h 30m"_s);
    EXPECT_EQ(chip(Card::duration)->tag(), std::nullopt);
}

TEST_F(ReviewFields, WithoutADayTheQuickDaysStandInForTheLengthAndCalendarUntilOneIsPicked) {
    review(kUndated);
    EXPECT_TRUE(chip(Card::date)->isFocused()) << "the missing day asks for attention";
    EXPECT_EQ(chip(Card::date)->value(), u"Pick a day"_s);
    EXPECT_EQ(chip(Card::time)->value(), u"\u2014"_s);
    ASSERT_TRUE(fields().quickDays()->isVisible());
    EXPECT_FALSE(chip(Card::duration)->isVisible());
    EXPECT_FALSE(fields().calendarChip()->isVisible());
    std::vector<QString> titles;
    for (const DatePill* pill : fields().quickDays()->pills())
        titles.push_back(pill->title());
    EXPECT_EQ(titles, (std::vector<QString>{u"Today"_s, u"Tomorrow"_s, u"Sat, Mar 14"_s}));
    EXPECT_FALSE(fields().quickDays()->pills()[2]->isSelected());

    tap(fields().quickDays()->pills()[1]);
    EXPECT_EQ(model().day(), local(2026, 3, 11));
    EXPECT_FALSE(fields().quickDays()->isVisible());
    EXPECT_TRUE(chip(Card::duration)->isVisible());
    EXPECT_EQ(chip(Card::date)->value(), u"Wed, Mar 11"_s);
    EXPECT_FALSE(chip(Card::date)->isFocused());
    EXPECT_EQ(chip(Card::time)->value(), u"All day"_s);
    EXPECT_EQ(fields().calendarChip()->value(), u"Office"_s);
    EXPECT_EQ(fields().calendarChip()->accessibleName(), u"Calendar, Office"_s);
}

TEST_F(ReviewFields, AReviewLeftOpenOverMidnightOffersTheNewDays) {
    // Thursday 12 March, two minutes to midnight.
    env.clock.advance(2 * 86400 + 14 * 3600 + 58 * 60);
    review(kUndated);
    ASSERT_EQ(fields().quickDays()->pills()[2]->title(), u"Sat, Mar 14"_s);

    env.clock.advance(5 * 60);
    env.systemEvents.simulateDayChange();
    EXPECT_EQ(fields().quickDays()->pills()[2]->title(), u"Sat, Mar 21"_s)
        << "tomorrow is Saturday now: the one after it";
    tap(fields().quickDays()->pills()[0]);
    EXPECT_EQ(model().day(), local(2026, 3, 13)) << "today is Friday";
}

TEST_F(ReviewFields, TheOtherDatesWrapAtThePanelsWidthAndATapAppliesOne) {
    review(kSeason);
    OtherDatesBlock* dates = fields().otherDates();
    ASSERT_TRUE(dates->isVisible());
    ASSERT_EQ(dates->pills().size(), 5u) << "the extractor keeps five";
    EXPECT_TRUE(dates->pills()[0]->isSelected());
    std::set<int> rows;
    for (const DatePill* pill : dates->pills()) {
        const QRect inBlock(pill->mapTo(dates, QPoint(0, 0)), pill->size());
        EXPECT_TRUE(dates->rect().contains(inBlock)) << pill->title().toStdString() << " passes the edge";
        rows.insert(inBlock.top());
    }
    EXPECT_GE(rows.size(), 3u) << "five such pills cannot share one or two rows of a popover";

    tap(dates->pills()[4]);
    EXPECT_EQ(model().day(), local(2026, 3, 21));
    EXPECT_TRUE(dates->pills()[4]->isSelected());
    EXPECT_FALSE(dates->pills()[0]->isSelected());
    EXPECT_EQ(chip(Card::date)->tag(), design::FieldCard::Tag::found);
    EXPECT_EQ(chip(Card::time)->value(), u"9:00\u202FPM"_s);
}

TEST_F(ReviewFields, ThePlaceIsMarkedFoundWhileItIsTheImagesAndReturnInItAdds) {
    review(kFlyer);
    ReviewLocationRow* place = fields().locationRow();
    ASSERT_EQ(place->field()->toPlainText(), u"Royal Festival Hall, London"_s);
    EXPECT_TRUE(place->showsFound());
    place->field()->setFocus();
    place->field()->moveCursor(QTextCursor::End);
    QTest::keyClicks(place->field(), u"!"_s);
    EXPECT_FALSE(place->showsFound());
    EXPECT_EQ(model().location(), u"Royal Festival Hall, London!"_s);
    QTest::keyClick(place->field(), Qt::Key_Backspace);
    EXPECT_TRUE(place->showsFound());

    QTest::keyClick(place->field(), Qt::Key_Return);
    ASSERT_EQ(env.ek.committedEvents().size(), 1u) << "one press, one add";
    EXPECT_EQ(env.ek.committedEvents().front().location, u"Royal Festival Hall, London"_s);
}

TEST_F(ReviewFields, ALongPlaceGrowsToTwoLinesAndNoFurther) {
    review(kUndated);
    LocationField* field = fields().locationRow()->field();
    const int oneLine = field->height();
    field->setPlainText(u"Old Town Square, by the fountain across from the town hall"_s);
    EXPECT_GT(field->height(), oneLine);
    const int twoLines = field->height();
    field->setPlainText(QString(u"Old Town Square, by the fountain "_s).repeated(8));
    EXPECT_EQ(field->height(), twoLines);
}

TEST_F(ReviewFields, TheMeetingRowNamesTheServiceAndHostAndOnlyTells) {
    review(kFlyer);
    ReviewMeetingRow* meeting = fields().meetingRow();
    ASSERT_NE(meeting, nullptr);
    EXPECT_TRUE(meeting->isVisible());
    EXPECT_EQ(meeting->service(), u"Zoom link"_s);
    EXPECT_EQ(meeting->host(), u"us02web.zoom.us"_s);
    EXPECT_EQ(meeting->accessibleName(), u"Zoom link found. Added to the event."_s);
    tap(meeting);
    EXPECT_TRUE(env.workspace.opened.isEmpty()) << "the link goes into the event, it is not opened";

    review(kUndated);
    EXPECT_EQ(fields().meetingRow(), nullptr);
}

TEST_F(ReviewFields, LooksAsDesigned) {
    ASSERT_EQ(testsupport::missingFontFamilies(), QStringList());
    review(kFlyer);
    for (const bool dark : {false, true}) {
        const QString appearance = dark ? u"-dark"_s : u"-light"_s;
        EXPECT_TRUE(testsupport::matchesReference(shot(dark, u"review-event-rows"_s), u"review-event-rows"_s + appearance));
        for (const auto& [card, name] : {std::pair(Card::date, u"date"_s), std::pair(Card::time, u"time"_s),
                                         std::pair(Card::duration, u"duration"_s)}) {
            model().setOpenCard(card);
            ASSERT_TRUE(popover());
            const QString picture = u"review-event-card-"_s + name;
            EXPECT_TRUE(testsupport::matchesReference(shot(dark, picture), picture + appearance));
            model().setOpenCard(std::nullopt);
        }
    }
    review(kSeason);
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::matchesReference(shot(dark, u"review-event-other-dates"_s),
                                                  u"review-event-other-dates"_s + (dark ? u"-dark"_s : u"-light"_s)));
}

}  // namespace
