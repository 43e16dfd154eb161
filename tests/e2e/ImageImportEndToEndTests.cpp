// An image handed to the application from outside, as the desktop's "Open With" does:
// a second launch with its path. The running application reads it and shows what it
// found in the popover.

#include "platform/images/QtImages.h"
#include "platform/textrecognition/TesseractRecognizer.h"

#include "AppDriver.h"
#include "EventLoop.h"
#include "TestImages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <iostream>

using namespace Qt::Literals::StringLiterals;
using testsupport::AppDriver;

namespace {

// The text of the popover as a reader of the screen would see it.
QString panelText(const AppDriver& app) {
    const auto panel = app.panelGeometry();
    if (!panel)
        return {};
    static const platform::TesseractRecognizer reader;
    const auto pieces = reader.recognize(platform::images::fromQImage(app.screenshot(*panel)));
    QStringList texts;
    if (const auto* found = std::get_if<std::vector<platform::TextPiece>>(&pieces)) {
        for (const platform::TextPiece& piece : *found)
            texts << piece.text;
    }
    return texts.join(u'\n');
}

// The panel's text once the review of what was read shows, or what it showed last.
// The reading card shows the image itself, so its words alone do not mean the
// reading is done: only the review has the add button.
QString waitForReview(const AppDriver& app) {
    QString shown;
    testsupport::waitUntil(
        [&] {
            shown = panelText(app);
            return shown.contains(u"Add event"_s);
        },
        30000);
    return shown;
}

TEST(ImageImportEndToEnd, AnImageOpenedWithTheAppIsReadAndItsResultShown) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server";
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "needs a session bus";
    AppDriver app(QStringLiteral(ORBITDAY_APP_BINARY));
    app.grantCalendarAccess();
    const QString flyer = QDir(app.home()).filePath(u"flyer.png"_s);
    ASSERT_TRUE(testsupport::textImage({{u"Team offsite"_s, 28, true}, {u"Thursday 19 June 2025, 14:00"_s, 20}},
                                       {900, 400})
                    .save(flyer));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());

    EXPECT_EQ(app.launchAgain({flyer}), 0);
    ASSERT_TRUE(app.waitForPanel(20000));
    // Reading takes a moment, longer on a busy machine.
    const QString shown = waitForReview(app);
    EXPECT_TRUE(shown.contains(u"Team offsite"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u"Found"_s)) << shown.toStdString();
    const QString errors = app.stop();
    if (::testing::Test::HasFailure())
        std::cerr << "The application wrote:\n" << errors.toStdString();
}

// What the calendar folder holds of a new event titled `title`, or nothing yet.
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

TEST(ImageImportEndToEnd, AFlyerOpenedWithTheAppBecomesAnEventOnItsDayAndTime) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server";
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "needs a session bus";
    AppDriver app(QStringLiteral(ORBITDAY_APP_BINARY), u"flyer-home"_s);
    app.grantCalendarAccess();
    app.addEvent(u"Dentist"_s, QDateTime(QDate(2025, 6, 2), QTime(9, 0)), QDateTime(QDate(2025, 6, 2), QTime(10, 0)));
    const QString flyer = QDir(app.home()).filePath(u"flyer.png"_s);
    ASSERT_TRUE(testsupport::textImage({{u"Team offsite"_s, 28, true}, {u"Thursday 19 June 2025, 14:00"_s, 20}},
                                       {900, 400})
                    .save(flyer));
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.tray().waitForItem());

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
    const QString errors = app.stop();
    if (::testing::Test::HasFailure())
        std::cerr << "The application wrote:\n" << errors.toStdString();
}

}  // namespace
