#include "popover/PermissionsView.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/PlainTextButton.h"
#include "design/widgets/SunkenFooter.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "design/widgets/Tilt.h"
#include "popover/AccessFlows.h"
#include "popover/AccessScreenParts.h"
#include "state/AppEnvironment.h"
#include "state/PlatformWords.h"
#include "store/CalendarStore.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace popover {

using design::FontWeight;
using design::Theme;
using model::AccessStatus;

namespace {

constexpr int kRowPadding = 12;
constexpr int kRowSpacing = 12;
constexpr qreal kRowCornerRadius = 12;
constexpr int kIconTile = 32;
constexpr qreal kIconTileRadius = 8;

constexpr int kAppTile = 52;
constexpr qreal kAppTileRadius = 14;
constexpr qreal kAppTileTilt = 6;
constexpr int kSecondTileRight = 46;
constexpr int kSecondTileUp = 6;
constexpr int kAppIconsWidth = 100;

bool isRefused(AccessStatus status) {
    return status == AccessStatus::denied || status == AccessStatus::restricted || status == AccessStatus::writeOnly;
}

// Room the turned tiles need past their unturned frames.
int tiltRoom() {
    return static_cast<int>(std::ceil(design::tiltOutset(QSizeF(kAppTile, kAppTile), kAppTileTilt).top()));
}

// The two turned app tiles, calendar and checklist, the second over the first.
class AppIcons final : public QWidget {
public:
    explicit AppIcons(QWidget* parent = nullptr) : QWidget(parent) {
        const int room = tiltRoom();
        setFixedSize(kAppIconsWidth + 2 * room, kAppTile + kSecondTileUp + 2 * room);
        design::setAccessibleRole(this, QAccessible::NoRole);
        design::followAppearance(this);
    }

    // Where the 100 × 52 frame's top left lies in this widget.
    static QPoint frameOrigin() { return QPoint(tiltRoom(), tiltRoom() + kSecondTileUp); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF origin = frameOrigin();
        const QRectF first(origin, QSizeF(kAppTile, kAppTile));
        paintTile(painter, first, -kAppTileTilt, Theme::flame(), Theme::onAccent(), u"calendar"_s, 22);
        paintTile(painter, first.translated(kSecondTileRight, -kSecondTileUp), kAppTileTilt, Theme::amber(),
                  Theme::ink(), u"checklist"_s, 20);
    }

private:
    static void paintTile(QPainter& painter, const QRectF& tile, qreal tilt, design::Tint fill, design::Tint ink,
                          const QString& symbol, qreal symbolSize) {
        painter.save();
        design::odTilt(painter, tile, tilt);
        design::Shape::rounded(kAppTileRadius).fill(painter, tile, fill.resolve());
        design::Symbols::paint(painter, tile, symbol, ink.resolve(), symbolSize, FontWeight::semibold);
        painter.restore();
    }
};

}  // namespace

// The icon of a row: its own symbol, or a check once access is full.
class PermissionRow::IconTile final : public QWidget {
public:
    IconTile(QString symbol, QWidget* parent) : QWidget(parent), m_symbol(std::move(symbol)) {
        setFixedSize(kIconTile, kIconTile);
        design::setAccessibleRole(this, QAccessible::NoRole);
        design::followAppearance(this);
    }

    void setGranted(bool granted) {
        if (m_granted == granted)
            return;
        m_granted = granted;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        design::Shape::rounded(kIconTileRadius)
            .fill(painter, rect(), design::toQColor(m_granted ? Theme::leafSoft() : Theme::fillSoft()));
        design::Symbols::paint(painter, rect(), m_granted ? u"checkmark"_s : m_symbol,
                               design::toQColor(m_granted ? Theme::leafInk() : Theme::text()), 13,
                               FontWeight::semibold);
    }

private:
    QString m_symbol;
    bool m_granted = false;
};

PermissionRow::PermissionRow(QString symbol, const QString& title, const QString& subtitle,
                             std::function<void()> allow, QWidget* parent)
    : QWidget(parent),
      m_icon(new IconTile(std::move(symbol), this)),
      m_allow(new design::ODButton(u"Allow"_s, std::nullopt, design::ODButtonKind::primary,
                                   design::ODButtonSize::small, false, this)),
      m_granted(new design::TextLine(u"Allowed"_s, design::ODFont::body(12, FontWeight::bold), Theme::leafInk(),
                                     this)),
      m_refused(new design::TextLine(u"Turned off"_s, design::ODFont::body(12, FontWeight::semibold),
                                     Theme::text3(), this)) {
    design::setAccessibleRole(this, QAccessible::Grouping);
    setAccessibleName(title);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::followAppearance(this);
    m_allow->setAccessibleName(u"Allow "_s + title);
    m_allow->setToolTip(m_allow->accessibleName());
    connect(m_allow, &QAbstractButton::clicked, this, [allow = std::move(allow)] { allow(); });

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(new design::TextLine(title, design::ODFont::body(14, FontWeight::bold), Theme::text(), this));
    texts->addWidget(new design::TextLine(subtitle, design::ODFont::body(11), Theme::text2(), this));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kRowPadding, kRowPadding, kRowPadding, kRowPadding);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(m_icon, 0, Qt::AlignVCenter);
    layout->addLayout(texts, 1);
    layout->addSpacing(8 - kRowSpacing);
    layout->addWidget(m_allow, 0, Qt::AlignVCenter);
    layout->addWidget(m_granted, 0, Qt::AlignVCenter);
    layout->addWidget(m_refused, 0, Qt::AlignVCenter);
    setState(AccessStatus::notDetermined, false, false);
}

void PermissionRow::setState(AccessStatus status, bool isActive, bool isBusy) {
    m_status = status;
    m_active = isActive;
    m_icon->setGranted(status == AccessStatus::fullAccess);
    m_allow->setVisible(status == AccessStatus::notDetermined);
    m_allow->setEnabled(!isBusy);
    m_granted->setVisible(status == AccessStatus::fullAccess);
    m_refused->setVisible(isRefused(status));
    update();
}

QString PermissionRow::statusText() const {
    if (m_granted->isVisibleTo(this))
        return m_granted->text();
    if (m_refused->isVisibleTo(this))
        return m_refused->text();
    return {};
}

void PermissionRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const design::Shape shape = design::Shape::rounded(kRowCornerRadius);
    shape.fill(painter, rect(), design::toQColor(Theme::card()));
    if (m_active)
        shape.strokeBorder(painter, rect(), design::toQColor(Theme::flame()), 1.5);
    else
        shape.strokeBorder(painter, rect(), design::toQColor(Theme::line()), 1);
}

PermissionsView::PermissionsView(app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_flow(new PermissionsFlow(environment.store, environment.settings, environment.appState, this)) {
    setObjectName(u"PermissionsView"_s);
    auto* header = new AccessScreenHeader(
        new AppIcons, AppIcons::frameOrigin(), kAppTile, u"Hi! I’m Orbitday."_s, 24,
        u"To show your day I need to read your calendars and reminders. Everything stays on "_s +
            app::words::thisComputer() + u"."_s,
        this);

    m_calendars = new PermissionRow(u"calendar"_s, u"Calendars"_s, u"Events in the popover and "_s + app::words::menuBar(),
                                    [this] { m_flow->allowCalendars(); }, this);
    m_reminders = new PermissionRow(u"checklist"_s, u"Reminders"_s, u"Today’s to-dos under your events"_s,
                                    [this] { m_flow->allowReminders(); }, this);
    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(12, 0, 12, 14);
    rows->setSpacing(8);
    rows->addWidget(m_calendars);
    rows->addWidget(m_reminders);
    m_note = new design::TextBlock(QString(), design::ODFont::body(11, FontWeight::medium), Theme::amberInk(), this);
    m_note->hide();
    rows->addWidget(m_note);

    auto* footer = new design::SunkenFooter(16, 9, this);
    footer->row()->setSpacing(6);
    footer->row()->addWidget(
        new design::SymbolView(u"checkmark.shield"_s, 11, FontWeight::semibold, Theme::leafInk(), footer));
    auto* promise = new ShrinkingTextLine(u"No account. No analytics. You can change this later."_s,
                                          design::ODFont::body(11, FontWeight::medium), Theme::leafInk(), footer);
    footer->row()->addWidget(promise, 1);
    m_skip = new design::PlainTextButton(u"Skip"_s, design::ODFont::body(12, FontWeight::bold), Theme::text2(), footer);
    m_skip->setToolTip(u"Continue without Reminders"_s);
    connect(m_skip, &QAbstractButton::clicked, m_flow, &PermissionsFlow::skip);
    footer->row()->addWidget(m_skip);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addLayout(rows);
    layout->addWidget(footer);

    connect(m_flow, &PermissionsFlow::changed, this, &PermissionsView::refresh);
    connect(&m_env.store, &store::CalendarStore::eventAccessChanged, this, &PermissionsView::refresh);
    connect(&m_env.store, &store::CalendarStore::reminderAccessChanged, this, &PermissionsView::refresh);
    refresh();
}

PermissionsView::~PermissionsView() = default;

void PermissionsView::refresh() {
    const bool busy = m_flow->isRequesting();
    m_calendars->setState(m_env.store.eventAccess(), m_flow->isCalendarsRowActive(), busy);
    m_reminders->setState(m_env.store.reminderAccess(), m_flow->isRemindersRowActive(), busy);
    m_skip->setVisible(m_flow->canSkip());
    m_note->setText(m_flow->note());
    m_note->setVisible(!m_flow->note().isEmpty());
}

}  // namespace popover
