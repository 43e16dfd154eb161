#include "imageimport/flow/ImageImportView.h"

#include "design/values/SymbolTable.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImportHeader.h"
#include "imageimport/flow/ImportMessageCard.h"
#include "imageimport/flow/ImportReadingCard.h"
#include "state/AppEnvironment.h"
#include "state/AppState.h"
#include "state/PlatformWords.h"

#include <QApplication>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

using Kind = ImageImportSession::Phase::Kind;

QString symbolOr(const QString& symbol, const QString& fallback) {
    return design::SymbolTable::hasSymbol(symbol) ? symbol : fallback;
}

const QString& readsWhat() {
    static const QString text = u"Orbitday reads png, jpg, heic and tiff images, and the first page of a pdf."_s;
    return text;
}

}  // namespace

ImageImportView::ImageImportView(app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_session(environment.appState.imageImport()),
      m_header(new ImportHeader(environment.appState, this)) {
    setObjectName(u"ImageImportView"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    connect(&m_session, &ImageImportSession::phaseChanged, this, &ImageImportView::showPhase);
    connect(&m_session, &ImageImportSession::resultIDChanged, this, &ImageImportView::showPhase);
    connect(&m_session, &ImageImportSession::thumbnailChanged, this, [this] {
        if (m_reading)
            m_reading->setThumbnail(m_session.thumbnail());
    });
    showPhase();
}

ImageImportView::~ImageImportView() {
    // Leaving the screen abandons what is still being read; a result stays. The session
    // outlives the screen: its news of the cancel must not reach a screen that may be
    // going down with its parent, where making a card would crash.
    disconnect(&m_session, nullptr, this, nullptr);
    m_session.cancel();
}

void ImageImportView::showPhase() {
    const Kind kind = m_session.phase().kind;
    const bool working = kind == Kind::preparing || kind == Kind::reading;
    // From preparing to reading the same card goes on moving.
    if (working && m_reading)
        return;
    if (m_content) {
        // With nothing else to take the focus, Qt leaves it on the hidden button,
        // which would still click on Return.
        if (m_content->isAncestorOf(QApplication::focusWidget()))
            QApplication::focusWidget()->clearFocus();
        m_content->hide();
        m_content->deleteLater();
    }
    m_reading = nullptr;
    m_content = makeContent();
    // The review brings the header itself.
    m_header->setVisible(kind != Kind::review);
    if (m_content) {
        static_cast<QVBoxLayout*>(layout())->addWidget(m_content);
        m_content->show();
    }
}

QWidget* ImageImportView::makeContent() {
    app::AppState& state = m_env.appState;
    const auto backToMain = [&state] { state.setRoute(app::PopoverRoute::main()); };
    const auto chooseAnother = [this] { m_session.chooseFile(); };
    const ImageImportSession::Phase& phase = m_session.phase();
    ImportMessageCard::Content card;
    card.secondary = {u"Cancel"_s, backToMain};
    switch (phase.kind) {
        case Kind::preparing:
        case Kind::reading:
            m_reading = new ImportReadingCard(this);
            m_reading->setThumbnail(m_session.thumbnail());
            return m_reading;
        case Kind::review:
            if (!m_session.extraction())
                return nullptr;
            return makeImportReview(m_env, m_session, this);
        case Kind::idle:
            card.icon = symbolOr(u"photo.badge.plus"_s, u"photo"_s);
            card.tint = design::Theme::flame();
            card.tile = design::Theme::flameSoft();
            card.title = u"New from image"_s;
            card.message = u"Paste, drop or choose a screenshot. Orbitday reads the date, time and place on "_s +
                           app::words::thisComputer() + u"."_s;
            card.primary = {u"Choose image…"_s, chooseAnother};
            break;
        case Kind::noText:
            card.icon = symbolOr(u"doc.text.viewfinder"_s, u"text.viewfinder"_s);
            card.title = u"No text found"_s;
            card.message =
                u"This image doesn't seem to have any words in it. Try a screenshot of an email, a ticket or a flyer."_s;
            card.primary = {u"Try another image"_s, chooseAnother};
            card.primaryKind = design::ODButtonKind::secondary;
            break;
        case Kind::failed:
            card.icon = u"photo"_s;
            card.title = phase.error ? phase.error->description() : ImageImportError::unreadable().description();
            card.message = readsWhat();
            card.primary = {u"Try another image"_s, chooseAnother};
            card.primaryKind = design::ODButtonKind::secondary;
            break;
    }
    return new ImportMessageCard(std::move(card), this);
}

}  // namespace imageimport
