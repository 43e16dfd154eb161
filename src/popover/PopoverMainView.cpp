#include "popover/PopoverMainView.h"

#include "design/widgets/CappedHeightView.h"
#include "design/widgets/Hairline.h"
#include "popover/MonthGridView.h"
#include "popover/MonthHeaderView.h"
#include "popover/PopoverFooterView.h"
#include "popover/PopoverKeyHandler.h"
#include "popover/RemindersSectionView.h"
#include "popover/UpNextView.h"
#include "state/AppEnvironment.h"
#include "state/AppSettings.h"
#include "state/AppState.h"
#include "store/CalendarStore.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>

namespace popover {

namespace {

QVBoxLayout* stack(QWidget* widget) {
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

PopoverMainView::PopoverMainView(app::AppEnvironment& environment, app::Updater& updater, QWidget* parent)
    : QWidget(parent), m_env(environment), m_column(new design::CappedHeightView(this)), m_quit([] {
          QCoreApplication::quit();
      }) {
    setObjectName(QStringLiteral("PopoverMainView"));
    stack(this)->addWidget(m_column);

    auto* header = new QWidget;
    QVBoxLayout* top = stack(header);
    top->addWidget(new MonthHeaderView(m_env.appState, m_env.settings, header));
    top->addWidget(new MonthGridView(m_env.store, m_env.appState, m_env.settings, m_env.haptics, header));
    top->addWidget(new design::Hairline(Qt::Horizontal, header));

    auto* agenda = new QWidget;
    m_agendaLayout = stack(agenda);
    m_agenda = new UpNextView(m_env.store, m_env.appState, m_env.settings, m_env.workspace, agenda);
    m_agendaLayout->addWidget(m_agenda);
    m_agendaLayout->addStretch(1);

    m_footer = new PopoverFooterView(m_env.store, m_env.appState, updater);
    m_footer->setQuit(m_quit);

    m_column->setTop(header);
    m_column->setMiddle(agenda);
    m_column->setBottom(m_footer);
    m_column->setMaxHeight(m_env.appState.popoverMaxHeight());
    connect(&m_env.appState, &app::AppState::popoverMaxHeightChanged, m_column,
            &design::CappedHeightView::setMaxHeight);
    connect(m_column, &design::CappedHeightView::wantedHeightChanged, this, [this] { updateGeometry(); });

    showReminders(m_env.settings.showReminders());
    connect(&m_env.settings, &app::AppSettings::showRemindersChanged, this, &PopoverMainView::showReminders);
}

PopoverMainView::~PopoverMainView() = default;

void PopoverMainView::setQuit(std::function<void()> quit) {
    m_quit = std::move(quit);
    m_footer->setQuit(m_quit);
    if (m_keys) {
        removeKeyMonitor();
        installKeyMonitor();
    }
}

void PopoverMainView::showReminders(bool show) {
    // Made anew each time it is switched on, so that it starts collapsed.
    delete m_reminders.data();
    if (show) {
        m_reminders = new RemindersSectionView(m_env.store, m_env.reminderCompletions, m_env.workspace);
        m_agendaLayout->insertWidget(1, m_reminders);
    }
}

RemindersSectionView* PopoverMainView::reminders() const {
    return m_reminders.data();
}

int PopoverMainView::heightForWidth(int width) const {
    return m_column->heightForWidth(width);
}

QSize PopoverMainView::sizeHint() const {
    return m_column->sizeHint();
}

void PopoverMainView::showEvent(QShowEvent* event) {
    installKeyMonitor();
    QWidget::showEvent(event);
}

void PopoverMainView::hideEvent(QHideEvent* event) {
    removeKeyMonitor();
    QWidget::hideEvent(event);
}

void PopoverMainView::installKeyMonitor() {
    removeKeyMonitor();
    m_keys = new PopoverKeyMonitor(m_env, this, m_quit, this);
}

void PopoverMainView::removeKeyMonitor() {
    if (m_keys == nullptr)
        return;
    // A key press may be what takes this screen away: the monitor is still
    // handling it, so it stops listening now and goes once that is over.
    qApp->removeEventFilter(m_keys);
    m_keys->deleteLater();
    m_keys = nullptr;
}

// ---------------------------------------------------------------------------------------------

PopoverKeyMonitor::PopoverKeyMonitor(app::AppEnvironment& environment, QWidget* screen, std::function<void()> quit,
                                     QObject* parent)
    : QObject(parent), m_env(environment), m_screen(screen), m_quit(std::move(quit)) {
    qApp->installEventFilter(this);
}

PopoverKeyMonitor::~PopoverKeyMonitor() {
    qApp->removeEventFilter(this);
}

bool PopoverKeyMonitor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return false;
    const auto* press = static_cast<QKeyEvent*>(event);
    QWidget* window = m_screen->window();
    PopoverKey key;
    key.key = press->key();
    key.modifiers = press->modifiers();
    key.text = press->text();
    key.inActivePanel = widget->window() == window && window->isActiveWindow();
    key.textFieldFocused = isTextInput(window->focusWidget());
    return PopoverKeyHandler::handle(key, m_env.store, m_env.appState, m_env.settings, m_quit);
}

bool isTextInput(const QWidget* widget) {
    if (widget == nullptr)
        return false;
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

}  // namespace popover
