#include "settings/ShortcutsSettingsView.h"

#include "design/widgets/Hairline.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/SectionHeader.h"
#include "design/widgets/SettingsRow.h"
#include "design/widgets/TextLine.h"
#include "platform/keys/KeyTable.h"
#include "settings/HotKeyRecorder.h"
#include "settings/HotKeyRecorderModel.h"
#include "state/PlatformWords.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <utility>

namespace settings {

namespace {

constexpr int kSpacing = 10;
// Between a shortcut field and the line under it.
constexpr int kMessageGap = 3;
constexpr QMargins kMargins{28, 16, 28, 0};
constexpr int kBelowHeader = 2;
constexpr int kAroundHairline = 6;
constexpr int kColumnGap = 28;
constexpr int kLineSpacing = 8;
constexpr int kKeycapSpacing = 4;
constexpr int kLabelToKeys = 8;

struct PopoverKey {
    QString label;
    QStringList keys;
};

QStringList command(const QString& key) {
    return app::words::shortcutParts(platform::keys::carbon::kCommand, key);
}

// One listed key: the label, then its keycaps at the column's trailing edge.
QWidget* cheat(const PopoverKey& line) {
    auto* widget = new QWidget;
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kKeycapSpacing);
    row->addWidget(new design::TextLine(line.label, design::ODFont::body(12.5), design::Theme::text2()), 0,
                   Qt::AlignVCenter);
    row->addSpacing(kLabelToKeys - kKeycapSpacing);
    row->addStretch(1);
    for (const QString& key : line.keys)
        row->addWidget(new design::Keycap(key), 0, Qt::AlignVCenter);
    return widget;
}

QWidget* column(const std::vector<PopoverKey>& lines) {
    auto* widget = new QWidget;
    auto* stack = new QVBoxLayout(widget);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(kLineSpacing);
    for (const PopoverKey& line : lines)
        stack->addWidget(cheat(line));
    return widget;
}

void addHeader(QVBoxLayout* layout, const QString& title) {
    layout->addWidget(new design::SectionHeader(title));
    layout->addSpacing(kBelowHeader);
}

}  // namespace

ShortcutsSettingsView::ShortcutsSettingsView(app::AppSettings& settings, app::HotKeyManager& hotKeys,
                                             SettingsTabModel& tabs, QWidget* parent)
    : QWidget(parent) {
    design::setAccessibleRole(this, QAccessible::Pane);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargins);
    layout->setSpacing(kSpacing);

    addHeader(layout, QStringLiteral("Global \u2013 work in any app"));
    const std::pair<app::HotKeyAction, std::optional<QString>> rows[] = {
        {app::HotKeyAction::openPopover, std::nullopt},
        {app::HotKeyAction::joinMeeting, QStringLiteral("Opens the link of the next event")},
        {app::HotKeyAction::quickCreate, std::nullopt},
    };
    for (const auto& [action, detail] : rows) {
        auto* recorder = new HotKeyRecorder(new HotKeyRecorderModel(action, settings, hotKeys, tabs));
        m_recorders.push_back(recorder);
        // The message stands under the field, outside the row, so that the
        // label stays level with the field.
        auto* block = new QVBoxLayout;
        block->setSpacing(kMessageGap);
        block->addWidget(new design::SettingsRow(hotKeyActionLabel(action), detail, recorder));
        auto* message = new QHBoxLayout;
        message->setContentsMargins(design::SettingsRow::kTextColumnWidth + design::SettingsRow::kColumnGap, 0, 0, 0);
        message->addWidget(recorder->messageLine());
        message->addStretch(1);
        block->addLayout(message);
        layout->addLayout(block);
    }

    layout->addSpacing(kAroundHairline);
    layout->addWidget(new design::Hairline);
    layout->addSpacing(kAroundHairline);

    addHeader(layout, QStringLiteral("In the popover"));
    auto* columns = new QHBoxLayout;
    columns->setSpacing(kColumnGap);
    columns->addWidget(column({{QStringLiteral("Quick add"), command(QStringLiteral("N"))},
                               {QStringLiteral("Today"), {QStringLiteral("T")}},
                               {QStringLiteral("Prev / next month"), {QStringLiteral("\u2190"), QStringLiteral("\u2192")}}}),
                       0, Qt::AlignTop);
    columns->addWidget(column({{QStringLiteral("Settings"), command(QStringLiteral(","))},
                               {QStringLiteral("Refresh"), command(QStringLiteral("R"))},
                               {QStringLiteral("Close"), {QStringLiteral("esc")}}}),
                       0, Qt::AlignTop);
    columns->addStretch(1);
    layout->addLayout(columns);
    layout->addStretch(1);
}

}  // namespace settings
