#pragma once

#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/review/ImageReviewModel.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/textrecognition/FakeTextRecognizer.h"

#include "../extraction/ExtractionTestSupport.h"
#include "ScreenEnvironment.h"
#include "StoreTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace reviewtest {

using namespace Qt::Literals::StringLiterals;

// A date proposal with its id and only the given parts.
inline imageimport::DateCandidate candidate(int id, std::optional<core::Date> day, std::optional<int> hour = {},
                                            std::optional<int> minute = {}, std::optional<int> endHour = {},
                                            std::optional<int> endMinute = {}) {
    imageimport::DateCandidate c = extractiontest::candidate(day, hour, minute, endHour, endMinute);
    c.id = id;
    return c;
}

inline imageimport::ImageExtraction extractionWith(
    std::vector<imageimport::DateCandidate> dates,
    imageimport::ImageExtraction::Kind kind = imageimport::ImageExtraction::Kind::event) {
    imageimport::ImageExtraction extraction;
    extraction.title = u"Team offsite"_s;
    extraction.kind = kind;
    extraction.dates = std::move(dates);
    extraction.recognizedText = u"Team offsite\nFri 13 Mar · 14:30"_s;
    return extraction;
}

// A review of a real result of the session on fakes, shown on the import route,
// on Tuesday 10 March 2026 at 09:00 in Berlin.
class ImageReview : public ::testing::Test {
protected:
    ImageReview() {
        using platform::EntityType;
        work = env.ek.addCalendar(EntityType::Event, u"Office"_s).calendarIdentifier;
        home = env.ek.addCalendar(EntityType::Event, u"Personal"_s).calendarIdentifier;
        errands = env.ek.addCalendar(EntityType::Reminder, u"Errands"_s).calendarIdentifier;
        env.ek.setDefaultCalendarForNewReminders(errands);
        env.setAccess(platform::AuthorizationStatus::FullAccess, platform::AuthorizationStatus::FullAccess);
        showResult();
    }

    imageimport::ImageImportSession& session() { return env.appState.imageImport(); }

    // Reads an image to the end, so that the session holds a new result on screen.
    void showResult() {
        using namespace imageimport;
        session().setRunner([](std::function<void()> job) { job(); });
        session().setReading({&loader, &recognizer, nullptr});
        loader.add("png", platform::ImageLoader::Format::image, {4, 3, QByteArray(4 * 3 * 4, '\x60')});
        recognizer.setResult(std::vector<platform::TextPiece>{{u"Team offsite"_s, QRectF(0.1, 0.8, 0.5, 0.05)}});
        session().begin(ImageImportInput::data("png"));
        QCoreApplication::processEvents();
        ASSERT_EQ(session().phase().kind, ImageImportSession::Phase::Kind::review);
        env.appState.setRoute(app::PopoverRoute::imageImport());
    }

    std::unique_ptr<imageimport::ImageReviewModel> review(imageimport::ImageExtraction extraction) {
        return std::make_unique<imageimport::ImageReviewModel>(std::move(extraction), session().resultID(),
                                                               env.store, env.appState, env.settings);
    }

    testsupport::ScreenEnvironment env{storetest::local(2026, 3, 10, 9, 0)};
    platform::FakeImageLoader loader;
    platform::FakeTextRecognizer recognizer;
    QString work;
    QString home;
    QString errands;
};

}  // namespace reviewtest
