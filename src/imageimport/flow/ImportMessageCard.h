#pragma once

#include "design/values/Theme.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/Painting.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace design {
class TextBlock;
}

namespace imageimport {

// A symbol on a coloured tile, a title, a message and two buttons: the import
// screen's card when it waits for an image, when an image held no text, and when
// an import failed. It lays out what it is given. Return presses the primary
// button wherever the focus is in the card's window, so the card takes the focus
// when it shows.
class ImportMessageCard final : public QWidget {
    Q_OBJECT

public:
    struct Action {
        QString title;
        std::function<void()> action;
    };
    struct Content {
        QString icon;
        design::Tint tint = design::Theme::text2();
        design::Tint tile = design::Theme::fillSoft();
        QString title;
        QString message;
        Action secondary;
        Action primary;
        design::ODButtonKind primaryKind = design::ODButtonKind::primary;
    };

    explicit ImportMessageCard(Content content, QWidget* parent = nullptr);

    const Content& content() const { return m_content; }
    design::ODButton* primaryButton() const { return m_primary; }
    design::ODButton* secondaryButton() const { return m_secondary; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Content m_content;
    design::ODButton* m_secondary;
    design::ODButton* m_primary;
};

}  // namespace imageimport
