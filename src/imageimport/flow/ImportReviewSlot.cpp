// The review screen of a result. Until the review of the reviewed event or reminder is
// built, a plain card tells what was found: the result's summary and its title.

#include "imageimport/flow/ImageImportView.h"

#include "app/AppEnvironment.h"
#include "app/AppState.h"
#include "design/ODFont.h"
#include "design/TextBlock.h"
#include "design/Theme.h"
#include "imageimport/flow/ImageImportSession.h"
#include "imageimport/flow/ImportHeader.h"

#include <QVBoxLayout>

namespace imageimport {

QWidget* makeImportReview(app::AppEnvironment& environment, ImageImportSession& session, QWidget* parent) {
    auto* review = new QWidget(parent);
    review->setObjectName(QStringLiteral("ImportReview"));
    auto* layout = new QVBoxLayout(review);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(new ImportHeader(environment.appState, review));
    auto* card = new QVBoxLayout;
    card->setContentsMargins(20, 8, 20, 22);
    card->setSpacing(6);
    const ImageExtraction& extraction = *session.extraction();
    auto* title = new design::TextBlock(extraction.title, design::ODFont::display(20), design::Theme::text(), review);
    title->setObjectName(QStringLiteral("ImportReviewTitle"));
    card->addWidget(title);
    card->addWidget(new design::TextBlock(extraction.summary(), design::ODFont::body(12.5, design::FontWeight::medium),
                                          design::Theme::text2(), review));
    layout->addLayout(card);
    return review;
}

}  // namespace imageimport
