#pragma once

#include <QWidget>

namespace app {
struct AppEnvironment;
}

namespace imageimport {

class ImageImportSession;
class ImportReadingCard;

// The popover's screen for an image import: the session's phase alone decides what
// it shows, under the import header (a start card, the reading card, a message
// card) or, with a result, the review. Leaving the screen cancels a running import.
class ImageImportView final : public QWidget {
    Q_OBJECT

public:
    explicit ImageImportView(app::AppEnvironment& environment, QWidget* parent = nullptr);
    ~ImageImportView() override;

    // What shows now: the card or the review under the header.
    QWidget* content() const { return m_content; }

private:
    void showPhase();
    QWidget* makeContent();

    app::AppEnvironment& m_env;
    ImageImportSession& m_session;
    QWidget* m_header;
    QWidget* m_content = nullptr;
    ImportReadingCard* m_reading = nullptr;
};

// The review of a result, built anew for each one (each resultID): the screen that
// adds the event or reminder, with the import header at its own top.
QWidget* makeImportReview(app::AppEnvironment& environment, ImageImportSession& session, QWidget* parent);

}  // namespace imageimport
