#pragma once

#include "design/widgets/ODButton.h"
#include "model/MeetingLink.h"

namespace platform {
class Workspace;
}

namespace popover {

// "Join" with the meeting service's glyph: a click opens the meeting link with
// the desktop. Prominent (primary, medium) on the highlighted event, quiet
// (ghost, small) elsewhere; the glyph of the primary kind sits on a light disc.
class JoinButton : public design::ODStyledButton {
    Q_OBJECT

public:
    JoinButton(model::MeetingLink link, design::ODButtonKind kind, design::ODButtonSize size,
               platform::Workspace& workspace, QWidget* parent = nullptr);

    const model::MeetingLink& link() const { return m_link; }
    void setLink(model::MeetingLink link);

    // The glyph of a meeting service.
    static QString symbolFor(model::MeetingProvider provider);
    // Opens the link when it is a web address, which is all the meeting-link
    // search ever finds; anything else read from a calendar file is refused.
    // True when the desktop took it.
    static bool join(const model::MeetingLink& link, platform::Workspace& workspace);

protected:
    QSizeF labelSize() const override;
    void paintLabel(QPainter& painter, const QRectF& labelRect, const QColor& color) const override;

private:
    void updateTexts();
    bool isPrimary() const;

    model::MeetingLink m_link;
    platform::Workspace& m_workspace;
};

}  // namespace popover
