#pragma once

#include "core/Date.h"
#include "model/Drafts.h"
#include "state/PopoverRoute.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

namespace model {
struct ODEvent;
}
namespace imageimport {
class ImageImportSession;
}

namespace app {

// Identifies one installation of an Escape handler, so that only its installer
// can remove it.
using EscapeHandlerToken = std::uint64_t;

// The shared state of the popover: the screen it shows, the selected day and
// month, its heights, what one screen hands to the next, and the callbacks by
// which screens ask the shell to open or close things. Main thread only.
class AppState final : public QObject {
    Q_OBJECT

public:
    explicit AppState(QObject* parent = nullptr);
    ~AppState() override;

    const PopoverRoute& route() const { return m_route; }
    void setRoute(const PopoverRoute& route);
    double popoverMaxHeight() const { return m_popoverMaxHeight; }
    void setPopoverMaxHeight(double height);
    core::Date selectedDate() const { return m_selectedDate; }
    void setSelectedDate(core::Date date);
    // A date inside the month the grid shows.
    core::Date displayedMonth() const { return m_displayedMonth; }
    void setDisplayedMonth(core::Date date);
    bool isPopoverOpen() const { return m_isPopoverOpen; }
    void setPopoverOpen(bool open);
    const std::optional<QString>& quickCreateText() const { return m_quickCreateText; }
    void setQuickCreateText(const std::optional<QString>& text);
    const std::optional<model::EventDraft>& pendingDraft() const { return m_pendingDraft; }
    void setPendingDraft(const std::optional<model::EventDraft>& draft);

    // The one image import of the process. The shell makes it and hands it over
    // before any screen asks; it must outlive this state.
    imageimport::ImageImportSession& imageImport() const { return *m_imageImport; }
    void setImageImport(imageimport::ImageImportSession& session) { m_imageImport = &session; }

    // The last measured content height; a different one is stored and reported
    // to onContentHeightChange, an equal one only stored.
    double popoverContentHeight() const { return m_popoverContentHeight; }
    void reportContentHeight(double height);

    // Sets the route when one is given, then asks the shell to open the popover.
    void openPopover(const std::optional<PopoverRoute>& route = std::nullopt);
    // Selects today (at its start) and shows the current month.
    void goToToday();

    // The handler is asked first when Escape is pressed in the popover; true
    // means it handled the key. Installing replaces the current handler.
    EscapeHandlerToken installEscapeHandler(std::function<bool()> handler);
    // Removes the handler only while it is still the one that `token` installed:
    // a screen that disappears after the next one appeared leaves that one's alone.
    void removeEscapeHandler(EscapeHandlerToken token);
    bool hasEscapeHandler() const { return static_cast<bool>(m_escapeHandler); }
    // Offers Escape to the handler; false when there is none or it declined.
    bool offerEscape();

    // Installed by the application shell; a missing callback is not called.
    std::function<void(double)> onContentHeightChange;
    std::function<void(std::optional<SettingsTab>)> onOpenSettings;
    std::function<void(const model::ODEvent&)> onShowMeetingCard;
    std::function<void()> onClosePopover;
    std::function<void()> onOpenPopover;

signals:
    void routeChanged(const app::PopoverRoute& route);
    void popoverMaxHeightChanged(double height);
    void selectedDateChanged(core::Date date);
    void displayedMonthChanged(core::Date date);
    void isPopoverOpenChanged(bool open);
    void quickCreateTextChanged();
    void pendingDraftChanged();

private:
    PopoverRoute m_route;
    double m_popoverMaxHeight = 680;
    double m_popoverContentHeight = 0;
    core::Date m_selectedDate;
    core::Date m_displayedMonth;
    bool m_isPopoverOpen = false;
    std::optional<QString> m_quickCreateText;
    std::optional<model::EventDraft> m_pendingDraft;
    imageimport::ImageImportSession* m_imageImport = nullptr;
    std::function<bool()> m_escapeHandler;
    EscapeHandlerToken m_escapeToken = 0;
    EscapeHandlerToken m_lastEscapeToken = 0;
};

}  // namespace app
