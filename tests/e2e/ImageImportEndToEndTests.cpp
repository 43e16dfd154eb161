// An image handed to the application from outside, as the desktop's "Open With" does:
// a second launch with its path. The running application reads it and shows what it
// found in the popover.

#include "platform/images/QtImages.h"
#include "platform/textrecognition/TesseractRecognizer.h"

#include "AppDriver.h"
#include "EventLoop.h"
#include "TestImages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>

using namespace Qt::Literals::StringLiterals;
using testsupport::AppDriver;

namespace {

// The words in an area of the screen as a reader of it would see them, each with
// where it stands on the screen.
std::vector<std::pair<QString, QPoint>> wordsIn(const AppDriver& app, const QRect& area) {
    static const platform::TesseractRecognizer reader;
    const auto pieces = reader.recognize(platform::images::fromQImage(app.screenshot(area)));
    std::vector<std::pair<QString, QPoint>> words;
    if (const auto* found = std::get_if<std::vector<platform::TextPiece>>(&pieces)) {
        // Boxes are fractions of the picture, counted up from its bottom edge.
        for (const platform::TextPiece& piece : *found) {
            const QPointF middle = piece.box.center();
            words.emplace_back(piece.text, area.topLeft() + QPoint(qRound(middle.x() * area.width()),
                                                                   qRound((1 - middle.y()) * area.height())));
        }
    }
    return words;
}

// The text of the popover as a reader of the screen would see it.
QString panelText(const AppDriver& app) {
    const auto panel = app.panelGeometry();
    if (!panel)
        return {};
    QStringList texts;
    for (const auto& [text, at] : wordsIn(app, *panel))
        texts << text;
    return texts.join(u'\n');
}

// The panel's text once the review of what was read shows, or what it showed last.
// The reading card shows the image itself, so its words alone do not mean the
// reading is done: only the review has the footer with its hint. (The add button's
// light text on the accent is not read reliably.)
QString waitForReview(const AppDriver& app) {
    QString shown;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            shown = panelText(app);
            return shown.contains(u"more details"_s);
        },
        30000))
        << "the review did not show:\n"
        << shown.toStdString();
    return shown;
}

// Where a run of text that holds `word` stands in the area, once it is there.
std::optional<QPoint> find(const AppDriver& app, const QRect& area, const QString& word) {
    for (const auto& [text, at] : wordsIn(app, area)) {
        if (text.contains(word))
            return at;
    }
    return std::nullopt;
}

// The application, granted calendar access; what it wrote is shown when a test fails.
class ImageImportEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server";
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "needs a session bus";
        app.grantCalendarAccess();
    }

    void TearDown() override {
        const QString errors = app.stop();
        if (HasFailure())
            std::cerr << "The application wrote:\n" << errors.toStdString();
    }

    bool startInTheTray() { return app.start() && app.tray().waitForItem(); }

    // A flyer for a team offsite among the user's pictures.
    bool saveFlyer() {
        return QDir().mkpath(pictures) &&
               testsupport::textImage({{u"Team offsite"_s, 28, true}, {u"Thursday 19 June 2025, 14:00"_s, 20}},
                                      {900, 400})
                   .save(flyer);
    }

    AppDriver app{QStringLiteral(ORBITDAY_APP_BINARY)};
    const QString pictures = QDir(app.home()).filePath(u"Pictures"_s);
    const QString flyer = QDir(pictures).filePath(u"flyer.png"_s);
};

// Opened from a terminal in another folder: the path is that folder's, not the running app's.
TEST_F(ImageImportEndToEnd, AnImageOpenedWithTheAppFromAnotherFolderIsReadAndItsResultShown) {
    ASSERT_TRUE(saveFlyer());
    ASSERT_TRUE(startInTheTray());
    ASSERT_FALSE(QFileInfo::exists(u"flyer.png"_s)) << "the running app's own folder holds no flyer";

    EXPECT_EQ(app.launchAgainFrom(pictures, {u"flyer.png"_s}), 0);
    ASSERT_TRUE(app.waitForPanel(20000));
    // Reading takes a moment, longer on a busy machine.
    const QString shown = waitForReview(app);
    EXPECT_TRUE(shown.contains(u"Team offsite"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u"Found"_s)) << shown.toStdString();
}

// "Change" on the review hides the popover for the file dialog; Escape there brings
// the same review back, with the title the user typed and the recognised text still open.
TEST_F(ImageImportEndToEnd, ChangeThenCancelInTheFileDialogKeepsTheReviewAsTheUserLeftIt) {
    ASSERT_TRUE(saveFlyer());
    ASSERT_TRUE(startInTheTray());
    EXPECT_EQ(app.launchAgain({flyer}), 0);
    ASSERT_TRUE(app.waitForPanel(20000));
    ASSERT_TRUE(waitForReview(app).contains(u"Team offsite"_s));
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, 10000));
    const auto panel = [&] { return app.panelGeometry().value_or(QRect()); };

    // The title field has the keys.
    app.chord({AppDriver::Keys::end});
    ASSERT_TRUE(app.type(u" dinner"_s));
    const int collapsed = panel().height();
    std::optional<QPoint> disclosure;
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return (disclosure = find(app, panel(), u"Recognised"_s)).has_value(); }, 10000))
        << panelText(app).toStdString();
    app.click(*disclosure);
    ASSERT_TRUE(testsupport::waitUntil([&] { return panel().height() > collapsed; }, 10000))
        << "the recognised text opens";

    std::optional<QPoint> change;
    ASSERT_TRUE(testsupport::waitUntil([&] { return (change = find(app, panel(), u"Change"_s)).has_value(); }, 10000))
        << panelText(app).toStdString();
    const QRect review = panel();
    app.click(*change);
    // The keyboard can stay a moment with the panel's window after it is hidden: the
    // dialog has it once another window has it.
    std::optional<QRect> dialog;
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            dialog = app.focusedWindow();
            return dialog && *dialog != review && !app.panelGeometry();
        },
        20000))
        << "the file dialog has the keys, the popover is hidden";
    // The dialog may have the keyboard before it takes keys (it is still filling its
    // list on a busy machine): Escape is pressed again, at most once a second, while
    // the dialog still has the keyboard and the popover has not come back.
    QElapsedTimer sinceEscape;
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            if (app.panelGeometry())
                return true;
            if (app.focusedWindow() == dialog && (!sinceEscape.isValid() || sinceEscape.elapsed() > 1000)) {
                app.chord({AppDriver::Keys::escape});
                sinceEscape.start();
            }
            return false;
        },
        20000))
        << "Escape in the file dialog brings the popover back";
    ASSERT_TRUE(app.waitForPanel(20000));
    QString shown;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            shown = panelText(app);
            return shown.contains(u"offsite dinner"_s);
        },
        20000))
        << "the typed title stays:\n"
        << shown.toStdString();
    // A review shown anew would have it closed again, the panel back at its first height.
    EXPECT_GT(panel().height(), collapsed) << "the recognised text is still open";
}

// What the calendar folder holds of a new item whose title holds `title`, or nothing yet.
QString savedEvent(const QString& folder, const QString& title) {
    for (const QFileInfo& file : QDir(folder).entryInfoList({u"*.ics"_s}, QDir::Files)) {
        QFile ics(file.absoluteFilePath());
        if (!ics.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(ics.readAll());
        if (text.contains(u"SUMMARY:"_s + title))
            return text;
    }
    return {};
}

TEST_F(ImageImportEndToEnd, AFlyerOpenedWithTheAppBecomesAnEventOnItsDayAndTime) {
    app.addEvent(u"Dentist"_s, QDateTime(QDate(2025, 6, 2), QTime(9, 0)), QDateTime(QDate(2025, 6, 2), QTime(10, 0)));
    ASSERT_TRUE(saveFlyer());
    ASSERT_TRUE(startInTheTray());

    EXPECT_EQ(app.launchAgain({flyer}), 0);
    ASSERT_TRUE(app.waitForPanel(20000));
    const QString shown = waitForReview(app);
    ASSERT_TRUE(shown.contains(u"Team offsite"_s)) << shown.toStdString();
    // The title field has the keys once the panel has them: Return adds.
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, 10000));
    app.chord({AppDriver::Keys::returnKey});
    QString saved;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            saved = savedEvent(app.calendarRoot() + u"/work"_s, u"Team offsite"_s);
            return !saved.isEmpty();
        },
        10000));
    EXPECT_TRUE(saved.contains(u"20250619T140000"_s)) << saved.toStdString();
}

// A bill asks for a reminder. The list and the priority are chosen from the
// chips' menus at the pointer; Return saves it in that list's folder, due on
// the bill's day.
TEST_F(ImageImportEndToEnd, ABillBecomesAReminderInTheChosenListWithItsDueDateAndPriority) {
    app.addReminder(u"Water the plants"_s, QDateTime(QDate(2030, 1, 5), QTime(9, 0)));
    const QString taxes = app.calendarRoot() + u"/taxes"_s;
    ASSERT_TRUE(QDir().mkpath(taxes));
    for (const auto& [name, content] : {std::pair{u"displayname"_s, QByteArray("Taxes")},
                                        std::pair{u"components"_s, QByteArray("VTODO\n")},
                                        std::pair{u"color"_s, QByteArray("#30A050")}}) {
        QFile file(taxes + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    const QString bill = QDir(app.home()).filePath(u"bill.png"_s);
    ASSERT_TRUE(testsupport::textImage({{u"Electricity bill"_s, 28, true},
                                        {u"Amount due: 84.20 EUR"_s, 20},
                                        {u"Pay by 28 March 2030"_s, 20}},
                                       {900, 400})
                    .save(bill));
    ASSERT_TRUE(startInTheTray());

    EXPECT_EQ(app.launchAgain({bill}), 0);
    ASSERT_TRUE(app.waitForPanel(20000));
    const auto panel = [&] { return app.panelGeometry().value_or(QRect()); };
    std::optional<QPoint> listChip;
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return (listChip = find(app, panel(), u"Reminders"_s)).has_value(); }, 30000))
        << panelText(app).toStdString();
    const std::optional<QPoint> priorityChip = find(app, panel(), u"None"_s);
    ASSERT_TRUE(priorityChip) << panelText(app).toStdString();

    // Each menu is a window of its own beside the panel.
    const auto choose = [&](const QPoint& chip, const QString& row) {
        app.click(chip);
        std::optional<QPoint> at;
        const bool shown = testsupport::waitUntil(
            [&] {
                for (const QRect& window : app.visibleWindows()) {
                    if (window != panel() && (at = find(app, window, row)))
                        return true;
                }
                return false;
            },
            10000);
        if (shown)
            app.click(*at);
        return shown && testsupport::waitUntil([&] { return app.visibleWindows().size() == 1; }, 5000);
    };
    ASSERT_TRUE(choose(*listChip, u"Taxes"_s)) << "the list menu";
    ASSERT_TRUE(choose(*priorityChip, u"High"_s)) << "the priority menu";
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            const QString shown = panelText(app);
            return shown.contains(u"Taxes"_s) && shown.contains(u"High"_s);
        },
        10000))
        << panelText(app).toStdString();

    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, 10000));
    app.chord({AppDriver::Keys::returnKey});
    QString saved;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            // The list held nothing before: what it holds now is the new reminder.
            saved = savedEvent(taxes, {});
            return !saved.isEmpty();
        },
        10000));
    EXPECT_TRUE(saved.contains(u"BEGIN:VTODO"_s) && saved.contains(u"lectricity bill"_s)) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QRegularExpression(u"^DUE[;:].*20300328"_s, QRegularExpression::MultilineOption)))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains(u"PRIORITY:1"_s)) << saved.toStdString();
}

TEST_F(ImageImportEndToEnd, AFlyerWithAPlaceAndAMeetingLinkBecomesAnEventWithBoth) {
    const QString work = app.addCalendar();
    ASSERT_TRUE(QDir().mkpath(pictures));
    ASSERT_TRUE(testsupport::textImage({{u"Poetry evening"_s, 28, true},
                                        {u"Thursday 19 June 2025, 19:00"_s, 20},
                                        {u"Royal Festival Hall, London"_s, 20},
                                        {u"Stream: https://zoom.us/j/94812345678"_s, 20}},
                                       {900, 500})
                    .save(flyer));
    ASSERT_TRUE(startInTheTray());

    EXPECT_EQ(app.launchAgain({flyer}), 0);
    ASSERT_TRUE(app.waitForPanel(20000));
    const QString shown = waitForReview(app);
    // Text recognition of the screen may read the narrow space of the text face as none.
    ASSERT_TRUE(QString(shown).remove(u' ').contains(u"Zoomlink"_s)) << shown.toStdString();
    ASSERT_TRUE(testsupport::waitUntil([&] { return app.focusedWindow() == app.panelGeometry(); }, 10000));
    app.chord({AppDriver::Keys::returnKey});
    QString saved;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            saved = savedEvent(work, u"Poetry evening"_s);
            return !saved.isEmpty();
        },
        10000));
    EXPECT_TRUE(saved.contains(u"LOCATION:Royal Festival Hall\\, London"_s)) << saved.toStdString();
    EXPECT_TRUE(saved.contains(u"URL:https://zoom.us/j/94812345678"_s)) << saved.toStdString();
}

}  // namespace
