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

void ImageImportSession::chooseFile() {
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
            if (chosen)
                begin(ImageImportInput::file(*chosen));
        },
        Qt::QueuedConnection);
}

void ImageImportSession::cancel() {
    m_input.reset();
    ++m_token;
}

}  // namespace imageimport
