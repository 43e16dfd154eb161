#include "popover/PopoverFooterView.h"

#include "design/values/SymbolTable.h"
#include "design/values/Theme.h"
#include "design/widgets/FocusRing.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/KitMenu.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODIconButton.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "imageimport/flow/ImageImportSession.h"
#include "platform/keys/KeyTable.h"
#include "popover/AboutDialog.h"
#include "popover/PopoverFormat.h"
#include "state/AppState.h"
#include "state/PlatformWords.h"
#include "state/Updater.h"
#include "store/CalendarStore.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cmath>

namespace popover {

using namespace Qt::Literals::StringLiterals;
using design::FontWeight;
using design::ODFont;
using design::Theme;
using design::toQColor;
namespace carbon = platform::keys::carbon;

namespace {

constexpr int kSidePadding = 12;
constexpr int kVerticalPadding = 8;
constexpr int kGearDiameter = 32;
constexpr int kImageDiameter = 26;
constexpr int kMenuGap = 4;

// The field's label: 12 before the plus, 8 between it and the prompt, 7 above and below.
constexpr qreal kFieldLeading = 12;
constexpr qreal kFieldTrailing = 5;
constexpr qreal kPlusGap = 8;
constexpr qreal kFieldVertical = 7;

constexpr qreal kSyncIcon = 20;
constexpr qreal kSyncGap = 6;
// A half turn of the symbol, which looks the same after it: the arrows spin.
constexpr int kSpinMs = 600;

QString imageSymbol() {
    return design::SymbolTable::hasSymbol(u"photo.badge.plus"_s) ? u"photo.badge.plus"_s : u"photo"_s;
}

QString commandShortcut(const QString& key, std::uint32_t more = 0) {
    return app::words::shortcutText(carbon::kCommand | more, key);
}

QFont promptFont() {
    return ODFont::body(13);
}

QFont syncFont() {
    return ODFont::body(12, FontWeight::medium);
}

}  // namespace

PopoverFooterView::PopoverFooterView(store::CalendarStore& store, app::AppState& appState, app::Updater& updater,
                                     QWidget* parent)
    : QWidget(parent),
      m_store(store),
      m_appState(appState),
      m_updater(updater),
      m_quit([] { QCoreApplication::quit(); }) {
    setObjectName(u"PopoverFooterView"_s);
    design::followAppearance(this);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSidePadding, kVerticalPadding, kSidePadding, kVerticalPadding);
    layout->setSpacing(6);
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    layout->addLayout(top);

    m_quickAdd = new QuickAddField(this);
    top->addWidget(m_quickAdd, 1, Qt::AlignVCenter);
    connect(m_quickAdd, &QAbstractButton::clicked, this, [this] {
        m_appState.setQuickCreateText(std::nullopt);
        m_appState.setRoute(app::PopoverRoute::quickCreate());
    });
    connect(m_quickAdd->imageButton(), &QAbstractButton::clicked, this, &PopoverFooterView::chooseImage);

    m_gear = new design::ODIconButton(u"gearshape"_s, kGearDiameter, u"Orbitday menu"_s, this);
    m_gear->setSymbolStyle(14, FontWeight::regular);
    m_gear->setToolTip(u"New from image, settings, refresh, quit"_s);
    m_gear->setAccessibleDescription(u"New from image, settings, refresh, updates and quit"_s);
    top->addWidget(m_gear, 0, Qt::AlignVCenter);
    connect(m_gear, &QAbstractButton::clicked, this, &PopoverFooterView::openMenu);

    m_sync = new SyncRow(this);
    layout->addWidget(m_sync, 0, Qt::AlignLeft);
    connect(m_sync, &QAbstractButton::clicked, this, &PopoverFooterView::refresh);

    const auto showSync = [this] { m_sync->setState(m_store.isRefreshing(), m_store.lastSynced()); };
    connect(&m_store, &store::CalendarStore::isRefreshingChanged, this, showSync);
    connect(&m_store, &store::CalendarStore::lastSyncedChanged, this, showSync);
    showSync();
}

PopoverFooterView::~PopoverFooterView() = default;

QString PopoverFooterView::syncText(bool isRefreshing, std::optional<core::Date> lastSynced) {
    if (isRefreshing)
        return u"Syncing\u2026"_s;
    if (!lastSynced)
        return u"Not synced yet"_s;
    return u"Synced "_s + PopoverFormat::time(*lastSynced);
}

QAbstractButton* PopoverFooterView::quickAddButton() const {
    return m_quickAdd;
}

QAbstractButton* PopoverFooterView::imageButton() const {
    return m_quickAdd->imageButton();
}

QAbstractButton* PopoverFooterView::gearButton() const {
    return m_gear;
}

QAbstractButton* PopoverFooterView::syncButton() const {
    return m_sync;
}

void PopoverFooterView::refresh() {
    m_store.refreshSources();
}

void PopoverFooterView::chooseImage() {
    m_appState.imageImport().chooseFile();
}

std::unique_ptr<design::KitMenu> PopoverFooterView::buildMenu() {
    auto menu = std::make_unique<design::KitMenu>(
        design::KitMenu::Look{ODFont::nsBody(13), design::KitMenu::Swatch::dot, std::nullopt});
    // The menu may outlive this footer (the screen can be rebuilt while it is open):
    // each action reaches what it needs through the shared objects only.
    app::AppState* state = &m_appState;
    store::CalendarStore* store = &m_store;

    design::MenuRow newFromImage{u"New from Image\u2026"_s, commandShortcut(u"I"_s, carbon::kShift)};
    newFromImage.symbol = imageSymbol();
    menu->addRow(newFromImage, [state] { state->imageImport().chooseFile(); });
    menu->addSeparator();
    menu->addRow({u"Settings\u2026"_s, commandShortcut(u","_s)}, [state] {
        if (state->onClosePopover)
            state->onClosePopover();
        if (state->onOpenSettings)
            state->onOpenSettings(std::nullopt);
    });
    menu->addRow({u"Refresh now"_s, commandShortcut(u"R"_s)}, [store] { store->refreshSources(); });
    design::MenuRow updates{u"Check for Updates\u2026"_s};
    updates.enabled = m_updater.canCheck();
    menu->addRow(updates, [updater = &m_updater] { updater->checkForUpdates(); });
    menu->addRow({u"About Orbitday"_s}, [state] {
        if (state->onClosePopover)
            state->onClosePopover();
        app::AboutDialog::present();
    });
    menu->addSeparator();
    menu->addRow({u"Quit Orbitday"_s, commandShortcut(u"Q"_s)}, [quit = m_quit] {
        if (quit)
            quit();
    });
    return menu;
}

void PopoverFooterView::openMenu() {
    design::KitMenu* menu = buildMenu().release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Under the gear when the screen leaves room, else above it.
    const QSize size = menu->sizeHint();
    QPoint at = m_gear->mapToGlobal(QPoint(m_gear->width() - size.width(), m_gear->height() + kMenuGap));
    const QScreen* screen = m_gear->screen();
    if (screen && at.y() + size.height() > screen->availableGeometry().bottom())
        at.setY(m_gear->mapToGlobal(QPoint(0, 0)).y() - kMenuGap - size.height());
    menu->popup(at);
}

void PopoverFooterView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(Theme::surfaceSunk()));
    design::Hairline::paint(painter, QRectF(0, 0, width(), 1));
}

// ---------------------------------------------------------------------------------------------

QuickAddField::QuickAddField(QWidget* parent)
    : QAbstractButton(parent),
      m_image(new design::ODIconButton(imageSymbol(), kImageDiameter, u"New from image"_s, this)) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::capsule());
    setToolTip(u"Quick add ("_s + commandShortcut(u"N"_s) + u")"_s);
    setAccessibleName(u"Quick add event"_s);
    setAccessibleDescription(u"Type an event in plain English. Shortcut: "_s +
                             app::words::spokenCommandShortcut(u"N"_s) +
                             u". Paste or drop a screenshot to read it."_s);

    m_image->setSymbolStyle(12, FontWeight::medium);
    m_image->setCursor(Qt::PointingHandCursor);
    m_image->setToolTip(u"New from Image\u2026 ("_s + commandShortcut(u"I"_s, carbon::kShift) + u")"_s);
    m_image->setAccessibleDescription(u"Choose a screenshot, ticket or flyer. Orbitday reads the date, time and "
                                      u"place on "_s +
                                      app::words::thisComputer() + u"."_s);
}

QSize QuickAddField::sizeHint() const {
    const QFontMetricsF metrics(promptFont());
    const qreal label = kFieldLeading + design::Symbols::boxSide(13) + kPlusGap + metrics.horizontalAdvance(
                                                                                       u"Type, paste or drop a screenshot"_s);
    const qreal height = std::max(metrics.height() + 2 * kFieldVertical, qreal(kImageDiameter));
    return QSize(static_cast<int>(std::ceil(label + 4 + 4 + kImageDiameter + kFieldTrailing)),
                 static_cast<int>(std::ceil(height)));
}

QSize QuickAddField::minimumSizeHint() const {
    return QSize(static_cast<int>(kFieldLeading + kImageDiameter + kFieldTrailing + 40), sizeHint().height());
}

void QuickAddField::resizeEvent(QResizeEvent*) {
    m_image->move(static_cast<int>(width() - kFieldTrailing - kImageDiameter), (height() - kImageDiameter) / 2);
}

void QuickAddField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field(rect());
    const design::Shape capsule = design::Shape::capsule();
    capsule.fill(painter, field, toQColor(Theme::card()));
    capsule.strokeBorder(painter, field, toQColor(Theme::line()), 1);

    if (isDown())
        painter.setOpacity(0.6);
    const qreal plusSide = design::Symbols::boxSide(13);
    const QRectF plus(kFieldLeading, (height() - plusSide) / 2, plusSide, plusSide);
    design::Symbols::paint(painter, plus, u"plus"_s, toQColor(Theme::flame()), 13, FontWeight::medium);

    const QFontMetricsF metrics(promptFont());
    const qreal left = plus.right() + kPlusGap;
    // The button takes what the image button leaves, 4 apart.
    const qreal room = std::max<qreal>(0, m_image->x() - 4 - left);
    painter.setFont(promptFont());
    painter.setPen(toQColor(Theme::text3()));
    painter.drawText(QRectF(left, 0, room, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(u"Type, paste or drop a screenshot"_s, Qt::ElideRight, room));
}

void QuickAddField::keyPressEvent(QKeyEvent* event) {
    if (!design::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------

SyncRow::SyncRow(QWidget* parent) : QAbstractButton(parent), m_spin(new QVariantAnimation(this)) {
    m_spin->setStartValue(0.0);
    m_spin->setEndValue(180.0);
    m_spin->setDuration(kSpinMs);
    m_spin->setLoopCount(-1);
    connect(m_spin, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_turn = value.toReal();
        update();
    });
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::capsule());
    setToolTip(u"Refresh now ("_s + commandShortcut(u"R"_s) + u")"_s);
}

void SyncRow::setState(bool isRefreshing, std::optional<core::Date> lastSynced) {
    m_refreshing = isRefreshing;
    setText(PopoverFooterView::syncText(isRefreshing, lastSynced));
    setAccessibleName(text() + u". Refresh now"_s);
    updateSpin();
    updateGeometry();
    update();
}

void SyncRow::updateSpin() {
    if (m_refreshing && isVisible() && !Theme::appearance().reduceMotion) {
        if (m_spin->state() != QAbstractAnimation::Running)
            m_spin->start();
        return;
    }
    m_spin->stop();
    m_turn = 0;
}

void SyncRow::showEvent(QShowEvent* event) {
    QAbstractButton::showEvent(event);
    updateSpin();
}

void SyncRow::hideEvent(QHideEvent* event) {
    m_spin->stop();
    m_turn = 0;
    QAbstractButton::hideEvent(event);
}

QSize SyncRow::sizeHint() const {
    const QFontMetricsF metrics(syncFont());
    return QSize(static_cast<int>(std::ceil(kSyncIcon + kSyncGap + metrics.horizontalAdvance(text()) + 1)),
                 static_cast<int>(std::ceil(std::max(kSyncIcon, metrics.height()))));
}

void SyncRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(0.6);
    const QRectF icon(0, (height() - kSyncIcon) / 2, kSyncIcon, kSyncIcon);
    design::Shape::circle().fill(painter, icon, toQColor(Theme::fillSoft()));
    painter.save();
    if (m_turn != 0) {
        painter.translate(icon.center());
        painter.rotate(m_turn);
        painter.translate(-icon.center());
    }
    design::Symbols::paint(painter, icon, u"arrow.triangle.2.circlepath"_s, toQColor(Theme::text2()), 9,
                           FontWeight::bold);
    painter.restore();
    painter.setFont(syncFont());
    painter.setPen(toQColor(Theme::text3()));
    const qreal left = icon.right() + kSyncGap;
    painter.drawText(QRectF(left, 0, width() - left, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

void SyncRow::keyPressEvent(QKeyEvent* event) {
    if (!design::clickOnReturn(this, event))
        QAbstractButton::keyPressEvent(event);
}

}  // namespace popover
