#include "imageimport/flow/ImageImportSession.h"

#include "app/AppState.h"

namespace imageimport {

ImageImportSession::ImageImportSession(QObject* parent) : QObject(parent) {}

void ImageImportSession::begin(const ImageImportInput& input) {
    cancel();
    m_input = input;
    if (m_appState)
        m_appState->openPopover(app::PopoverRoute::imageImport());
}

void ImageImportSession::cancel() {
    m_input.reset();
    ++m_token;
}

}  // namespace imageimport
