#include "imageimport/review/ImageReviewView.h"

#include "design/CappedHeightView.h"
#include "design/KeycapButton.h"
#include "design/ODTextField.h"
#include "design/PlainKeycapButton.h"
#include "design/TextBlock.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/review/ImageReviewModel.h"
#include "imageimport/review/ReviewKindToggle.h"
#include "imageimport/review/ReviewSourceParts.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/images/QtImages.h"
#include "platform/textrecognition/FakeTextRecognizer.h"

#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"

#include <QApplication>
#include <QPlainTextEdit>
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

namespace {

constexpr int kWidth = 364;

// The review of a flyer read on fakes, on Tuesday 10 March 2026 at 09:00.
class ReviewScreen : public ::testing::Test {
protected:
    ReviewScreen() {
        env.ek.addCalendar(EntityType::Event, u"Office"_s);
        env.ek.addCalendar(EntityType::Reminder, u"Errands"_s);
        env.setAccess(AuthorizationStatus::FullAccess, AuthorizationStatus::FullAccess);
        session().setRunner([](std::function<void()> job) { job(); });
        session().setReading({&loader, &recognizer, nullptr});
        QImage flyer(120, 160, QImage::Format_ARGB32_Premultiplied);
        flyer.fill(QColor(70, 110, 170));
        loader.add("png", platform::ImageLoader::Format::image, platform::images::fromQImage(flyer));
    }

    ImageImportSession& session() { return env.appState.imageImport(); }

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
};

const QStringList kFlyer{u"Spring Market"_s, u"Saturday 14 March 2026"_s, u"10:00 - 16:00"_s,
                         u"Old Town Square"_s};
const QStringList kUndated{u"Spring Market"_s, u"Old Town Square · stalls and music"_s};

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
        undated->model().setShowText(true);
        EXPECT_TRUE(testsupport::rendersAsReference(*undated, kWidth, dark, u"review-reminder-no-date-notes"_s));
    }
}

}  // namespace
