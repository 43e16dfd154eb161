#pragma once

#include "core/ClockTimer.h"
#include "imageimport/extraction/ImageExtraction.h"
#include "imageimport/flow/ImageImportInput.h"
#include "platform/images/ImageLoader.h"

#include <QObject>
#include <QPointer>
#include <QUuid>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

class QThreadPool;

namespace app {
class AppState;
}
namespace platform {
class ClipboardReader;
class DataDetector;
class TextRecognizer;
}  // namespace platform

namespace imageimport {

// What reads an image: its decoder, the text recognition, the detector of links,
// addresses and dates that the extraction asks, and, where the clipboard can be read
// off the main thread, its reader. All must outlive the session.
struct ImageReading {
    const platform::ImageLoader* loader = nullptr;
    const platform::TextRecognizer* recognizer = nullptr;
    std::shared_ptr<const platform::DataDetector> detector;
    const platform::ClipboardReader* clipboard = nullptr;
};

// The one image import of the process: loads the image, has its text recognised and
// extracted off the main thread, and publishes where it stands. Each begin or cancel
// takes a new token; work that comes back for an older one publishes nothing.
// Main thread only.
class ImageImportSession final : public QObject {
    Q_OBJECT

public:
    struct Phase {
        enum class Kind { idle, preparing, reading, review, noText, failed };
        Kind kind = Kind::idle;
        // Why it failed; only with `failed`.
        std::optional<ImageImportError> error;

        static Phase of(Kind kind) { return {kind, std::nullopt}; }
        static Phase failed(ImageImportError error) { return {Kind::failed, std::move(error)}; }
        bool operator==(const Phase&) const = default;
    };

    // Runs a job off the main thread. The session's own runner is one worker thread,
    // so that imports never read side by side; a job whose import was replaced or
    // cancelled before it started returns at once.
    using Runner = std::function<void(std::function<void()>)>;
    using FileChooser = std::function<std::optional<QUrl>()>;
    using Announcer = std::function<void(const QString&)>;

    // How long an import works before the reading card is shown.
    static constexpr double kReadingDelay = 0.3;
    // How long the recognition stays ready after its last use. Its engines hold most
    // of the process's memory, and most days no image comes at all.
    static constexpr double kReleaseReadingAfter = 180;

    explicit ImageImportSession(QObject* parent = nullptr);
    // Stops the job under way and waits for its worker.
    ~ImageImportSession() override;

    // The state whose popover an import opens; held weakly. The recognition is made
    // ready whenever an image may come soon: the popover opens, or its import screen
    // shows.
    app::AppState* appState() const;
    void setAppState(app::AppState* state);
    void setReading(ImageReading reading) { m_reading = std::move(reading); }
    // Whether a paste's image bytes are left for the import to read (ImageImportInput::clipboard).
    bool readsClipboard() const { return m_reading.clipboard != nullptr; }
    void setRunner(Runner runner) { m_runner = std::move(runner); }
    // Lets the user pick one image or PDF and returns it, or nothing when the choice
    // was cancelled. Modal: it returns when the chooser has closed.
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    // Tells assistive technologies what an import found.
    void setAnnouncer(Announcer announcer) { m_announcer = std::move(announcer); }

    // Replaces any import under way with one of `input`. The popover comes up on the
    // import screen when the import has worked for kReadingDelay or has ended.
    void begin(const ImageImportInput& input);
    // Abandons the import under way: preparing or reading goes back to idle; a
    // result or a failure stays. Harmless when nothing runs.
    void cancel();
    // Closes the popover, then, on a later turn of the event loop, lets the user pick
    // a file and imports it. A cancelled choice changes nothing, except that a
    // review it was asked from comes back as it was. While a chooser is open a
    // second one is not started.
    void chooseFile();
    // A chooser asked for from the review is open: the popover hides for it but
    // keeps the review, with what the user changed in it, on its route.
    bool isChoosingForReview() const { return m_choosingForReview; }
    // Makes the text recognition ready in the background, so that the first import
    // reads as fast as later ones; harmless when it is ready. Whatever made it ready,
    // it is let go kReleaseReadingAfter after its last use.
    void prepareReading();

    const Phase& phase() const { return m_phase; }
    // The loaded image, published before recognition starts.
    const std::optional<platform::LoadedImage>& thumbnail() const { return m_thumbnail; }
    const std::optional<ImageExtraction>& extraction() const { return m_extraction; }
    // Identity of the last result; new with each one.
    const QUuid& resultID() const { return m_resultID; }
    std::uint64_t token() const { return m_token; }

    // What assistive technologies are told of a result.
    static QString announcement(const ImageExtraction& extraction);

signals:
    void phaseChanged();
    void thumbnailChanged();
    void extractionChanged();
    void resultIDChanged();

private:
    void setPhase(Phase phase);
    void setThumbnail(std::optional<platform::LoadedImage> image);
    void setExtraction(std::optional<ImageExtraction> extraction);
    void run(std::function<void()> job);
    // Posts `step` to the main thread, where it runs if `token` is still current.
    static void post(QPointer<ImageImportSession> session, std::uint64_t token,
                     std::function<void(ImageImportSession&)> step);
    void finish(const ImageExtraction& extraction);
    void fail(const ImageImportError& error);
    void present();
    // Keeps the recognition for kReleaseReadingAfter from now.
    void keepReadingReady();
    void releaseReading();

    QPointer<app::AppState> m_appState;
    QMetaObject::Connection m_popoverOpened;
    QMetaObject::Connection m_routeShown;
    ImageReading m_reading;
    Runner m_runner;
    std::unique_ptr<QThreadPool> m_worker;
    FileChooser m_fileChooser;
    Announcer m_announcer;
    bool m_choosing = false;
    bool m_choosingForReview = false;

    Phase m_phase;
    std::optional<platform::LoadedImage> m_thumbnail;
    std::optional<ImageExtraction> m_extraction;
    QUuid m_resultID = QUuid::createUuid();
    std::uint64_t m_token = 1;
    // Stops the job of the current import, queued or running.
    std::stop_source m_stop;
    core::ClockTimer m_readingDelay;
    // Whether the recognition was made ready, or an import made it so, since it was last let go.
    bool m_readingReady = false;
    core::ClockTimer m_readingRelease;
};

}  // namespace imageimport
