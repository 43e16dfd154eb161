#include "popover/AccessDeniedView.h"

#include "design/values/SymbolTable.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/SunkenFooter.h"
#include "design/widgets/Symbols.h"
#include "design/widgets/TextLine.h"
#include "platform/workspace/Workspace.h"
#include "popover/AccessFlows.h"
#include "popover/AccessScreenParts.h"
#include "state/AppEnvironment.h"
#include "state/PlatformWords.h"
#include "store/CalendarStore.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace popover {

using design::FontWeight;
using design::Theme;

namespace {

constexpr int kTile = 52;
constexpr qreal kTileRadius = 14;
constexpr int kBadge = 22;
constexpr int kBadgeShift = 9;
constexpr int kStepNumber = 18;

// The calendar tile with the key badge over its top right corner.
class DeniedIcon final : public QWidget {
public:
    explicit DeniedIcon(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedSize(kTile + kBadgeShift, kTile + kBadgeShift);
        design::setAccessibleRole(this, QAccessible::NoRole);
        design::followAppearance(this);
    }

    static QPoint frameOrigin() { return QPoint(0, kBadgeShift); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(frameOrigin(), QSizeF(kTile, kTile));
        design::Shape::rounded(kTileRadius).fill(painter, tile, design::toQColor(Theme::fillSoft()));
        design::Symbols::paint(painter, tile, AccessDeniedView::tileSymbol(), design::toQColor(Theme::text2()), 22,
                               FontWeight::medium);
        const QRectF badge(tile.right() - kBadge + kBadgeShift, tile.top() - kBadgeShift, kBadge, kBadge);
        design::Shape::circle().fill(painter, badge, design::toQColor(Theme::amber()));
        design::Symbols::paint(painter, badge, u"key.fill"_s, design::toQColor(Theme::ink()), 9, FontWeight::bold);
    }
};

// A step's number on its soft accent disc.
class StepNumber final : public QWidget {
public:
    StepNumber(int number, QWidget* parent) : QWidget(parent), m_text(QLocale().toString(number)) {
        setFixedSize(kStepNumber, kStepNumber);
        design::setAccessibleRole(this, QAccessible::NoRole);
        design::followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        design::Shape::circle().fill(painter, rect(), design::toQColor(Theme::flameSoft()));
        painter.setFont(design::ODFont::body(11, FontWeight::bold));
        painter.setPen(design::toQColor(Theme::flame()));
        painter.drawText(rect(), Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
};

// The card of numbered steps.
class StepsCard final : public QWidget {
public:
    StepsCard(const QStringList& steps, QWidget* parent) : QWidget(parent) {
        design::followAppearance(this);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(14, 14, 14, 14);
        layout->setSpacing(10);
        int number = 0;
        for (const QString& text : steps) {
            auto* step = new QWidget(this);
            design::setAccessibleRole(step, QAccessible::StaticText);
            step->setAccessibleName(QLocale().toString(++number) + u". "_s + text);
            auto* row = new QHBoxLayout(step);
            row->setContentsMargins(0, 0, 0, 0);
            row->setSpacing(10);
            row->addWidget(new StepNumber(number, step));
            row->addWidget(new design::TextLine(text, design::ODFont::body(13), Theme::text(), step), 1);
            layout->addWidget(step);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const design::Shape card = design::Shape::rounded(12);
        card.fill(painter, rect(), design::toQColor(Theme::card()));
        card.strokeBorder(painter, rect(), design::toQColor(Theme::line()), 1);
    }
};

}  // namespace

AccessDeniedView::AccessDeniedView(app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_recheck(new AccessRecheck(environment.store, environment.appState, this)),
      m_header(new AccessScreenHeader(new DeniedIcon, DeniedIcon::frameOrigin(), kTile,
                                      u"I can’t see your calendars"_s, 22, normalMessage(), this)),
      m_steps{u"Open "_s + app::words::privacySettings(), app::words::privacyCalendarsPath(), u"Turn on "_s + app::words::privacySwitch()},
      m_checkAgain(new design::ODButton(u"Check again"_s, std::nullopt, design::ODButtonKind::ghost,
                                        design::ODButtonSize::medium)),
      m_openSettings(new design::ODButton(u"Open "_s + app::words::privacySettings(), u"gearshape"_s,
                                          design::ODButtonKind::primary, design::ODButtonSize::medium)) {
    setObjectName(u"AccessDeniedView"_s);

    auto* card = new QVBoxLayout;
    card->setContentsMargins(12, 0, 12, 14);
    card->addWidget(new StepsCard(m_steps, this));

    auto* footer = new design::SunkenFooter(12, 12, this);
    m_checkAgain->setParent(footer);
    m_openSettings->setParent(footer);
    footer->row()->addWidget(m_checkAgain);
    footer->row()->addStretch(1);
    footer->row()->addWidget(m_openSettings);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addLayout(card);
    layout->addWidget(footer);

    m_checkAgain->setToolTip(u"Check calendar access again"_s);
    m_openSettings->setToolTip(m_openSettings->title());
    connect(m_checkAgain, &QAbstractButton::clicked, this, [this] { m_recheck->recheck(true); });
    connect(m_openSettings, &QAbstractButton::clicked, this,
            [this] { m_env.workspace.open(platform::privacySettingsURL(platform::EntityType::Event)); });
    connect(m_recheck, &AccessRecheck::stillOffChanged, this, &AccessDeniedView::showMessage);
    // Coming back from the settings (or from anywhere) checks again by itself. Our privacy
    // settings window is the application's own, so switching access back on there makes
    // nothing active: the store reading the statuses anew is checked as well. Only while
    // the screen shows: one on its way out (a new route replaced it) decides nothing.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && isVisible())
            m_recheck->recheck(false);
    });
    connect(&m_env.store, &store::CalendarStore::eventAccessChanged, this, [this] {
        if (isVisible())
            m_recheck->follow();
    });
}

AccessDeniedView::~AccessDeniedView() = default;

QString AccessDeniedView::normalMessage() {
    return u"Calendar access is turned off for Orbitday. Flip it back on and I’ll fill this space right away."_s;
}

QString AccessDeniedView::stillOffMessage() {
    return u"Still off. Flip the "_s + app::words::privacySwitch() + u" switch, then check again."_s;
}

QString AccessDeniedView::tileSymbol() {
    static const QString symbol = design::SymbolTable::hasSymbol(u"calendar.badge.exclamationmark"_s)
                                      ? u"calendar.badge.exclamationmark"_s
                                      : u"calendar"_s;
    return symbol;
}

QString AccessDeniedView::message() const {
    return m_header->message();
}

bool AccessDeniedView::isStillOff() const {
    return m_recheck->isStillOff();
}

void AccessDeniedView::showMessage(bool stillOff) {
    if (stillOff)
        m_header->setMessage(stillOffMessage(), Theme::flame());
    else
        m_header->setMessage(normalMessage(), Theme::text2());
}

}  // namespace popover
