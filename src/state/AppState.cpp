#include "state/AppState.h"

#include "core/Calendar.h"

namespace app {

AppState::AppState(QObject* parent)
    : QObject(parent),
      m_selectedDate(core::Calendar::current().startOfDay(core::Date::now())),
      m_displayedMonth(core::Date::now()) {}

AppState::~AppState() = default;

void AppState::setRoute(const PopoverRoute& route) {
    m_route = route;
    emit routeChanged(m_route);
}

void AppState::setPopoverMaxHeight(double height) {
    m_popoverMaxHeight = height;
    emit popoverMaxHeightChanged(height);
}

void AppState::setSelectedDate(core::Date date) {
    m_selectedDate = date;
    emit selectedDateChanged(date);
}

void AppState::setDisplayedMonth(core::Date date) {
    m_displayedMonth = date;
    emit displayedMonthChanged(date);
}

void AppState::setPopoverOpen(bool open) {
    m_isPopoverOpen = open;
    emit isPopoverOpenChanged(open);
}

void AppState::setQuickCreateText(const std::optional<QString>& text) {
    m_quickCreateText = text;
    emit quickCreateTextChanged();
}

void AppState::setPendingDraft(const std::optional<model::EventDraft>& draft) {
    m_pendingDraft = draft;
    emit pendingDraftChanged();
}

void AppState::reportContentHeight(double height) {
    const bool changed = height != m_popoverContentHeight;
    m_popoverContentHeight = height;
    if (changed && onContentHeightChange)
        onContentHeightChange(height);
}

void AppState::openPopover(const std::optional<PopoverRoute>& route) {
    if (route)
        setRoute(*route);
    if (onOpenPopover)
        onOpenPopover();
}

void AppState::goToToday() {
    setSelectedDate(core::Calendar::current().startOfDay(core::Date::now()));
    setDisplayedMonth(core::Date::now());
}

EscapeHandlerToken AppState::installEscapeHandler(std::function<bool()> handler) {
    m_escapeHandler = std::move(handler);
    m_escapeToken = ++m_lastEscapeToken;
    return m_escapeToken;
}

void AppState::removeEscapeHandler(EscapeHandlerToken token) {
    if (token == 0 || token != m_escapeToken)
        return;
    m_escapeHandler = nullptr;
    m_escapeToken = 0;
}

bool AppState::offerEscape() {
    if (!m_escapeHandler)
        return false;
    // A copy: the handler may install another one or remove itself while it runs.
    const auto handler = m_escapeHandler;
    return handler();
}

}  // namespace app
