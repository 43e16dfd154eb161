#pragma once

#include "popover/EventRowContent.h"

#include <QAbstractButton>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <utility>

class QAction;

namespace app {
class AppState;
}
namespace design {
class CountdownSticker;
}
namespace platform {
class Workspace;
}

namespace popover {

class JoinButton;
class LocationLink;

// One timed event of the day agenda: the calendar's accent bar, the time (or
// "Now · ends in …" with a progress bar while it runs), the title, a link that
// finds the place on the map, the overlap tag, and at the trailing end the
// countdown and join button, a "Declined" pill or the overlap dot. A click
// anywhere else opens the event in the editor. The row never reads the clock:
// the agenda hands it a new `now` every minute.
class EventRowView : public QAbstractButton {
    Q_OBJECT

public:
    EventRowView(EventRowInput input, app::AppState& appState, platform::Workspace& workspace,
                 QWidget* parent = nullptr);
    ~EventRowView() override;

    const EventRowInput& input() const { return m_content.input(); }
    const EventRowContent& content() const { return m_content; }
    void setInput(EventRowInput input);

    // Fades the whole row, its link included: the agenda dims events that are over.
    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);

    bool isHovering() const { return m_hovering; }

    // The pieces shown now; nullptr while absent.
    JoinButton* joinButton() const;
    design::CountdownSticker* sticker() const;
    QAbstractButton* locationLink() const;
    // The named action assistive technologies offer on every row.
    QAction* joinMeetingAction() const { return m_joinAction; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Where everything of the row goes at a width.
    struct Geometry {
        qreal height = 0;
        QRectF bar;
        QRectF time;
        QRectF title;
        QRectF progress;
        QRectF location;
        QRectF tag;
        // The trailing pieces, each empty when absent.
        QRectF sticker;
        QRectF join;
        QRectF declined;
        QRectF dot;
    };

    // The sizes of the pieces, whatever the row's width.
    struct Sizes {
        QSizeF trailing;
        QSizeF sticker;
        QSizeF join;
        qreal time = 0;
        qreal title = 0;
        std::optional<QSizeF> location;
        std::optional<QSizeF> tag;
    };

    // Measured once per content (and width): layouts ask a long agenda's rows for their size many times over, and
    // measuring shapes the row's texts.
    const Sizes& sizes() const;
    const Geometry& geometry(qreal width) const;
    Geometry measure(qreal width) const;
    void refresh();
    void placeChildren();
    void setHovering(bool hovering);

    app::AppState& m_appState;
    platform::Workspace& m_workspace;
    EventRowContent m_content;
    bool m_hovering = false;
    qreal m_opacity = 1;
    JoinButton* m_join;
    design::CountdownSticker* m_sticker;
    LocationLink* m_location;
    QAction* m_joinAction;
    mutable std::optional<Sizes> m_sizes;
    mutable std::optional<QSize> m_sizeHint;
    mutable std::optional<std::pair<qreal, Geometry>> m_geometry;
};

}  // namespace popover
