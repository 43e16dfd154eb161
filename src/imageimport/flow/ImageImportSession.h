#pragma once

#include "imageimport/flow/ImageImportInput.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
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

    std::uint64_t token() const { return m_token; }
    bool isRunning() const { return m_input.has_value(); }
    const std::optional<ImageImportInput>& input() const { return m_input; }

private:
    QPointer<app::AppState> m_appState;
    std::optional<ImageImportInput> m_input;
    std::uint64_t m_token = 1;
};

}  // namespace imageimport
