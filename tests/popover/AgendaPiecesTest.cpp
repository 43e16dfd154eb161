#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "design/widgets/CountdownSticker.h"
#include "design/widgets/JoinButton.h"
#include "design/widgets/Painting.h"
#include "platform/workspace/FakeWorkspace.h"
#include "popover/AllDayPill.h"
#include "popover/EmptyStateView.h"
#include "popover/EventRowView.h"
#include "state/AppState.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using popover::EventRowInput;
using popover::EventRowView;
using popover::JoinButton;
using popovertest::local;

namespace {

// Built when used: the zone is pinned only once the test binary runs.
core::Date noon() {
    return local(2026, 3, 10, 12);
}

class AgendaPieces : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    std::unique_ptr<EventRowView> row(EventRowInput input) {
        auto view = std::make_unique<EventRowView>(std::move(input), appState, workspace);
        view->resize(348, view->sizeHint().height());
        return view;
    }

    app::AppState appState;
    platform::FakeWorkspace workspace;
};

model::ODEvent withMeeting(model::ODEvent event, const QString& text) {
    event.meeting = model::MeetingLinkDetector::detect(text);
    return event;
}

TEST_F(AgendaPieces, AJoinButtonOpensExactlyTheDetectedLinkAndRefusesAnyOtherKindOfAddress) {
    const auto link = model::MeetingLinkDetector::detect(u"Dial in: https://acme.zoom.us/j/8812?pwd=a%20b thanks"_s);
    ASSERT_TRUE(link);
    JoinButton button(*link, design::ODButtonKind::ghost, design::ODButtonSize::small, workspace);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(workspace.opened, QList<QUrl>{link->url});
    EXPECT_EQ(button.toolTip(), u"Join Zoom"_s);

    // A calendar file can carry anything; only web addresses are handed on.
    for (const QString& address : {u"file:///etc/passwd"_s, u"javascript:alert(1)"_s, u"smb://host/share"_s}) {
        EXPECT_FALSE(JoinButton::join(model::MeetingLink{model::MeetingProvider::other, QUrl(address)}, workspace));
    }
    EXPECT_EQ(workspace.opened.size(), 1);

    const model::MeetingLink other{model::MeetingProvider::other, QUrl(u"https://example.org/room"_s)};
    JoinButton quiet(other, design::ODButtonKind::ghost, design::ODButtonSize::small, workspace);
    EXPECT_EQ(quiet.accessibleName(), u"Join Meeting"_s);
    // Every service has a glyph of its own that the symbol set can draw.
    for (const model::MeetingProvider provider : model::kAllMeetingProviders)
        EXPECT_TRUE(design::SymbolTable::hasSymbol(JoinButton::symbolFor(provider))) << model::rawValue(provider).toStdString();
    EXPECT_EQ(JoinButton::symbolFor(model::MeetingProvider::other), u"video.fill"_s);
}

TEST_F(AgendaPieces, ClickingARowOpensTheEditorButItsLinkSearchesTheMapOrCopiesWithAlt) {
    auto visit = popovertest::event(u"Dentist"_s, local(2026, 3, 10, 15), local(2026, 3, 10, 16));
    visit.id = u"dentist|1773151200"_s;
    visit.location = u"Smile Clinic"_s;
    visit.canEdit = false;  // read-only calendars still open in the editor
    auto view = row({visit, noon(), false, std::nullopt, false});
    view->show();

    QAbstractButton* link = view->locationLink();
    ASSERT_TRUE(link);
    EXPECT_EQ(link->accessibleName(), u"Location: Smile Clinic. Open in map"_s);
    EXPECT_EQ(link->toolTip(), u"Open in map (Alt-click to copy)"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(workspace.opened.size(), 1);
    EXPECT_EQ(workspace.opened.front().query(QUrl::FullyDecoded), u"query=Smile Clinic"_s);
    EXPECT_TRUE(appState.route().is(app::PopoverRoute::Kind::main)) << "the link is not the row";
    workspace.altHeld = true;
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(workspace.copied, QStringList{u"Smile Clinic"_s});
    EXPECT_EQ(workspace.opened.size(), 1);

    // Anywhere else on the row, the gaps included.
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(view->width() - 3, view->height() - 2));
    EXPECT_EQ(appState.route(), app::PopoverRoute::eventEdit(u"dentist|1773151200"_s));
}

// The agenda keeps a row while its event stays and hands it the event anew: the row measures what it shows now,
// at the width it already has.
TEST_F(AgendaPieces, AReusedRowMeasuresAndPlacesItsNewContentAtTheSameWidth) {
    auto visit = popovertest::event(u"Dentist"_s, local(2026, 3, 10, 15), local(2026, 3, 10, 16));
    auto view = row({visit, noon(), false, std::nullopt, false});
    const int plain = view->sizeHint().height();
    EXPECT_FALSE(view->locationLink());

    visit.location = u"Smile Clinic"_s;
    view->setInput({visit, noon(), false, std::nullopt, false});
    ASSERT_TRUE(view->locationLink());
    const int withPlace = view->sizeHint().height();
    EXPECT_GT(withPlace, plain) << "the place takes a line";
    const QRect shortPlace = view->locationLink()->geometry();
    EXPECT_GT(shortPlace.top(), plain / 2) << "the place sits under the title";

    visit.location = u"Smile Clinic, 14 Harbour Road"_s;
    view->setInput({visit, noon(), false, std::nullopt, false});
    EXPECT_GT(view->locationLink()->width(), shortPlace.width()) << "the link is measured on its new text";
    EXPECT_EQ(view->sizeHint().height(), withPlace);

    view->setInput({visit, noon(), false, u"Standup"_s, false});
    EXPECT_GT(view->sizeHint().height(), withPlace) << "the overlap tag takes a line";

    visit.location.reset();
    view->setInput({visit, noon(), false, std::nullopt, false});
    EXPECT_FALSE(view->locationLink());
    EXPECT_EQ(view->sizeHint().height(), plain);
}

TEST_F(AgendaPieces, ARowTradesItsStickerForProgressAndItsJoinButtonForTheDotAsTimePasses) {
    auto call = withMeeting(popovertest::event(u"Design review"_s, local(2026, 3, 10, 12, 30), local(2026, 3, 10, 13)),
                            u"https://meet.google.com/abc-defg-hij"_s);
    auto view = row({call, noon(), true, std::nullopt, true});
    ASSERT_TRUE(view->sticker());
    EXPECT_EQ(view->sticker()->text(), u"in 30m"_s);
    ASSERT_TRUE(view->joinButton());
    EXPECT_EQ(view->joinButton()->buttonStyle().kind(), design::ODButtonKind::primary);
    const int countingDown = view->sizeHint().height();
    for (const bool dark : {false, true})
        EXPECT_TRUE(testsupport::rendersAsReference(*view, 348, dark, u"event-row-countdown"_s));

    view->setInput({call, local(2026, 3, 10, 12, 40), true, std::nullopt, true});
    EXPECT_FALSE(view->sticker());
    ASSERT_TRUE(view->joinButton());
    EXPECT_GT(view->sizeHint().height(), countingDown) << "the progress bar takes a line";
    EXPECT_TRUE(view->accessibleName().contains(u"in progress, ends in 20m"_s));

    // No longer highlighted: the quiet button while the meeting lasts, then the dot.
    view->setInput({call, local(2026, 3, 10, 12, 40), false, std::nullopt, true});
    ASSERT_TRUE(view->joinButton());
    EXPECT_EQ(view->joinButton()->buttonStyle().kind(), design::ODButtonKind::ghost);
    EXPECT_EQ(view->joinButton()->buttonStyle().size(), design::ODButtonSize::small);
    view->setInput({call, call.end, false, std::nullopt, true});
    EXPECT_FALSE(view->joinButton());

    // Declined: neither sticker nor button, even when highlighted.
    view->setInput({popovertest::declined(call), noon(), true, std::nullopt, false});
    EXPECT_FALSE(view->sticker());
    EXPECT_FALSE(view->joinButton());
}

TEST_F(AgendaPieces, EveryRowOffersJoinMeetingToAssistiveTechnologiesWhichOpensOnlyARealLink) {
    auto call = withMeeting(popovertest::event(u"Sync"_s, local(2026, 3, 10, 15), local(2026, 3, 10, 16)),
                            u"https://teams.microsoft.com/l/meetup-join/19%3ameeting"_s);
    auto view = row({call, noon(), false, std::nullopt, false});
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(view.get());
    ASSERT_TRUE(spoken && spoken->actionInterface());
    EXPECT_EQ(spoken->role(), QAccessible::Button);
    EXPECT_EQ(spoken->text(QAccessible::Description), u"Opens event details"_s);
    EXPECT_EQ(spoken->text(QAccessible::Name), u"Sync, 3:00\u202FPM \u2013 4:00\u202FPM, Teams meeting"_s);
    QAccessibleActionInterface* actions = spoken->actionInterface();
    ASSERT_TRUE(actions->actionNames().contains(u"Join meeting"_s));
    actions->doAction(u"Join meeting"_s);
    EXPECT_EQ(workspace.opened, QList<QUrl>{call.meeting->url});

    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(appState.route(), app::PopoverRoute::eventEdit(u"Sync"_s));

    view->setInput({popovertest::event(u"Lunch"_s, noon(), noon() + 3600), noon(), false, std::nullopt, false});
    view->joinMeetingAction()->trigger();
    EXPECT_EQ(workspace.opened.size(), 1) << "a row without a link opens nothing";
}

TEST_F(AgendaPieces, AnAllDayPillIsOneButtonNamedByItsTitleAndSpanWhoseTitleIsPlainText) {
    model::ODEvent party = popovertest::allDay(u"<b>Birthday</b> & cake"_s, noon());
    popover::AllDayPill pill(party, local(2026, 3, 10));
    pill.resize(348, pill.sizeHint().height());
    EXPECT_EQ(pill.symbol(), u"gift"_s);
    EXPECT_EQ(pill.accessibleName(), u"<b>Birthday</b> & cake, All day"_s);
    // Markup in a title is shown as written, not interpreted.
    EXPECT_TRUE(pill.toolTip().contains(u"&lt;b&gt;Birthday&lt;/b&gt; &amp; cake"_s));
    QSignalSpy clicks(&pill, &QAbstractButton::clicked);
    QTest::mouseClick(&pill, Qt::LeftButton, {}, QPoint(20, pill.height() / 2));
    QTest::mouseClick(&pill, Qt::LeftButton, {}, QPoint(20, 0));  // the gap between pills
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(AgendaPieces, AnEmptyStateGrowsToShowAllOfItsMessageAndStandsItsTileUprightUnderReducedMotion) {
    const QString message = u"Orbitday only shows calendars you pick. Turn a few on and the month fills right up."_s;
    popover::EmptyStateView empty(u"calendar"_s, popovertest::kRed, u"No calendars switched on"_s, message,
                                  design::Theme::text2());
    ASSERT_TRUE(empty.hasHeightForWidth());
    const int wide = empty.heightForWidth(600);
    const int narrow = empty.heightForWidth(200);
    EXPECT_GT(narrow, wide + 20) << "the message wraps onto more lines";
    EXPECT_EQ(empty.accessory(), nullptr);

    // The tile's left edge: a straight column of the tint only when upright.
    const auto edgePixels = [&](bool reduceMotion) {
        design::Theme::setAppearance({.isDark = false, .increaseContrast = false, .reduceMotion = reduceMotion});
        empty.resize(348, empty.heightForWidth(348));
        QImage image(empty.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        empty.render(&image);
        const QColor tint = design::toQColor(popovertest::kRed);
        // The tile is centred at the top: 44 wide, with room for its turned corners.
        const int left = empty.width() / 2 - 22;
        int count = 0;
        for (int y = 16; y < 32; ++y)
            count += image.pixelColor(left, y) == tint ? 1 : 0;
        return count;
    };
    const int upright = edgePixels(true);
    const int turned = edgePixels(false);
    design::Theme::setAppearance({});
    EXPECT_EQ(upright, 16);
    EXPECT_LT(turned, 16);
}

}  // namespace
