#include "popover/UndoToastModel.h"

#include "core/Clock.h"
#include "core/ClockTimer.h"
#include "store/CalendarStore.h"

#include <algorithm>
#include <array>
#include <exception>

using namespace Qt::Literals::StringLiterals;

namespace popover {

namespace {

struct UndoKind {
    QLatin1StringView prefix;
    QLatin1StringView symbol;
    QLatin1StringView title;
};

// The first prefix that matches decides, so "Added reminder" must not be caught
// by a shorter word before it.
constexpr std::array kKinds{
    UndoKind{"Deleted"_L1, "trash"_L1, "Event deleted"_L1},
    UndoKind{"Created"_L1, "plus"_L1, "Event added"_L1},
    UndoKind{"Edited"_L1, "pencil"_L1, "Event updated"_L1},
    UndoKind{"Completed"_L1, "checkmark"_L1, "Reminder done"_L1},
    UndoKind{"Added reminder"_L1, "plus"_L1, "Reminder added"_L1},
};

const UndoKind* kindOf(const QString& label) {
    for (const UndoKind& kind : kKinds)
        if (label.startsWith(kind.prefix, Qt::CaseSensitive))
            return &kind;
    return nullptr;
}

}  // namespace

QString undoToastSymbol(const QString& label) {
    const UndoKind* kind = kindOf(label);
    return kind != nullptr ? QString(kind->symbol) : u"arrow.uturn.backward"_s;
}

QString undoToastTitle(const QString& label) {
    const UndoKind* kind = kindOf(label);
    return kind != nullptr ? QString(kind->title) : label;
}

UndoToastModel::UndoToastModel(store::CalendarStore& store, QObject* parent)
    : QObject(parent),
      m_store(store),
      m_timer(std::make_unique<core::ClockTimer>()),
      m_lastCount(store.undoStack().size()) {
    connect(m_timer.get(), &core::ClockTimer::timeout, this, &UndoToastModel::expire);
    connect(&m_store, &store::CalendarStore::undoStackChanged, this, &UndoToastModel::onUndoStackChanged);
}

UndoToastModel::~UndoToastModel() = default;

double UndoToastModel::remaining() const {
    if (!m_label && !m_notice)
        return 0;
    if (!m_timer->isActive())
        return m_remaining;
    return std::max(0.0, m_timer->moment() - core::Clock::current().now());
}

void UndoToastModel::onUndoStackChanged() {
    const std::size_t count = m_store.undoStack().size();
    if (count > m_lastCount) {
        // An entry without a label is counted all the same, so the next push is
        // compared with the new length.
        if (const std::optional<QString> label = m_store.undoLabel())
            show(*label);
    } else if (count < m_lastCount && !m_notice) {
        // A notice is about something else than the entry undone.
        hide();
    }
    m_lastCount = count;
}

void UndoToastModel::show(const QString& label) {
    m_label = label;
    m_error.reset();
    m_notice.reset();
    m_remaining = kShownFor;
    if (m_hovering && m_onMain)
        m_timer->stop();
    else
        m_timer->startAt(core::Clock::current().now() + m_remaining);
    emit changed();
    emit toastShown(label);
}

void UndoToastModel::showNotice(const QString& message) {
    if (m_error == message)
        return;
    m_label.reset();
    m_error.reset();
    m_notice = message;
    m_noticeAnnounced = false;
    m_remaining = kShownFor;
    m_timer->stop();
    if (counts())
        m_timer->startAt(core::Clock::current().now() + m_remaining);
    emit changed();
    announceNotice();
}

void UndoToastModel::hide() {
    if (clear())
        emit changed();
}

void UndoToastModel::expire() {
    if (clear())
        emit expired();
}

bool UndoToastModel::clear() {
    m_timer->stop();
    m_remaining = 0;
    m_hovering = false;
    if (!m_label && !m_error && !m_notice)
        return false;
    m_label.reset();
    m_error.reset();
    m_notice.reset();
    return true;
}

void UndoToastModel::pause() {
    if (!m_timer->isActive())
        return;
    m_remaining = remaining();
    m_timer->stop();
}

void UndoToastModel::resume() {
    if ((m_label || m_notice) && counts() && !m_timer->isActive())
        m_timer->startAt(core::Clock::current().now() + m_remaining);
}

bool UndoToastModel::counts() const {
    if (m_hovering && m_onMain)
        return false;
    // An undo toast's time runs from its change: a later look should not offer to
    // undo something long done. A notice's runs while it can be read.
    return !m_notice || (m_onMain && m_seen);
}

void UndoToastModel::followSight() {
    if (!m_notice)
        return;
    if (counts())
        resume();
    else
        pause();
    announceNotice();
}

void UndoToastModel::announceNotice() {
    if (!m_notice || m_noticeAnnounced || !m_onMain || !m_seen)
        return;
    m_noticeAnnounced = true;
    emit toastShown(*m_notice);
}

void UndoToastModel::setOnMain(bool onMain) {
    if (m_onMain == onMain)
        return;
    m_onMain = onMain;
    // A hidden toast has no pointer over it, and it leaves no leave event behind.
    if (!onMain)
        setHovering(false);
    emit changed();
    followSight();
}

void UndoToastModel::setSeen(bool seen) {
    if (m_seen == seen)
        return;
    m_seen = seen;
    followSight();
}

void UndoToastModel::setHovering(bool hovering) {
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    if (hovering)
        pause();
    else
        resume();
}

void UndoToastModel::undo() {
    try {
        m_store.undo();
    } catch (const std::exception& failure) {
        // Without a word the failure would pass for nothing having happened.
        const QString message = QString::fromUtf8(failure.what());
        // Set first: the store's last error would otherwise come back as a notice.
        m_error = message;
        m_store.setLastError(message);
        emit changed();
        return;
    }
    hide();
}

}  // namespace popover
