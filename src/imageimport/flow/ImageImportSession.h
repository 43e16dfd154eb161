#pragma once

#include "imageimport/flow/ImageImportInput.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>

namespace app {
class AppState;
}

namespace imageimport {

// One image import at a time. Each start or cancel takes a new token, so work
// that finishes for an older token knows to drop its result.
class ImageImportSession final : public QObject {
    Q_OBJECT

public:
    explicit ImageImportSession(QObject* parent = nullptr);

    // The state whose popover an import opens; held weakly.
    app::AppState* appState() const { return m_appState.data(); }
    void setAppState(app::AppState* state) { m_appState = state; }

    // Cancels what runs and starts on `input`, opening the popover on the import screen.
    void begin(const ImageImportInput& input);
    // Harmless when nothing runs.
    void cancel();

    // Lets the user pick one image or PDF and returns it, or nothing when the
    // choice was cancelled. Modal: it returns when the chooser has closed.
    using FileChooser = std::function<std::optional<QUrl>()>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    // Closes the popover, then, on a later turn of the event loop, lets the user
    // pick a file and imports it; a cancelled choice changes nothing. While a
    // chooser is open a second one is not started.
    void chooseFile();

    std::uint64_t token() const { return m_token; }
    bool isRunning() const { return m_input.has_value(); }
    const std::optional<ImageImportInput>& input() const { return m_input; }

private:
    QPointer<app::AppState> m_appState;
    std::optional<ImageImportInput> m_input;
    std::uint64_t m_token = 1;
    FileChooser m_fileChooser;
    bool m_choosing = false;
};

}  // namespace imageimport
