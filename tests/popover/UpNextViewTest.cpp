#include "PopoverTestSupport.h"
#include "Rendering.h"
#include "ScreenEnvironment.h"
#include "design/widgets/JoinButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/Painting.h"
#include "popover/AllDayPill.h"
#include "popover/EmptyStateView.h"
#include "popover/EventRowView.h"
#include "popover/UpNextView.h"

#include <QImage>
#include <QLayout>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using popover::EventRowView;
using popover::UpNextView;
using popovertest::local;

namespace {

// What the view shows now, in order, leaving out pieces on their way out.
template <class T>
QList<T*> shown(QWidget& root) {
    root.layout()->activate();
    QList<T*> result;
    for (T* widget : root.findChildren<T*>())
        if (widget->isVisibleTo(&root))
            result << widget;
    std::sort(result.begin(), result.end(), [&](T* a, T* b) {
        return a->mapTo(&root, QPoint()).y() < b->mapTo(&root, QPoint()).y();
    });
    return result;
}

QStringList rowTitles(QWidget& root) {
    QStringList titles;
    for (const EventRowView* row : shown<EventRowView>(root))
        titles << row->input().event.title;
    return titles;
}

QAbstractButton* buttonNamed(QWidget& root, const QString& prefix) {
    for (QAbstractButton* button : shown<QAbstractButton>(root))
        if (button->accessibleName().startsWith(prefix))
            return button;
    return nullptr;
}

// Tuesday 10 March 2026, noon, in Berlin.
class UpNextScreen : public ::testing::Test, protected testsupport::ScreenEnvironment {
protected:
    UpNextScreen() : ScreenEnvironment(local(2026, 3, 10, 12)) {
        work = ek.addCalendar(EntityType::Event, u"Work"_s, popovertest::kBlue);
        home = ek.addCalendar(EntityType::Event, u"Home"_s, popovertest::kGreen);
        appState.setSelectedDate(local(2026, 3, 10));
    }

    void SetUp() override { ASSERT_EQ(testsupport::missingFontFamilies(), QStringList()); }

    platform::PlatformEvent add(const QString& title, core::Date start, double minutes,
                                const platform::PlatformCalendar* calendar = nullptr) {
        return ek.addEvent(storetest::timedEvent(calendar ? *calendar : work, title, start, minutes));
    }
    void addDeclined(const QString& title, core::Date start, double minutes) {
        auto e = storetest::timedEvent(work, title, start, minutes);
        platform::PlatformParticipant me;
        me.name = u"Me"_s;
        me.isCurrentUser = true;
        me.participantStatus = 3;
        e.attendees.push_back(me);
        ek.addEvent(e);
    }

    UpNextView& view() {
        if (!m_view) {
            store.reload();
            m_view = std::make_unique<UpNextView>(store, appState, settings, workspace);
            m_view->resize(364, m_view->heightForWidth(364));
            m_view->show();
        }
        return *m_view;
    }
    QString highlighted() {
        const EventRowView* row = view().highlightedRow();
        return row ? row->input().event.title : u"none"_s;
    }

    // Renders the agenda on the popover's surface; kept for looking at when
    // ORBITDAY_SCREENSHOTS names a folder.
    QImage screenshot(const QString& name, bool dark) { return testsupport::renderOnSurface(view(), 364, dark, name); }

    platform::PlatformCalendar work;
    platform::PlatformCalendar home;

private:
    std::unique_ptr<UpNextView> m_view;
};

int pixelsLike(const QImage& image, const QColor& color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - color.red()) < 8 && std::abs(pixel.green() - color.green()) < 8 &&
                     std::abs(pixel.blue() - color.blue()) < 8;
        }
    return count;
}

// A translucent token as it shows on the popover's surface.
QColor onSurface(const design::DynamicColor& token, design::Appearance appearance) {
    const QColor top = design::toQColor(token.resolve(appearance));
    const QColor bottom = design::toQColor(design::Theme::surface().resolve(appearance));
    const auto mix = [&](int a, int b) { return static_cast<int>(std::lround(a * top.alphaF() + b * (1 - top.alphaF()))); };
    return QColor(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()));
}

TEST_F(UpNextScreen, TheHighlightPassesOnAtTheMinuteAnEventEndsAndSkipsOneTheUserDeclined) {
    add(u"Retro"_s, local(2026, 3, 10, 11, 30), 35);
    addDeclined(u"Vendor pitch"_s, local(2026, 3, 10, 11, 45), 60);
    add(u"Planning"_s, local(2026, 3, 10, 13), 30);
    EXPECT_EQ(highlighted(), u"Retro"_s);
    EXPECT_EQ(rowTitles(view()), (QStringList{u"Retro"_s, u"Vendor pitch"_s, u"Planning"_s}));

    clock.advance(4 * 60);
    EXPECT_EQ(highlighted(), u"Retro"_s) << "a minute before its end";
    clock.advance(60);
    // Retro is over; the pitch under way is declined, so Planning takes the highlight.
    EXPECT_EQ(view().now(), local(2026, 3, 10, 12, 5));
    EXPECT_EQ(highlighted(), u"Planning"_s);
    EXPECT_EQ(rowTitles(view()), (QStringList{u"Vendor pitch"_s, u"Planning"_s}));
    ASSERT_TRUE(buttonNamed(view(), u"Show 1 earlier events"_s));
}

TEST_F(UpNextScreen, ShownBetweenTwoMinutesTheAgendaStillTurnsOverOnTheNextOne) {
    add(u"Retro"_s, local(2026, 3, 10, 11, 30), 31);
    add(u"Planning"_s, local(2026, 3, 10, 13), 30);
    clock.set(local(2026, 3, 10, 12).addingTimeInterval(30));
    EXPECT_EQ(highlighted(), u"Retro"_s);

    clock.advance(30);
    EXPECT_EQ(view().now(), local(2026, 3, 10, 12, 1));
    EXPECT_EQ(highlighted(), u"Planning"_s) << "Retro ended on the minute";
}

TEST_F(UpNextScreen, TheEarlierGroupStaysOpenAcrossMinutesButClosesForANewlySelectedDay) {
    add(u"Gym"_s, local(2026, 3, 10, 7), 60);
    add(u"Standup"_s, local(2026, 3, 10, 9, 30), 15);
    add(u"Planning"_s, local(2026, 3, 10, 14), 30);
    add(u"Thursday"_s, local(2026, 3, 12, 9), 30);
    EXPECT_EQ(rowTitles(view()), QStringList{u"Planning"_s});

    QAbstractButton* earlier = buttonNamed(view(), u"Show 2 earlier events"_s);
    ASSERT_TRUE(earlier);
    QTest::mouseClick(earlier, Qt::LeftButton);
    EXPECT_TRUE(view().showsEarlier());
    EXPECT_EQ(rowTitles(view()), (QStringList{u"Gym"_s, u"Standup"_s, u"Planning"_s}));
    EXPECT_TRUE(buttonNamed(view(), u"Hide 2 earlier events"_s));

    clock.advance(3 * 60);
    EXPECT_TRUE(view().showsEarlier()) << "the minute does not fold it";
    EXPECT_EQ(rowTitles(view()).size(), 3);
    // Today chosen again (Today, T, its own cell): the same day, no new one.
    appState.goToToday();
    appState.setSelectedDate(local(2026, 3, 10));
    EXPECT_TRUE(view().showsEarlier()) << "the same day selected again";

    appState.setSelectedDate(local(2026, 3, 12));
    EXPECT_FALSE(view().showsEarlier());
    appState.setSelectedDate(local(2026, 3, 10));
    EXPECT_EQ(rowTitles(view()), QStringList{u"Planning"_s});
}

TEST_F(UpNextScreen, EarlierRowsFadeInUnlessTheUserAsksForReducedMotion) {
    add(u"Gym"_s, local(2026, 3, 10, 7), 60);
    const auto gymOpacity = [&] {
        QTest::mouseClick(buttonNamed(view(), u"Show 1 earlier events"_s), Qt::LeftButton);
        const auto rows = shown<EventRowView>(view());
        const qreal opacity = rows.size() == 1 ? rows.front()->opacity() : -1;
        QTest::mouseClick(buttonNamed(view(), u"Hide 1 earlier events"_s), Qt::LeftButton);
        return opacity;
    };
    EXPECT_LT(gymOpacity(), 0.1);
    design::Theme::setAppearance({.reduceMotion = true});
    EXPECT_DOUBLE_EQ(gymOpacity(), 0.45);
    design::Theme::setAppearance({});
}

TEST_F(UpNextScreen, AnEmptyDayOffersTheEventAtTheFollowingMidnightAndOpensIt) {
    const auto launch = add(u"Midnight launch"_s, local(2026, 3, 14), 30);
    appState.setSelectedDate(local(2026, 3, 13));
    const auto empty = shown<popover::EmptyStateView>(view());
    ASSERT_EQ(empty.size(), 1);
    EXPECT_EQ(empty.front()->title(), u"Nothing on"_s);
    QAbstractButton* next = buttonNamed(view(), u"Next: Midnight launch"_s);
    ASSERT_TRUE(next);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(appState.route().eventID(), model::ODEvent::fromPlatform(launch).id);

    // A day in the past offers nothing.
    appState.setSelectedDate(local(2026, 3, 9));
    EXPECT_FALSE(buttonNamed(view(), u"Next:"_s));
    EXPECT_EQ(shown<popover::EmptyStateView>(view()).size(), 1);
}

TEST_F(UpNextScreen, WithNoCalendarSwitchedOnTheAgendaAsksForSomeAndOpensTheirSettings) {
    QStringList calls;
    appState.onClosePopover = [&] { calls << u"close"_s; };
    appState.onOpenSettings = [&](std::optional<app::SettingsTab> tab) {
        calls << u"settings:"_s + (tab ? app::rawValue(*tab) : u"none"_s);
    };
    add(u"Planning"_s, local(2026, 3, 10, 14), 30);
    settings.setEnabledCalendarIDs(app::CalendarIDSet{});
    EXPECT_TRUE(view().showsNoCalendarsPrompt());
    EXPECT_TRUE(rowTitles(view()).isEmpty());
    QAbstractButton* choose = buttonNamed(view(), u"Choose calendars"_s);
    ASSERT_TRUE(choose);
    QTest::mouseClick(choose, Qt::LeftButton);
    EXPECT_EQ(calls, (QStringList{u"close"_s, u"settings:calendars"_s}));

    settings.setEnabledCalendarIDs(std::nullopt);
    EXPECT_FALSE(view().showsNoCalendarsPrompt());
    EXPECT_EQ(rowTitles(view()), QStringList{u"Planning"_s});
}

TEST_F(UpNextScreen, ABusyDayShowsPillsRowsAndTomorrowAndItsMeetingJoinsTheDetectedLink) {
    auto trip = storetest::allDayEvent(home, u"Lisbon trip"_s, local(2026, 3, 9));
    trip.endDate = *core::Calendar().dateBySettingTime(23, 59, 59, local(2026, 3, 11));
    ek.addEvent(trip);
    ek.addEvent(storetest::allDayEvent(home, u"Anna's birthday"_s, local(2026, 3, 10)));
    add(u"Gym"_s, local(2026, 3, 10, 7), 60, &home);
    add(u"Standup"_s, local(2026, 3, 10, 9, 30), 15);
    auto review = storetest::timedEvent(work, u"Design review"_s, local(2026, 3, 10, 11, 30), 60);
    review.location = u"Room 4.2, Main building"_s;
    review.notes = u"Agenda in the doc. Join: https://acme.zoom.us/j/5551234?pwd=xyz"_s;
    ek.addEvent(review);
    auto budget = storetest::timedEvent(work, u"Budget sync"_s, local(2026, 3, 10, 14), 60);
    budget.url = QUrl(u"https://meet.google.com/abc-defg-hij"_s);
    ek.addEvent(budget);
    add(u"Interview"_s, local(2026, 3, 10, 14, 30), 60);
    addDeclined(u"All-hands"_s, local(2026, 3, 10, 16), 60);
    add(u"Quarterly planning with the partner team on the 2027 roadmap"_s, local(2026, 3, 10, 17), 30);
    add(u"\U0001F389 Team drinks \U0001F37B"_s, local(2026, 3, 10, 18, 30), 90, &home);
    add(u"Flight to Berlin"_s, local(2026, 3, 11, 9), 120, &home);

    const auto pills = shown<popover::AllDayPill>(view());
    // The trip shows again in tomorrow's section, on its last day.
    ASSERT_EQ(pills.size(), 3);
    EXPECT_EQ(pills[0]->rangeText(), u"9 Mon \u2192 11 Wed \u00B7 day 2 of 3"_s);
    EXPECT_EQ(pills[0]->symbol(), u"airplane"_s);
    EXPECT_EQ(pills[2]->rangeText(), u"9 Mon \u2192 11 Wed \u00B7 day 3 of 3"_s);
    QTest::mouseClick(pills[1], Qt::LeftButton, {}, QPoint(30, pills[1]->height() / 2));
    EXPECT_EQ(appState.route().eventID(), pills[1]->event().id);
    appState.setRoute(app::PopoverRoute::main());

    EXPECT_EQ(highlighted(), u"Design review"_s);
    EventRowView* running = view().highlightedRow();
    ASSERT_TRUE(running->joinButton());
    QTest::mouseClick(running->joinButton(), Qt::LeftButton);
    EXPECT_EQ(workspace.opened, QList<QUrl>{QUrl(u"https://acme.zoom.us/j/5551234?pwd=xyz"_s)});
    EXPECT_TRUE(appState.route().is(app::PopoverRoute::Kind::main));

    // Tomorrow follows today, with its own rows.
    EXPECT_EQ(view().sections().size(), 2u);
    EXPECT_EQ(rowTitles(view()).last(), u"Flight to Berlin"_s);

    for (const bool dark : {false, true}) {
        const QImage image = screenshot(u"agenda-busy"_s, dark);
        EXPECT_TRUE(testsupport::matchesReference(image, dark ? u"agenda-busy-dark"_s : u"agenda-busy-light"_s));
        const design::Appearance appearance{.isDark = dark};
        EXPECT_GT(pixelsLike(image, design::toQColor(design::Theme::teal())), 60) << "the progress bar";
        EXPECT_GT(pixelsLike(image, onSurface(design::Theme::amberSoft(), appearance)), 100) << "the overlap tag";
    }
}

TEST_F(UpNextScreen, AnEmptyTodayLooksCalm) {
    add(u"Friday drinks"_s, local(2026, 3, 13, 18), 90);
    ASSERT_TRUE(buttonNamed(view(), u"Next: Friday drinks"_s));
    for (const bool dark : {false, true}) {
        const QImage image = screenshot(u"agenda-empty"_s, dark);
        EXPECT_TRUE(testsupport::matchesReference(image, dark ? u"agenda-empty-dark"_s : u"agenda-empty-light"_s));
        EXPECT_GT(pixelsLike(image, design::toQColor(design::Theme::amber())), 400) << "the tile";
    }
}

}  // namespace
