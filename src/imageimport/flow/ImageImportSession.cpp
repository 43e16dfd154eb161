#include "imageimport/flow/ImageImportSession.h"

#include "core/Calendar.h"
#include "core/Locale.h"
#include "imageimport/extraction/EventCandidateExtractor.h"
#include "imageimport/extraction/ImageTextRecognizer.h"
#include "imageimport/flow/ImageLoading.h"
#include "platform/textrecognition/TextRecognizer.h"
#include "quickadd/NLParser.h"
#include "state/AppState.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

bool isWorking(const ImageImportSession::Phase& phase) {
    using Kind = ImageImportSession::Phase::Kind;
    return phase.kind == Kind::preparing || phase.kind == Kind::reading;
}

}  // namespace

ImageImportSession::ImageImportSession(QObject* parent) : QObject(parent) {
    connect(&m_readingDelay, &core::ClockTimer::timeout, this, [this] {
        if (m_phase.kind != Phase::Kind::preparing)
            return;
        setPhase(Phase::of(Phase::Kind::reading));
        present();
    });
    connect(&m_readingRelease, &core::ClockTimer::timeout, this, &ImageImportSession::releaseReading);
}

ImageImportSession::~ImageImportSession() {
    m_stop.request_stop();
    // The worker's job reads the image through objects that may go right after.
    if (m_worker)
        m_worker->waitForDone();
}

app::AppState* ImageImportSession::appState() const {
    return m_appState.data();
}

void ImageImportSession::setAppState(app::AppState* state) {
    disconnect(m_popoverOpened);
    disconnect(m_routeShown);
    m_appState = state;
    if (!state)
        return;
    m_popoverOpened = connect(state, &app::AppState::isPopoverOpenChanged, this, [this](bool open) {
        if (open)
            prepareReading();
    });
    m_routeShown = connect(state, &app::AppState::routeChanged, this, [this](const app::PopoverRoute& route) {
        if (route.kind() == app::PopoverRoute::Kind::imageImport)
            prepareReading();
    });
}

void ImageImportSession::begin(const ImageImportInput& input) {
    cancel();
    setThumbnail(std::nullopt);
    setExtraction(std::nullopt);
    if (const auto* unsupported = std::get_if<ImageImportInput::Unsupported>(&input.value())) {
        setPhase(Phase::failed(ImageImportError::notAnImage(unsupported->name)));
        present();
        return;
    }
    setPhase(Phase::of(Phase::Kind::preparing));
    ++m_token;
    m_readingDelay.startAt(core::Date::now() + kReadingDelay);
    // The recognition this import makes serves the next one too.
    m_readingReady = true;
    keepReadingReady();

    // Everything the job needs travels with it: it never touches the session.
    const QPointer<ImageImportSession> self(this);
    const std::uint64_t token = m_token;
    const ImageReading reading = m_reading;
    const std::stop_token stop = m_stop.get_token();
    const core::Date now = core::Date::now();
    const bool monthFirst = quickadd::NLParser::localePrefersMonthFirst(core::Locale::current());
    run([=] {
        if (stop.stop_requested() || !reading.loader || !reading.recognizer)
            return;
        ImageLoadResult loaded = loadImage(input, *reading.loader, reading.clipboard);
        if (const auto* error = std::get_if<ImageImportError>(&loaded)) {
            post(self, token, [error = *error](ImageImportSession& session) { session.fail(error); });
            return;
        }
        const platform::LoadedImage image = std::get<platform::LoadedImage>(std::move(loaded));
        post(self, token, [image](ImageImportSession& session) { session.setThumbnail(image); });
        if (stop.stop_requested())
            return;
        const RecognizedRows rows = ImageTextRecognizer::recognize(*reading.recognizer, image, stop);
        if (stop.stop_requested())
            return;
        if (!std::holds_alternative<std::vector<RecognizedLine>>(rows)) {
            post(self, token, [](ImageImportSession& session) { session.fail(ImageImportError::unreadable()); });
            return;
        }
        const EventCandidateExtractor extractor(now, core::Calendar::current(), monthFirst, reading.detector);
        ImageExtraction extraction = extractor.extract(std::get<std::vector<RecognizedLine>>(rows));
        post(self, token, [extraction = std::move(extraction)](ImageImportSession& session) {
            session.finish(extraction);
        });
    });
}

void ImageImportSession::cancel() {
    m_stop.request_stop();
    m_stop = std::stop_source();
    ++m_token;
    m_readingDelay.stop();
    if (isWorking(m_phase))
        setPhase(Phase::of(Phase::Kind::idle));
}

void ImageImportSession::chooseFile() {
    // A review the user asked to change comes back when the choice is cancelled: the
    // popover closes for the chooser, and nothing else would show the result again.
    if (!m_choosing)
        m_choosingForReview = m_phase.kind == Phase::Kind::review && m_appState &&
                              m_appState->route().kind() == app::PopoverRoute::Kind::imageImport;
    if (m_appState && m_appState->onClosePopover)
        m_appState->onClosePopover();
    if (m_choosing)
        return;
    m_choosing = true;
    // The chooser comes up once the popover's closing has been taken in.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const std::optional<QUrl> chosen = m_fileChooser ? m_fileChooser() : std::nullopt;
            m_choosing = false;
            const bool fromReview = std::exchange(m_choosingForReview, false);
            if (chosen)
                begin(ImageImportInput::file(*chosen));
            else if (fromReview && m_phase.kind == Phase::Kind::review)
                present();
        },
        Qt::QueuedConnection);
}

void ImageImportSession::prepareReading() {
    const platform::TextRecognizer* recognizer = m_reading.recognizer;
    if (!recognizer)
        return;
    keepReadingReady();
    if (std::exchange(m_readingReady, true))
        return;
    run([recognizer] { recognizer->prepare(); });
}

void ImageImportSession::keepReadingReady() {
    m_readingRelease.startAt(core::Date::now() + kReleaseReadingAfter);
}

void ImageImportSession::releaseReading() {
    // An import that reads long still uses it.
    if (isWorking(m_phase)) {
        keepReadingReady();
        return;
    }
    m_readingReady = false;
    // On the import's own worker: never while an import reads.
    if (const platform::TextRecognizer* recognizer = m_reading.recognizer)
        run([recognizer] { recognizer->release(); });
}

void ImageImportSession::run(std::function<void()> job) {
    if (m_runner) {
        m_runner(std::move(job));
        return;
    }
    if (!m_worker) {
        m_worker = std::make_unique<QThreadPool>();
        m_worker->setMaxThreadCount(1);
    }
    m_worker->start(std::move(job));
}

void ImageImportSession::post(QPointer<ImageImportSession> session, std::uint64_t token,
                              std::function<void(ImageImportSession&)> step) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [session, token, step = std::move(step)] {
            if (session && session->m_token == token)
                step(*session);
        },
        Qt::QueuedConnection);
}

void ImageImportSession::finish(const ImageExtraction& extraction) {
    m_readingDelay.stop();
    keepReadingReady();
    setExtraction(extraction);
    m_resultID = QUuid::createUuid();
    emit resultIDChanged();
    const bool noText = extraction.recognizedText.trimmed().isEmpty();
    setPhase(Phase::of(noText ? Phase::Kind::noText : Phase::Kind::review));
    present();
    if (m_announcer)
        m_announcer(announcement(extraction));
}

void ImageImportSession::fail(const ImageImportError& error) {
    m_readingDelay.stop();
    keepReadingReady();
    setPhase(Phase::failed(error));
    present();
}

void ImageImportSession::present() {
    if (!m_appState)
        return;
    if (m_appState->route().kind() != app::PopoverRoute::Kind::imageImport)
        m_appState->setRoute(app::PopoverRoute::imageImport());
    if (!m_appState->isPopoverOpen())
        m_appState->openPopover();
}

QString ImageImportSession::announcement(const ImageExtraction& extraction) {
    if (extraction.recognizedText.trimmed().isEmpty())
        return u"No text found in the image."_s;
    const QString kind = extraction.kind == ImageExtraction::Kind::reminder ? u"Reminder"_s : u"Event"_s;
    return extraction.summary() + u". "_s + kind + u": "_s + extraction.title + u". Return adds, Tab for more details."_s;
}

void ImageImportSession::setPhase(Phase phase) {
    if (m_phase == phase)
        return;
    m_phase = std::move(phase);
    emit phaseChanged();
}

void ImageImportSession::setThumbnail(std::optional<platform::LoadedImage> image) {
    if (!m_thumbnail && !image)
        return;
    m_thumbnail = std::move(image);
    emit thumbnailChanged();
}

void ImageImportSession::setExtraction(std::optional<ImageExtraction> extraction) {
    if (!m_extraction && !extraction)
        return;
    m_extraction = std::move(extraction);
    emit extractionChanged();
}

}  // namespace imageimport
