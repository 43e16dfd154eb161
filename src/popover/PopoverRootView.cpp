#include "popover/PopoverRootView.h"

#include "app/AppEnvironment.h"
#include "app/AppState.h"
#include "app/Updater.h"
#include "design/CappedHeightView.h"
#include "design/KitWidget.h"
#include "design/ODFont.h"
#include "design/Painting.h"
#include "design/TextLine.h"
#include "design/Theme.h"
#include "popover/PopoverMainView.h"

#include <QPainter>
#include <QVBoxLayout>

namespace popover {

namespace {

constexpr int kWidth = 364;
constexpr double kCornerRadius = 16;
constexpr int kPadding = 20;

struct ScreenName {
    QString title;
    QString subtitle;
};

ScreenName screenName(const app::PopoverRoute& route) {
    using Kind = app::PopoverRoute::Kind;
    switch (route.kind()) {
        case Kind::main: return {};
        case Kind::quickCreate:
            return {QStringLiteral("Quick add"), QStringLiteral("A line of plain English becomes an event")};
        case Kind::eventEdit: return {QStringLiteral("Edit event"), QStringLiteral("The event editor")};
        case Kind::eventCreate: return {QStringLiteral("New event"), QStringLiteral("The event editor")};
        case Kind::imageImport:
            return {QStringLiteral("From an image"), QStringLiteral("An event or reminder read from an image")};
        case Kind::onboarding:
            return {QStringLiteral("Calendar access"), QStringLiteral("Asks to use your calendars and reminders")};
        case Kind::accessDenied:
            return {QStringLiteral("No calendar access"), QStringLiteral("How to allow access to your calendars")};
    }
    return {};
}

}  // namespace

PopoverRootView::PopoverRootView(app::AppEnvironment& environment, QWidget* parent)
    : QWidget(parent),
      m_env(environment),
      m_content(new QWidget(this)),
      m_main(new PopoverMainView(m_env, app::Updater::shared(), m_content)),
      m_names(new QWidget(m_content)) {
    setObjectName(QStringLiteral("PopoverRootView"));
    design::followAppearance(this);

    m_title = new design::TextLine(QString(), design::ODFont::display(22), design::Theme::text(), m_names);
    m_subtitle = new design::TextLine(QString(), design::ODFont::body(13), design::Theme::text2(), m_names);
    auto* namesLayout = new QVBoxLayout(m_names);
    namesLayout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    namesLayout->setSpacing(6);
    namesLayout->addWidget(m_title);
    namesLayout->addWidget(m_subtitle);

    auto* layout = new QVBoxLayout(m_content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_main);
    layout->addWidget(m_names);

    connect(&m_env.appState, &app::AppState::routeChanged, this, &PopoverRootView::showRoute);
    showRoute(m_env.appState.route());
}

void PopoverRootView::showRoute(const app::PopoverRoute& route) {
    const ScreenName name = screenName(route);
    m_title->setText(name.title);
    m_subtitle->setText(name.subtitle);
    const bool isMain = route.kind() == app::PopoverRoute::Kind::main;
    m_main->setVisible(isMain);
    m_names->setVisible(!isMain);
    fitContent();
}

void PopoverRootView::fitContent() {
    m_content->layout()->activate();
    // Asked of the screens themselves: the layout keeps what they measured
    // while the panel was closed, when their changes reached no layout.
    const int height = design::wantedHeight(*m_main, kWidth) + design::wantedHeight(*m_names, kWidth);
    m_content->setGeometry(0, 0, kWidth, height);
    m_env.appState.reportContentHeight(height);
}

bool PopoverRootView::event(QEvent* event) {
    // The screen asks for a new size: another day's agenda, a month of six weeks.
    // On show too: what changed while the panel was closed (the reload that
    // opens it) reached no layout, and the panel is to open at its true height.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        fitContent();
    return QWidget::event(event);
}

void PopoverRootView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const design::Shape surface = design::Shape::rounded(kCornerRadius);
    surface.fill(painter, rect(), design::toQColor(design::Theme::surface()));
    surface.strokeBorder(painter, rect(), design::toQColor(design::Theme::line()), 1);
}

}  // namespace popover
