#include "settings/SettingsWindow.h"

#include "design/widgets/FocusRing.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "settings/SettingsTabModel.h"
#include "settings/SettingsTabNames.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace settings {

namespace {

constexpr qreal kPlateRadius = 10;
constexpr qreal kVerticalPadding = 8;
constexpr qreal kSymbolGap = 4;

QFont titleFont(bool selected) {
    return design::ODFont::body(SettingsTabButton::kTitleSize,
                                selected ? design::FontWeight::semibold : design::FontWeight::medium);
}

}  // namespace

SettingsTabButton::SettingsTabButton(app::SettingsTab tab, QWidget* parent) : QAbstractButton(parent), m_tab(tab) {
    setCheckable(true);
    // A click gives the tab the focus too, so that the focus never stays behind
    // on a tab the user has left.
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    design::setAccessibleRole(this, QAccessible::PageTab);
    setAccessibleName(tabTitle(tab));
    design::followAppearance(this);
    design::odFocusRing(this, design::Shape::rounded(kPlateRadius));
}

QSize SettingsTabButton::sizeHint() const {
    const qreal height = kVerticalPadding + design::Symbols::boxSide(kSymbolSize) + kSymbolGap +
                         QFontMetricsF(titleFont(true)).height() + kVerticalPadding;
    return QSize(kWidth, static_cast<int>(std::ceil(height)));
}

void SettingsTabButton::paint(QPainter& painter, const QRectF& rect, app::SettingsTab tab, bool selected) {
    if (selected)
        design::Shape::rounded(kPlateRadius).fill(painter, rect, design::toQColor(design::Theme::menuItem()));
    const qreal side = design::Symbols::boxSide(kSymbolSize);
    const QRectF symbol(rect.center().x() - side / 2, rect.top() + kVerticalPadding, side, side);
    design::Symbols::paint(painter, symbol, tabSymbol(tab),
                           selected ? design::toQColor(design::Theme::flame()) : design::toQColor(design::Theme::text2()),
                           kSymbolSize, design::FontWeight::regular);
    const QFont font = titleFont(selected);
    const QFontMetricsF metrics(font);
    const QRectF title(rect.left(), symbol.bottom() + kSymbolGap, rect.width(), metrics.height());
    painter.save();
    painter.setFont(font);
    painter.setPen(design::toQColor(selected ? design::Theme::text() : design::Theme::text2()));
    painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     metrics.elidedText(tabTitle(tab), Qt::ElideRight, rect.width()));
    painter.restore();
}

void SettingsTabButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, QRectF(rect()), m_tab, isSelected());
}

void SettingsTabButton::keyPressEvent(QKeyEvent* event) {
    if (design::clickOnReturn(this, event))
        return;
    QAbstractButton::keyPressEvent(event);
}

SettingsTabBar::SettingsTabBar(SettingsTabModel& tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding);
    row->setSpacing(kSpacing);
    row->addStretch();
    for (const app::SettingsTab tab : app::kAllSettingsTabs) {
        auto* button = new SettingsTabButton(tab, this);
        connect(button, &QAbstractButton::clicked, this, [this, tab] { m_tabs.setSelection(tab); });
        row->addWidget(button);
        m_buttons << button;
    }
    row->addStretch();
    design::setAccessibleRole(this, QAccessible::PageTabList);
    design::followAppearance(this);
    showSelection();
    connect(&m_tabs, &SettingsTabModel::selectionChanged, this, &SettingsTabBar::showSelection);
}

SettingsTabButton* SettingsTabBar::button(app::SettingsTab tab) const {
    for (SettingsTabButton* button : m_buttons)
        if (button->tab() == tab)
            return button;
    return nullptr;
}

void SettingsTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design::toQColor(design::Theme::surfaceSunk()));
}

void SettingsTabBar::showSelection() {
    SettingsTabButton* selected = nullptr;
    for (SettingsTabButton* button : m_buttons) {
        button->setSelected(button->tab() == m_tabs.selection());
        if (button->isSelected())
            selected = button;
    }
    // The focus goes with the selection while it is in the tab bar (the window
    // hands its first focus there), quietly: a ring shows only where keys took it.
    QWidget* focus = window()->focusWidget();
    if (selected != nullptr && (focus == nullptr || m_buttons.contains(qobject_cast<SettingsTabButton*>(focus))))
        selected->setFocus(Qt::ActiveWindowFocusReason);
}

namespace {

// The area under the hairline, in the surface colour, where the tab's view stands.
class TabPage : public QWidget {
public:
    explicit TabPage(QWidget* parent) : QWidget(parent) { design::followAppearance(this); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), design::toQColor(design::Theme::surface()));
    }
};

}  // namespace

SettingsWindow::SettingsWindow(const SettingsTabContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      m_context(context),
      m_tabBar(new SettingsTabBar(context.tabs, this)),
      m_page(new TabPage(this)),
      m_pageLayout(new QVBoxLayout(m_page)) {
    setFixedSize(kSize);
    design::followAppearance(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_tabBar);
    column->addWidget(new design::Hairline(Qt::Horizontal, this));
    column->addWidget(m_page, 1);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    m_pageLayout->setSpacing(0);
    showTab(context.tabs.selection());
    connect(&context.tabs, &SettingsTabModel::selectionChanged, this, &SettingsWindow::showTab);
}

void SettingsWindow::showTab(app::SettingsTab tab) {
    setWindowTitle(tabTitle(tab));
    // Choosing the tab already shown keeps its view as it is.
    if (m_shownTab == tab)
        return;
    m_shownTab = tab;
    // Later, not at once: the tab may be switched from inside the old view's own handler.
    if (m_tabView) {
        m_tabView->hide();
        m_tabView->deleteLater();
    }
    m_tabView = makeTabView(tab, m_context);
    if (m_tabView) {
        m_tabView->setParent(m_page);
        // A tab sits at the top of the page, unless it grows to fill it (a list that scrolls).
        const bool fills = m_tabView->sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag;
        m_pageLayout->addWidget(m_tabView, 0, fills ? Qt::Alignment() : Qt::AlignTop);
        m_tabView->show();
    }
}

void SettingsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design::toQColor(design::Theme::surfaceSunk()));
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace settings
