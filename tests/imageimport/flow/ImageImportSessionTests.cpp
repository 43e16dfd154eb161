#include "imageimport/flow/ImageImportSession.h"

#include "core/Clock.h"
#include "platform/images/FakeImageLoader.h"
#include "platform/textrecognition/FakeTextRecognizer.h"
#include "platform/workspace/FakeClipboardReader.h"
#include "state/AppState.h"

#include "EventLoop.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>

using namespace Qt::Literals::StringLiterals;
using app::PopoverRoute;
using imageimport::ImageImportError;
using imageimport::ImageImportInput;
using imageimport::ImageImportSession;
using Phase = ImageImportSession::Phase;
using Kind = ImageImportSession::Phase::Kind;

namespace {

// The session on fakes: jobs wait in a queue until the test runs them, on its own
// thread, and what they post back arrives when the test delivers it.
class ImportSession : public ::testing::Test {
protected:
    ImportSession() {
        state.setImageImport(import);
        state.onOpenPopover = [this] {
            ++opened;
            state.setPopoverOpen(true);
        };
        state.onClosePopover = [this] {
            state.setPopoverOpen(false);
            session().cancel();
        };
        session().setAppState(&state);
        session().setRunner([this](std::function<void()> job) { jobs.push_back(std::move(job)); });
        session().setReading({&loader, &recognizer, nullptr});
        session().setAnnouncer([this](const QString& text) { announced << text; });
        for (const char* name : {"a", "b", "c"})
            loader.add(QByteArray(name), platform::ImageLoader::Format::image, image(name[0] - 'a' + 1));
        readText({u"Team offsite"_s});
    }

    ImageImportSession& session() { return state.imageImport(); }

    static platform::LoadedImage image(int width) { return {width, 1, QByteArray(width * 4, '\x7f')}; }
    void readText(const QStringList& texts) {
        std::vector<platform::TextPiece> pieces;
        double top = 0.9;
        for (const QString& text : texts)
            pieces.push_back({text, QRectF(0.1, top -= 0.1, 0.5, 0.05)});
        recognizer.setResult(pieces);
    }

    // Runs the oldest waiting job, then delivers what it posted.
    void runJob() {
        ASSERT_FALSE(jobs.empty());
        auto job = std::move(jobs.front());
        jobs.pop_front();
        job();
        deliver();
    }
    void runAllJobs() {
        while (!jobs.empty())
            runJob();
    }
    static void deliver() { QCoreApplication::processEvents(); }

    core::ScopedTestClock clock{core::Date(1749547800)};
    app::AppState state;
    ImageImportSession import;
    platform::FakeImageLoader loader;
    platform::FakeTextRecognizer recognizer;
    std::deque<std::function<void()>> jobs;
    QStringList announced;
    int opened = 0;
};

TEST_F(ImportSession, AFastImportGoesStraightToItsResultAndOnlyThenOpensThePopover) {
    std::vector<Kind> seen;
    QObject::connect(&session(), &ImageImportSession::phaseChanged, [&] { seen.push_back(session().phase().kind); });
    session().begin(ImageImportInput::data("a"));
    EXPECT_EQ(session().phase(), Phase::of(Kind::preparing));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(state.route(), PopoverRoute::main());

    const QUuid before = session().resultID();
    clock.advance(0.2);
    runJob();
    EXPECT_EQ(session().phase(), Phase::of(Kind::review));
    EXPECT_EQ(session().thumbnail(), image(1));
    ASSERT_TRUE(session().extraction());
    EXPECT_EQ(session().extraction()->title, u"Team offsite"_s);
    EXPECT_NE(session().resultID(), before);
    EXPECT_EQ(state.route(), PopoverRoute::imageImport());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(announced, QStringList{session().extraction()->summary() + u". Event: Team offsite. Return adds, Tab for more details."_s});

    clock.advance(1);
    EXPECT_EQ(seen, (std::vector<Kind>{Kind::preparing, Kind::review})) << "never reading";
}

TEST_F(ImportSession, ASlowImportShowsReadingAfterAMomentAndTheNextBeginReplacesItWhole) {
    session().begin(ImageImportInput::data("a"));
    clock.advance(0.25);
    session().begin(ImageImportInput::data("b"));
    // A's moment passes: it moves nothing.
    clock.advance(0.1);
    EXPECT_EQ(session().phase(), Phase::of(Kind::preparing));
    EXPECT_EQ(opened, 0);
    clock.advance(0.2);
    EXPECT_EQ(session().phase(), Phase::of(Kind::reading));
    EXPECT_EQ(state.route(), PopoverRoute::imageImport());
    EXPECT_EQ(opened, 1);

    // A's job was dropped before it started, B's runs; nothing of A ever shows.
    std::vector<std::optional<platform::LoadedImage>> thumbnails;
    QObject::connect(&session(), &ImageImportSession::thumbnailChanged, [&] { thumbnails.push_back(session().thumbnail()); });
    runAllJobs();
    EXPECT_EQ(thumbnails, (std::vector<std::optional<platform::LoadedImage>>{image(2)}));
    EXPECT_EQ(recognizer.recognitions(), 1);
    EXPECT_EQ(session().phase(), Phase::of(Kind::review));
    EXPECT_EQ(announced.size(), 1);
}

TEST_F(ImportSession, ALateResultOfACancelledOrReplacedImportIsDropped) {
    // A result that was on its way when the import was replaced.
    session().begin(ImageImportInput::data("a"));
    auto first = std::move(jobs.front());
    jobs.clear();
    first();
    session().begin(ImageImportInput::data("b"));
    deliver();
    EXPECT_EQ(session().phase(), Phase::of(Kind::preparing));
    EXPECT_FALSE(session().thumbnail());
    EXPECT_FALSE(session().extraction());

    // Cancelled while reading: the recognition is asked to stop, and what it read is dropped.
    clock.advance(0.3);
    ASSERT_EQ(session().phase(), Phase::of(Kind::reading));
    bool stopped = false;
    recognizer.whileReading = [&](const platform::LoadedImage&, std::stop_token stop) {
        session().cancel();
        stopped = stop.stop_requested();
    };
    runJob();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(session().phase(), Phase::of(Kind::idle));
    EXPECT_FALSE(session().extraction());
    EXPECT_TRUE(announced.isEmpty());
}

// As the app runs it, on the session's own worker thread: the main thread replaces
// the import while the worker reads the first image.
TEST_F(ImportSession, OnItsOwnWorkerThreadAReplacedImportStopsReadingAndOnlyTheNewOneArrives) {
    session().setRunner(nullptr);
    std::promise<void> reading;
    std::atomic<bool> stopped = false;
    recognizer.whileReading = [&](const platform::LoadedImage& read, std::stop_token stop) {
        if (read.width != 1)
            return;
        reading.set_value();
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        wake.wait(lock, stop, [] { return false; });
        stopped = stop.stop_requested();
    };
    session().begin(ImageImportInput::data("a"));
    reading.get_future().wait();
    session().begin(ImageImportInput::data("b"));
    ASSERT_TRUE(testsupport::waitUntil([&] { return session().phase() == Phase::of(Kind::review); }, 10000));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(session().thumbnail(), image(2));
}

TEST_F(ImportSession, ABurstOfBeginsReadsOnlyTheLastImage) {
    for (int i = 0; i < 20; ++i)
        session().begin(ImageImportInput::data(i % 2 ? "b" : "c"));
    runAllJobs();
    EXPECT_EQ(recognizer.recognitions(), 1);
    EXPECT_EQ(session().thumbnail(), image(2));
    EXPECT_EQ(announced.size(), 1);
}

TEST_F(ImportSession, FailuresKeepWhatWasLoadedAndComeUpAtOnce) {
    // Not an image: failed at once, with no job.
    session().begin(ImageImportInput::unsupported());
    EXPECT_EQ(session().phase(), Phase::failed(ImageImportError::notAnImage()));
    EXPECT_EQ(opened, 1);
    // Nothing is read; the import screen only gets the reading ready for the next image.
    runAllJobs();
    EXPECT_EQ(recognizer.preparations(), 1);
    EXPECT_EQ(recognizer.recognitions(), 0);

    // Bytes that do not decode.
    session().begin(ImageImportInput::data("garbage"));
    runJob();
    EXPECT_EQ(session().phase(), Phase::failed(ImageImportError::unreadable()));
    EXPECT_FALSE(session().thumbnail());

    // Recognition that cannot run after a good load: the thumbnail stays.
    recognizer.setResult(platform::RecognitionError{u"no language data"_s});
    session().begin(ImageImportInput::data("c"));
    runJob();
    EXPECT_EQ(session().phase(), Phase::failed(ImageImportError::unreadable()));
    EXPECT_EQ(session().thumbnail(), image(3));
    EXPECT_FALSE(session().extraction());
    EXPECT_TRUE(announced.isEmpty());
    EXPECT_EQ(state.route(), PopoverRoute::imageImport());
}

TEST_F(ImportSession, CancelLeavesAFinishedResultAndAWhitespaceResultIsNoText) {
    readText({u"  "_s, u"\t"_s});
    session().begin(ImageImportInput::data("a"));
    runJob();
    EXPECT_EQ(session().phase(), Phase::of(Kind::noText));
    EXPECT_EQ(announced, QStringList{u"No text found in the image."_s});
    session().cancel();
    EXPECT_EQ(session().phase(), Phase::of(Kind::noText));
    EXPECT_TRUE(session().extraction());
}

TEST_F(ImportSession, ACancelledChangeOfImageBringsTheReviewBack) {
    std::optional<QUrl> chosen;
    session().setFileChooser([&] { return chosen; });
    session().begin(ImageImportInput::data("a"));
    runJob();
    const QUuid result = session().resultID();
    ASSERT_TRUE(state.isPopoverOpen());

    session().chooseFile();
    EXPECT_FALSE(state.isPopoverOpen());
    deliver();
    EXPECT_TRUE(state.isPopoverOpen());
    EXPECT_EQ(state.route(), PopoverRoute::imageImport());
    EXPECT_EQ(session().phase(), Phase::of(Kind::review));
    EXPECT_EQ(session().resultID(), result);

    // From the main screen a cancelled choice leaves the popover closed.
    state.setRoute(PopoverRoute::main());
    session().chooseFile();
    deliver();
    EXPECT_FALSE(state.isPopoverOpen());
    EXPECT_EQ(state.route(), PopoverRoute::main());
}

TEST_F(ImportSession, TheRecognitionIsMadeReadyInTheBackground) {
    session().prepareReading();
    EXPECT_EQ(recognizer.preparations(), 0);
    runJob();
    EXPECT_EQ(recognizer.preparations(), 1);
    EXPECT_EQ(session().phase(), Phase());
}

TEST_F(ImportSession, TheRecognitionGetsReadyOnlyWhenAnImageMayComeAndOnceUntilItIsLetGo) {
    // At rest nothing of it is made.
    clock.advance(60);
    EXPECT_TRUE(jobs.empty());

    state.setPopoverOpen(true);
    runAllJobs();
    EXPECT_EQ(recognizer.preparations(), 1);
    state.setPopoverOpen(false);
    state.setPopoverOpen(true);
    state.setRoute(PopoverRoute::imageImport());
    EXPECT_TRUE(jobs.empty()) << "ready already";

    // Minutes after its last use it is let go, and the next opening makes it again.
    clock.advance(ImageImportSession::kReleaseReadingAfter - 1);
    EXPECT_TRUE(jobs.empty());
    clock.advance(2);
    runAllJobs();
    EXPECT_EQ(recognizer.releases(), 1);
    state.setRoute(PopoverRoute::imageImport());
    runAllJobs();
    EXPECT_EQ(recognizer.preparations(), 2);
}

TEST_F(ImportSession, EachUseKeepsTheRecognitionAndAnImportUnderWayIsNeverLetGo) {
    state.setPopoverOpen(true);
    runAllJobs();
    clock.advance(ImageImportSession::kReleaseReadingAfter - 10);
    // A result read late still counts as the last use.
    session().begin(ImageImportInput::data("a"));
    clock.advance(ImageImportSession::kReleaseReadingAfter + 10);
    ASSERT_EQ(jobs.size(), 1u) << "only the import";
    runJob();
    EXPECT_EQ(session().phase(), Phase::of(Kind::review));
    EXPECT_EQ(recognizer.releases(), 0);
    clock.advance(ImageImportSession::kReleaseReadingAfter);
    runAllJobs();
    EXPECT_EQ(recognizer.releases(), 1);
    EXPECT_EQ(recognizer.preparations(), 1) << "the import made it ready itself";
}

TEST_F(ImportSession, APastedImageIsReadOffTheClipboardByTheImportNotWhenItBegins) {
    platform::FakeClipboardReader clipboard;
    clipboard.offer(u"image/png"_s, "b");
    session().setReading({&loader, &recognizer, nullptr, &clipboard});
    session().begin(ImageImportInput::clipboard(u"image/png"_s));
    EXPECT_EQ(clipboard.reads(), 0);
    runJob();
    EXPECT_EQ(clipboard.reads(), 1);
    EXPECT_EQ(session().thumbnail(), image(2));

    // Gone from the clipboard by then: unreadable, as bytes that do not decode are.
    session().begin(ImageImportInput::clipboard(u"image/tiff"_s));
    runJob();
    EXPECT_EQ(session().phase(), Phase::failed(ImageImportError::unreadable()));
}

TEST(ImportAnnouncement, NamesTheKindAndTheTitle) {
    imageimport::ImageExtraction reminder;
    reminder.kind = imageimport::ImageExtraction::Kind::reminder;
    reminder.title = u"Pay rent"_s;
    reminder.recognizedText = u"Pay rent by Friday"_s;
    EXPECT_EQ(ImageImportSession::announcement(reminder),
              reminder.summary() + u". Reminder: Pay rent. Return adds, Tab for more details."_s);
}

}  // namespace
