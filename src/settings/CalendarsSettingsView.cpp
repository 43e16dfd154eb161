#include "settings/CalendarsSettingsView.h"

#include "design/widgets/CalendarMarks.h"
#include "design/widgets/CappedHeightView.h"
#include "design/widgets/Hairline.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SettingsRow.h"
#include "design/widgets/SymbolView.h"
#include "design/widgets/TextBlock.h"
#include "design/widgets/TextLine.h"
#include "state/PlatformWords.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace settings {

namespace {

constexpr int kSpacing = 10;
constexpr QMargins kMargins{28, 16, 16, 16};
constexpr int kPickerWidth = 190;
constexpr int kListTrailing = 12;
constexpr int kListVertical = 2;
constexpr int kSectionSpacing = 6;
constexpr int kHeaderInset = 4;
constexpr qreal kCardCornerRadius = 12;
constexpr QMargins kRowPadding{12, 9, 12, 9};
constexpr int kRowSpacing = 12;

// A rounded panel behind its children: the grouped list's card, or the soft
// panel that stands in for an empty list.
class Panel final : public QWidget {
public:
    Panel(design::Tint fill, bool bordered, QWidget* parent = nullptr)
        : QWidget(parent), m_fill(fill), m_bordered(bordered) {
        design::followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const auto shape = design::Shape::rounded(kCardCornerRadius);
        shape.fill(painter, QRectF(rect()), m_fill.resolve());
        if (m_bordered)
            shape.strokeBorder(painter, QRectF(rect()), design::toQColor(design::Theme::line()), 1);
    }

private:
    design::Tint m_fill;
    bool m_bordered;
};

QWidget* emptyPanel(const QString& text) {
    auto* holder = new QWidget;
    if (text.isEmpty())
        return holder;
    auto* outer = new QHBoxLayout(holder);
    outer->setContentsMargins(0, 0, kListTrailing, 0);
    auto* panel = new Panel(design::Theme::fillSoft(), false);
    auto* stack = new QVBoxLayout(panel);
    stack->setSpacing(6);
    stack->addStretch(1);
    stack->addWidget(new design::SymbolView(QStringLiteral("calendar.badge.exclamationmark"), 22,
                                            design::FontWeight::regular, design::Theme::text3()),
                     0, Qt::AlignHCenter);
    stack->addWidget(new design::TextLine(text, design::ODFont::body(12, design::FontWeight::medium),
                                          design::Theme::text2()),
                     0, Qt::AlignHCenter);
    stack->addStretch(1);
    outer->addWidget(panel);
    return holder;
}

QWidget* footer() {
    auto* widget = new QWidget;
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(kHeaderInset, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(new design::SymbolView(QStringLiteral("info.circle"), 11, design::FontWeight::regular,
                                          design::Theme::text2()),
                   0, Qt::AlignTop);
    row->addWidget(new design::TextBlock(CalendarsTabModel::footerText(), design::ODFont::body(11.5),
                                         design::Theme::text2()),
                   1);
    return widget;
}

std::vector<design::ODMenuItem<QString>> pickerItems(const std::vector<model::ODCalendar>& writable) {
    std::vector<design::ODMenuItem<QString>> items;
    for (const model::ODCalendar& calendar : writable)
        items.push_back({calendar.title, calendar.sourceTitle, calendar.id, calendar.color, false, true});
    return items;
}

}  // namespace

CalendarsSettingsView::CalendarsSettingsView(CalendarsTabModel* model, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_picker(new design::ODMenuButton<QString>({}, QString(), kPickerWidth, QString(),
                                                 false, [model](const QString& id) { model->chooseDefault(id); })),
      m_layout(new QVBoxLayout(this)) {
    m_model->setParent(this);
    design::setAccessibleRole(this, QAccessible::Pane);
    // The list takes the height the window has, with the footer at its foot.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_layout->setContentsMargins(kMargins);
    m_layout->setSpacing(kSpacing);
    m_layout->addWidget(
        new design::SettingsRow(QStringLiteral("Default for new events"), QStringLiteral("Used by Quick add"), m_picker));
    m_layout->addWidget(footer());
    connect(m_model, &CalendarsTabModel::changed, this, &CalendarsSettingsView::refresh);
    refresh();
}

design::ODSwitch* CalendarsSettingsView::switchFor(const QString& calendarID) const {
    const auto found = m_rows.constFind(calendarID);
    return found == m_rows.constEnd() ? nullptr : found->toggle;
}

void CalendarsSettingsView::refresh() {
    const std::vector<model::ODCalendar> writable = m_model->writable();
    m_picker->setItems(pickerItems(writable));
    m_picker->setSelection(m_model->resolvedDefault().value_or(QString()));
    m_picker->setEnabled(!writable.empty());
    // Nothing is known to be missing while the calendar files are first read.
    m_picker->setPlaceholder(m_model->isReading() ? QString() : QStringLiteral("No writable calendar"));

    std::vector<CalendarGroup> groups = m_model->groups();
    const bool showsList = !groups.empty();
    // A switch flipped in the list changes only states and counts: the rows stay,
    // and so does the place the list is scrolled to.
    if (m_body == nullptr || showsList != m_showsList || groups != m_shownGroups || !showsList)
        rebuildList(groups);
    m_shownGroups = std::move(groups);
    m_showsList = showsList;
    updateRows();
}

void CalendarsSettingsView::rebuildList(const std::vector<CalendarGroup>& groups) {
    if (m_body != nullptr) {
        // The switch that asked for this may still be inside its own click.
        m_body->hide();
        m_body->deleteLater();
    }
    m_rows.clear();
    m_scroll = nullptr;
    if (groups.empty()) {
        m_body = emptyPanel(m_model->emptyText());
    } else {
        m_scroll = new QScrollArea;
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setAutoFillBackground(false);
        m_scroll->viewport()->setAutoFillBackground(false);
        auto* content = new QWidget;
        content->setAutoFillBackground(false);
        auto* stack = new QVBoxLayout(content);
        stack->setContentsMargins(0, kListVertical, kListTrailing, kListVertical);
        stack->setSpacing(kSpacing);
        for (const CalendarGroup& group : groups)
            stack->addWidget(section(group));
        stack->addStretch(1);
        m_scroll->setWidget(content);
        // The list lies on the tab's own background.
        content->setAutoFillBackground(false);
        design::useKitScrollBar(m_scroll->verticalScrollBar());
        m_body = m_scroll;
    }
    m_layout->insertWidget(1, m_body, 1);
}

QWidget* CalendarsSettingsView::section(const CalendarGroup& group) {
    auto* widget = new QWidget;
    auto* stack = new QVBoxLayout(widget);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(kSectionSpacing);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(kHeaderInset, 0, 0, 0);
    header->setSpacing(6);
    header->addWidget(new design::SymbolView(accountSymbol(group.source), 10, design::FontWeight::semibold,
                                             design::Theme::text2()));
    auto* name = new design::TextLine(group.source.toUpper(), design::ODFont::body(10.5, design::FontWeight::bold),
                                      design::Theme::text2());
    name->setTracking(0.8);
    header->addWidget(name, 1);
    stack->addLayout(header);

    auto* card = new Panel(design::Theme::card(), true);
    auto* rows = new QVBoxLayout(card);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    for (size_t i = 0; i < group.calendars.size(); ++i) {
        if (i > 0)
            rows->addWidget(new design::Hairline);
        rows->addWidget(row(group.calendars[i]));
    }
    stack->addWidget(card);
    return widget;
}

QWidget* CalendarsSettingsView::row(const model::ODCalendar& calendar) {
    auto* widget = new QWidget;
    auto* line = new QHBoxLayout(widget);
    line->setContentsMargins(kRowPadding);
    line->setSpacing(kRowSpacing);
    auto* pill = new design::CalendarPill(calendar.color, 12, 6);
    pill->setToolTip(design::plainToolTip(QStringLiteral("Colours follow ") + app::words::yourCalendarApp()));
    line->addWidget(pill, 0, Qt::AlignVCenter);
    auto* title = new design::TextLine(calendar.title, design::ODFont::body(13, design::FontWeight::medium),
                                       design::Theme::text());
    line->addWidget(title, 1);
    auto* count = new design::TextLine(QString(), design::ODFont::body(11), design::Theme::text3());
    line->addWidget(count, 0, Qt::AlignVCenter);
    auto* toggle = new design::ODSwitch(true);
    toggle->setAccessibleName(calendar.title);
    line->addWidget(toggle, 0, Qt::AlignVCenter);
    const QString id = calendar.id;
    connect(toggle, &design::ODSwitch::clicked, m_model, [model = m_model, id](bool on) { model->setOn(id, on); });
    m_rows.insert(calendar.id, Row{toggle, title, count});
    return widget;
}

void CalendarsSettingsView::updateRows() {
    const QHash<QString, int> upcoming = m_model->upcoming();
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        const bool on = m_model->isOn(it.key());
        it->toggle->setOn(on);
        it->title->setColor(on ? design::Theme::text() : design::Theme::text3());
        const int count = upcoming.value(it.key());
        it->count->setText(count > 0 ? QStringLiteral("%1 upcoming").arg(count) : QString());
        it->count->setVisible(count > 0);
    }
}

}  // namespace settings
