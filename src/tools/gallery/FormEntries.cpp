#include "FormEntries.h"

#include "GalleryParts.h"

#include "design/widgets/Avatar.h"
#include "design/widgets/CalendarChip.h"
#include "design/widgets/FieldChoiceButton.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FlowLayout.h"
#include "design/widgets/FormIconTile.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/KitWidget.h"
#include "design/widgets/LinkButton.h"
#include "design/widgets/ODButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/ODSegmented.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/PopupMenu.h"
#include "design/widgets/SettingsNote.h"
#include "design/widgets/SettingsRow.h"
#include "design/widgets/SymbolButton.h"
#include "design/widgets/TextField.h"
#include "design/widgets/TextLine.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace gallery::forms {

namespace {

using namespace design;

// Captioned cells in a row, each control over its caption.
QWidget* captionedRow(const QList<std::pair<QString, QWidget*>>& cells, int spacing = 20) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(spacing);
    grid->setVerticalSpacing(6);
    for (int c = 0; c < cells.size(); ++c) {
        grid->addWidget(cells[c].second, 0, c, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(caption(cells[c].first), 1, c, Qt::AlignLeft);
    }
    grid->setColumnStretch(static_cast<int>(cells.size()), 1);
    return page;
}

// A kit text field, padded for the field look.
QLineEdit* textField(const QString& text, const QString& placeholder) {
    auto* field = new TextField(ODFont::nsBody(13), placeholder);
    field->setText(text);
    field->setTextMargins(10, 6, 10, 6);
    field->setFixedWidth(190);
    return field;
}

model::ODAttendee person(const QString& name, model::ParticipantStatus status = model::ParticipantStatus::accepted) {
    model::ODAttendee attendee;
    attendee.name = name;
    attendee.status = status;
    return attendee;
}

// A menu as it draws while open, under what opened it: an open menu is a window
// of its own and cannot be shown inside this one, so its picture is.
class OpenMenu : public QWidget {
public:
    OpenMenu(std::unique_ptr<KitMenu> menu, int highlighted) : m_menu(std::move(menu)) {
        m_menu->ensurePolished();
        m_menu->resize(m_menu->sizeHint());
        const QList<QAction*> actions = m_menu->actions();
        if (highlighted >= 0 && highlighted < actions.size())
            m_menu->setActiveAction(actions[highlighted]);
        setFixedSize(m_menu->size());
        followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(m_menu->size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(devicePixelRatio());
        image.fill(Qt::transparent);
        m_menu->render(&image);
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    }

private:
    std::unique_ptr<KitMenu> m_menu;
};

// The accent keycap belongs on accent buttons: a plate of that colour to show it on.
class AccentPlate : public QWidget {
public:
    explicit AccentPlate(QWidget* content) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(10, 6, 10, 6);
        layout->addWidget(content);
        followAppearance(this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Shape::capsule().fill(painter, QRectF(rect()), toQColor(Theme::primary()));
    }
};

enum class DateStyle { shortDate, medium, longDate, full, withTime, custom };

std::vector<ODMenuItem<DateStyle>> dateItems() {
    return {
        {QStringLiteral("12/03/24"), QStringLiteral("Short"), DateStyle::shortDate},
        {QStringLiteral("Tue 12 Mar"), QStringLiteral("Medium"), DateStyle::medium},
        {QStringLiteral("12 March 2024"), QStringLiteral("Long"), DateStyle::longDate},
        {QStringLiteral("Tuesday, 12 March"), QStringLiteral("Full"), DateStyle::full},
        {QStringLiteral("Tue 12 Mar 9:41"), QStringLiteral("With time"), DateStyle::withTime},
        {QStringLiteral("Custom…"), QStringLiteral("Pattern"), DateStyle::custom, std::nullopt, true},
    };
}

std::vector<ODMenuItem<QString>> calendarItems() {
    return {
        {QStringLiteral("Work"), std::nullopt, QStringLiteral("work"), Theme::sky()},
        {QStringLiteral("Home & family"), std::nullopt, QStringLiteral("home"), Theme::green()},
        {QStringLiteral("Birthdays"), QStringLiteral("Read only"), QStringLiteral("birthdays"), Theme::amber(), false,
         false},
        {QStringLiteral("Running club, Tuesdays and Thursdays"), std::nullopt, QStringLiteral("run"), Theme::flame(),
         true},
    };
}

}  // namespace

QWidget* switches() {
    auto* offDisabled = new ODSwitch(false);
    offDisabled->setEnabled(false);
    auto* onDisabled = new ODSwitch(true);
    onDisabled->setEnabled(false);
    auto* focused = new ODSwitch(true);
    new FocusWhenShown(focused);
    return captionedRow({{QStringLiteral("off"), new ODSwitch(false)},
                         {QStringLiteral("on"), new ODSwitch(true)},
                         {QStringLiteral("disabled"), offDisabled},
                         {QStringLiteral("disabled on"), onDisabled},
                         {QStringLiteral("focused"), focused},
                         {QStringLiteral("mini"), new ODSwitch(true, ODSwitch::Size::mini)}});
}

QWidget* segmented() {
    enum class Mode { icon, date, dateAndNext };
    enum class Look { system, light, dark };
    const std::vector<ODSegmentOption<Mode>> modes{
        {Mode::icon, QStringLiteral("Icon"), QStringLiteral("calendar")},
        {Mode::date, QStringLiteral("Date"), QStringLiteral("textformat")},
        {Mode::dateAndNext, QStringLiteral("Date + next"), QStringLiteral("sparkles")},
    };
    const std::vector<ODSegmentOption<Look>> looks{
        {Look::system, QStringLiteral("System"), QStringLiteral("display")},
        {Look::light, QStringLiteral("Light"), QStringLiteral("sun.max")},
        {Look::dark, QStringLiteral("Dark"), QStringLiteral("moon")},
    };
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 8);
    auto* sparkles = new ODSegmented<Mode>(modes, Mode::dateAndNext);
    rows->addWidget(captionedRow({{QStringLiteral("sparkles selected"), sparkles},
                                  {QStringLiteral("plain symbol selected"), new ODSegmented<Mode>(modes, Mode::icon)}}));
    auto* focusedLooks = new ODSegmented<Look>(looks, Look::system);
    new FocusWhenShown(focusedLooks->segments().at(1));
    const std::vector<ODSegmentOption<int>> titles{{1, QStringLiteral("Day")}, {7, QStringLiteral("Week")},
                                                    {30, QStringLiteral("Month")}};
    rows->addWidget(captionedRow({{QStringLiteral("second focused"), focusedLooks},
                                  {QStringLiteral("titles only"), new ODSegmented<int>(titles, 7)},
                                  {QStringLiteral("no match"), new ODSegmented<int>(titles, 2)},
                                  {QStringLiteral("no options"), new ODSegmented<int>({}, 0)}}));
    return page;
}

QWidget* fieldBackgrounds() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(6);
    const QList<std::tuple<QString, bool, bool>> states{{QStringLiteral("resting"), false, false},
                                                         {QStringLiteral("focused"), true, false},
                                                         {QStringLiteral("error"), false, true},
                                                         {QStringLiteral("focused and error"), true, true}};
    for (int i = 0; i < states.size(); ++i) {
        const auto& [name, focused, error] = states[i];
        QLineEdit* field = textField(error ? QStringLiteral("EEE d MMMM y'") : QStringLiteral("EEE d MMM"),
                                     QStringLiteral("Pattern"));
        grid->addWidget(fieldBackground(field, focused, error), (i / 2) * 2, i % 2);
        grid->addWidget(caption(name), (i / 2) * 2 + 1, i % 2);
    }
    QLineEdit* empty = textField(QString(), QStringLiteral("EEE d MMM"));
    grid->addWidget(fieldBackground(empty, false, false), 4, 0);
    grid->addWidget(caption(QStringLiteral("placeholder")), 5, 0);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* settingsRows() {
    enum class Look { system, light, dark };
    auto* page = new QWidget;
    page->setMinimumWidth(560);
    QVBoxLayout* rows = column(page, 10);
    rows->addWidget(new SettingsRow(QStringLiteral("Show week numbers"), std::nullopt, new ODSwitch(true)));
    rows->addWidget(new SettingsRow(QStringLiteral("Date format"), QStringLiteral("Tray + headers"),
                                    new ODMenuButton<DateStyle>(dateItems(), DateStyle::medium, 190,
                                                                QStringLiteral("Choose…"), false, {})));
    auto* lead = new ODMenuButton<int>({{QStringLiteral("5 min before"), std::nullopt, 300},
                                        {QStringLiteral("10 min before"), std::nullopt, 600}},
                                       600, 150, QStringLiteral("Choose…"), false, {});
    lead->setEnabled(false);
    rows->addWidget(new SettingsRow(QStringLiteral("Meeting countdown"), std::nullopt, {new ODSwitch(false), lead}));
    rows->addWidget(new SettingsRow(
        QStringLiteral("Appearance"), std::nullopt,
        new ODSegmented<Look>({{Look::system, QStringLiteral("System"), QStringLiteral("display")},
                               {Look::light, QStringLiteral("Light"), QStringLiteral("sun.max")},
                               {Look::dark, QStringLiteral("Dark"), QStringLiteral("moon")}},
                              Look::light)));
    rows->addWidget(new SettingsRow(QStringLiteral("Haptic feedback on hover"), QStringLiteral("Force Touch trackpads"),
                                    new ODSwitch(false)));
    rows->addWidget(new SettingsRow(
        QStringLiteral("Launch at login"),
        QStringLiteral("The login item could not be written: the autostart folder is read-only."),
        new ODSwitch(false)));
    rows->addWidget(new SettingsRow(QStringLiteral("A label much too long for the column wraps onto lines"),
                                    std::nullopt, new ODSwitch(true)));
    return page;
}

QWidget* settingsNotes() {
    auto* page = new QWidget;
    page->setFixedWidth(520);
    QVBoxLayout* rows = column(page, 10);
    rows->addWidget(new SettingsNote(QStringLiteral("checkmark.shield"),
                                     QStringLiteral("No account. No analytics. Your calendars never leave this "
                                                    "computer."),
                                     SettingsNote::Tone::good));
    rows->addWidget(new SettingsNote(QStringLiteral("info.circle"), QStringLiteral("Calendar access is off."),
                                     SettingsNote::Tone::neutral,
                                     new LinkButton(QStringLiteral("Open Privacy Settings"),
                                                    QStringLiteral("arrow.up.right"))));
    rows->addWidget(new SettingsNote(QStringLiteral("exclamationmark.triangle"),
                                     QStringLiteral("A hint long enough to need a second line wraps under itself, "
                                                    "the accessory staying at the right end."),
                                     SettingsNote::Tone::neutral, new LinkButton(QStringLiteral("Fix"))));
    return page;
}

QWidget* linkButtons() {
    auto* pressed = new LinkButton(QStringLiteral("Pressed"), QStringLiteral("arrow.up.right"));
    pressed->setDown(true);
    auto* disabled = new LinkButton(QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    auto* focused = new LinkButton(QStringLiteral("Focused"));
    new FocusWhenShown(focused);
    return captionedRow({{QStringLiteral("title"), new LinkButton(QStringLiteral("Reset to default"))},
                         {QStringLiteral("with symbol"),
                          new LinkButton(QStringLiteral("Open Privacy Settings"), QStringLiteral("arrow.up.right"))},
                         {QStringLiteral("pressed"), pressed},
                         {QStringLiteral("disabled"), disabled},
                         {QStringLiteral("focused"), focused}});
}

// Pills that wrap at a narrow width, as further dates do.
QWidget* flowLayout() {
    auto* page = new QWidget;
    page->setFixedWidth(260);
    auto* flow = new FlowLayout(6, page);
    for (const char* title : {"Fri 14 Mar", "Sat 15 Mar · 10:00", "Sun 16 Mar", "Mon 17 Mar · Doors 19:30", "Tue 18"})
        flow->addWidget(new ODButton(QString::fromUtf8(title), std::nullopt, ODButtonKind::secondary,
                                     ODButtonSize::small));
    return page;
}

QWidget* menuButtons() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(6);
    auto* focused = new ODMenuButton<DateStyle>(dateItems(), DateStyle::full, 190, QStringLiteral("Choose…"), true, {});
    auto* disabled =
        new ODMenuButton<QString>(calendarItems(), QStringLiteral("work"), 150, QStringLiteral("Choose…"), false, {});
    disabled->setEnabled(false);
    auto* keyboard =
        new ODMenuButton<QString>(calendarItems(), QStringLiteral("home"), 150, QStringLiteral("Choose…"), false, {});
    new FocusWhenShown(keyboard);
    const QList<std::pair<QString, QWidget*>> cells{
        {QStringLiteral("title and detail"),
         new ODMenuButton<DateStyle>(dateItems(), DateStyle::medium, 190, QStringLiteral("Choose…"), false, {})},
        {QStringLiteral("pill"),
         new ODMenuButton<QString>(calendarItems(), QStringLiteral("work"), 150, QStringLiteral("Choose…"), false, {})},
        {QStringLiteral("placeholder"),
         new ODMenuButton<QString>(calendarItems(), QStringLiteral("gone"), 150, QStringLiteral("Choose…"), false, {})},
        {QStringLiteral("focused look"), focused},
        {QStringLiteral("long title, cut"),
         new ODMenuButton<QString>(calendarItems(), QStringLiteral("run"), 150, QStringLiteral("Choose…"), false, {})},
        {QStringLiteral("disabled"), disabled},
        {QStringLiteral("keyboard focus"), keyboard},
    };
    for (int i = 0; i < cells.size(); ++i) {
        grid->addWidget(cells[i].second, (i / 3) * 2, i % 3, Qt::AlignLeft);
        grid->addWidget(caption(cells[i].first), (i / 3) * 2 + 1, i % 3);
    }
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* openMenuButton() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(24);
    auto openUnder = [row](MenuButtonControl* button, int highlighted) {
        auto* stack = new QVBoxLayout;
        stack->setSpacing(MenuButtonControl::kMenuGap);
        stack->addWidget(button);
        stack->addWidget(new OpenMenu(button->buildMenu(), highlighted));
        stack->addStretch(1);
        row->addLayout(stack);
    };
    openUnder(new ODMenuButton<DateStyle>(dateItems(), DateStyle::medium, 190, QStringLiteral("Choose…"), false, {}),
              2);
    // The calendar in use twice: both are checked, the first is shown.
    std::vector<ODMenuItem<QString>> calendars = calendarItems();
    calendars.push_back({QStringLiteral("Work (shared)"), std::nullopt, QStringLiteral("work"), Theme::teal()});
    openUnder(new ODMenuButton<QString>(calendars, QStringLiteral("work"), 150, QStringLiteral("Choose…"), false, {}),
              -1);
    row->addStretch(1);
    return page;
}

QWidget* openPopupMenu() {
    const std::vector<PopupMenuItem> calendars{
        {QStringLiteral("Work"), Theme::sky(), true},
        {QStringLiteral("Home & family"), Theme::green()},
        {QStringLiteral("Birthdays"), Theme::amber()},
        {QStringLiteral("ignored"), Theme::flame(), true, true},
        {QStringLiteral("No colour, checked"), std::nullopt, true},
    };
    const std::vector<PopupMenuItem> priorities{
        {QStringLiteral("None")},
        {QStringLiteral("Low")},
        {QStringLiteral("Medium"), std::nullopt, true},
        {QStringLiteral("High")},
    };
    return captionedRow({{QStringLiteral("calendars, one chosen"), new OpenMenu(PopupMenu::build(calendars), 1)},
                         {QStringLiteral("priorities"), new OpenMenu(PopupMenu::build(priorities), -1)},
                         {QStringLiteral("empty"), new OpenMenu(PopupMenu::build({}), -1)}},
                        28);
}

QWidget* formTiles() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    rows->addWidget(captionedRow({{QStringLiteral("text2"), new FormIconTile(QStringLiteral("repeat"), Theme::text2())},
                                  {QStringLiteral("bell"), new FormIconTile(QStringLiteral("bell"), Theme::text2())},
                                  {QStringLiteral("flame"),
                                   new FormIconTile(QStringLiteral("mappin.and.ellipse"), Theme::flame())},
                                  {QStringLiteral("sky"), new FormIconTile(QStringLiteral("video"), Theme::sky())}}));
    auto boxed = [](const QString& text, bool focused, Tint fill) {
        auto* line = new TextLine(text, ODFont::body(13), Theme::text());
        auto* box = fieldBox(line, focused, fill);
        box->setFixedWidth(220);
        return static_cast<QWidget*>(box);
    };
    rows->addWidget(captionedRow(
        {{QStringLiteral("field box on card"), boxed(QStringLiteral("Café Central, Vienna"), false, Theme::card())},
         {QStringLiteral("focused, on surface"), boxed(QStringLiteral("https://meet.example.com/abc"), true,
                                                        Theme::surface())}}));
    return page;
}

QWidget* textFields() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    const auto boxed = [](QWidget* content) {
        FieldBox* box = fieldBox(content, false, Theme::card());
        box->setFixedWidth(220);
        return static_cast<QWidget*>(box);
    };
    auto* disabled = new TextField(ODFont::nsBody(13, FontWeight::medium));
    disabled->setText(QStringLiteral("Main hall"));
    disabled->setEnabled(false);
    auto* title = new TextField(ODFont::display(20), QStringLiteral("Event title"));
    title->setText(QStringLiteral("Design review"));
    rows->addWidget(captionedRow(
        {{QStringLiteral("placeholder"), boxed(new TextField(ODFont::nsBody(13, FontWeight::medium),
                                                             QStringLiteral("Add location")))},
         {QStringLiteral("disabled"), boxed(disabled)},
         {QStringLiteral("display face"), boxed(title)}}));
    auto* notes = new TextArea(ODFont::nsBody(13));
    notes->setPlainText(QStringLiteral("Bring the printed mock-ups.\nAsk about the launch date."));
    notes->setFixedHeight(60);
    auto* empty = new TextArea(ODFont::nsBody(13));
    empty->setPlaceholderText(QStringLiteral("Add notes"));
    empty->setFixedHeight(60);
    rows->addWidget(captionedRow({{QStringLiteral("text area"), boxed(notes)},
                                  {QStringLiteral("placeholder"), boxed(empty)}}));
    // None takes the focus when the page shows: a blinking caret would make the picture vary.
    for (QWidget* field : page->findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(field) != nullptr || qobject_cast<QPlainTextEdit*>(field) != nullptr)
            field->setFocusPolicy(Qt::ClickFocus);
    return page;
}

QWidget* calendarChips() {
    auto chip = [](std::optional<core::Color> color, const QString& title, bool changeable) {
        auto* made = new CalendarChip;
        made->setCalendar(color, title);
        made->setChangeable(changeable);
        return static_cast<QWidget*>(made);
    };
    return captionedRow({{QStringLiteral("changeable"), chip(Theme::sky(), QStringLiteral("Work"), true)},
                         {QStringLiteral("locked"), chip(Theme::green(), QStringLiteral("Home & family"), false)},
                         {QStringLiteral("unknown calendar"), chip(std::nullopt, QStringLiteral("Calendar"), true)}});
}

QWidget* fieldChoiceButtons() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    const auto sized = [](FieldChoiceButton* button) {
        button->setFixedWidth(220);
        return static_cast<QWidget*>(button);
    };
    auto* open = new FieldChoiceButton(QStringLiteral("15 minutes before +1"), QStringLiteral("chevron.up.chevron.down"));
    open->setShowsFocused(true);
    auto* disabled = new FieldChoiceButton(QStringLiteral("No alert"), QStringLiteral("chevron.up.chevron.down"));
    disabled->setEnabled(false);
    rows->addWidget(captionedRow(
        {{QStringLiteral("repeat"), sized(new FieldChoiceButton(QStringLiteral("Every 2 weeks"),
                                                                 QStringLiteral("chevron.right")))},
         {QStringLiteral("menu open"), sized(open)},
         {QStringLiteral("disabled"), sized(disabled)}}));
    rows->addWidget(captionedRow(
        {{QStringLiteral("symbol button"), new SymbolButton(QStringLiteral("arrow.up.right"), 10, FontWeight::bold,
                                                           Theme::sky(), QStringLiteral("Open in map"))}}));
    return page;
}

QWidget* keycapButtons() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    auto* disabled = new KeycapButton(QStringLiteral("Add event"), std::nullopt, QStringLiteral("↩"));
    disabled->setEnabled(false);
    rows->addWidget(captionedRow(
        {{QStringLiteral("primary"), new KeycapButton(QStringLiteral("Save"), std::nullopt, QStringLiteral("↩"))},
         {QStringLiteral("secondary"), new KeycapButton(QStringLiteral("Cancel"), std::nullopt, QStringLiteral("esc"),
                                                        ODButtonKind::secondary)},
         {QStringLiteral("ghost, small, symbol"),
          new KeycapButton(QStringLiteral("Join"), QStringLiteral("video.fill"), QStringLiteral("J"),
                           ODButtonKind::ghost, ODButtonSize::small)},
         {QStringLiteral("danger, large"), new KeycapButton(QStringLiteral("Delete"), QStringLiteral("trash"),
                                                            QStringLiteral("⌫"), ODButtonKind::danger,
                                                            ODButtonSize::large)},
         {QStringLiteral("disabled"), disabled}},
        14));
    rows->addWidget(new KeycapButton(QStringLiteral("All future events"), std::nullopt, QStringLiteral("↩"),
                                     ODButtonKind::primary, ODButtonSize::medium, true));
    rows->addWidget(
        captionedRow({{QStringLiteral("accent keycap"), new AccentPlate(new AccentKeycap(QStringLiteral("Ctrl+Alt+J")))},
                      {QStringLiteral("one key"), new AccentPlate(new AccentKeycap(QStringLiteral("J")))}}));
    return page;
}

QWidget* avatars() {
    auto* page = new QWidget;
    QVBoxLayout* rows = column(page, 10);
    QList<std::pair<QString, QWidget*>> circles;
    for (const QString& name : {QStringLiteral("Ana Lima"), QStringLiteral("Ben Okafor"), QStringLiteral("Cleo"),
                                QStringLiteral("Dev Patel"), QStringLiteral("Émile Zola")})
        circles.append({name, new AvatarCircle(person(name), 24)});
    circles.append({QStringLiteral("declined"), new AvatarCircle(person(QStringLiteral("Ana Lima")), 24, true)});
    circles.append({QStringLiteral("no initials"), new AvatarCircle(person(QStringLiteral("  ")), 24)});
    rows->addWidget(captionedRow(circles, 12));
    std::vector<model::ODAttendee> people;
    for (const QString& name : {QStringLiteral("Ana Lima"), QStringLiteral("Ben Okafor"), QStringLiteral("Cleo"),
                                QStringLiteral("Dev Patel"), QStringLiteral("Eve"), QStringLiteral("Finn"),
                                QStringLiteral("Gus")})
        people.push_back(person(name));
    people[1].status = model::ParticipantStatus::declined;
    rows->addWidget(captionedRow({{QStringLiteral("7 people, max 4, size 22"), new AvatarStack(people, 4, 22)},
                                  {QStringLiteral("max 3, size 20"), new AvatarStack(people, 3, 20)}}));
    return page;
}

}  // namespace gallery::forms
