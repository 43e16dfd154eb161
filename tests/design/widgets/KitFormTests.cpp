// The settings and form controls: switches and segments from the keyboard and
// for assistive technologies, rows that line up and wrap, the field looks, and
// avatars.

#include "design/widgets/Avatar.h"
#include "design/widgets/FieldFrame.h"
#include "design/widgets/FlowLayout.h"
#include "design/widgets/Keycap.h"
#include "design/widgets/KeycapButton.h"
#include "design/widgets/LinkButton.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODMenuButton.h"
#include "design/widgets/ODSegmented.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/SettingsNote.h"
#include "design/widgets/SettingsRow.h"
#include "design/widgets/TextBlock.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using namespace design;

QAccessible::State accessibleState(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->state();
}

TEST(KitSwitch, SpaceAndClicksOnTheTrackFlipIt) {
    QWidget window;
    auto* toggle = new ODSwitch(false, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy userChanges(toggle, &QAbstractButton::clicked);
    toggle->setFocus(Qt::TabFocusReason);
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_TRUE(toggle->isOn());
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_FALSE(toggle->isOn());
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(toggle->isOn());
    // Right of the track lies the rest of its slot, which takes no click.
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(ODSwitch::kSlotWidth - 2, 10));
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(userChanges.count(), 3);
    // Set from outside: shown, but not a user's change.
    toggle->setOn(false);
    EXPECT_EQ(userChanges.count(), 3);
    toggle->setEnabled(false);
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(toggle->size(), QSize(ODSwitch::kSlotWidth, ODSwitch::kTrackSize.height()));
}

TEST(KitSwitch, IsACheckBoxToAssistiveTechnologies) {
    ODSwitch toggle(true);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&toggle);
    EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
    EXPECT_TRUE(accessible->state().checkable);
    EXPECT_TRUE(accessible->state().checked);
    // Its toggle action flips it as a click would.
    QAccessibleActionInterface* actions = accessible->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(toggle.isOn());
    EXPECT_FALSE(accessibleState(&toggle).checked);
}

enum class Mode { icon, date, dateAndNext };

std::vector<ODSegmentOption<Mode>> modes() {
    return {{Mode::icon, QStringLiteral("Icon"), QStringLiteral("calendar")},
            {Mode::date, QStringLiteral("Date")},
            {Mode::dateAndNext, QStringLiteral("Date + next"), QStringLiteral("sparkles")}};
}

std::vector<bool> selectedOf(const SegmentedControl& control) {
    std::vector<bool> selected;
    for (Segment* segment : control.segments())
        selected.push_back(segment->isSelected());
    return selected;
}

TEST(KitSegmented, SelectsTheSegmentOfItsValueOrNone) {
    std::vector<Mode> reported;
    ODSegmented<Mode> control(modes(), Mode::date, [&](const Mode& mode) { reported.push_back(mode); });
    EXPECT_EQ(selectedOf(control), std::vector<bool>({false, true, false}));

    ODSegmented<int> unmatched({{1, QStringLiteral("One")}, {2, QStringLiteral("Two")}}, 7);
    EXPECT_EQ(selectedOf(unmatched), std::vector<bool>({false, false}));

    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    QTest::mouseClick(control.segments()[2], Qt::LeftButton);
    EXPECT_EQ(selectedOf(control), std::vector<bool>({false, false, true}));
    // The selected segment clicked again reports its value again and stays selected.
    QTest::mouseClick(control.segments()[2], Qt::LeftButton);
    EXPECT_EQ(selectedOf(control), std::vector<bool>({false, false, true}));
    // From the keyboard.
    control.segments()[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(control.segments()[0], Qt::Key_Space);
    EXPECT_EQ(reported, std::vector<Mode>({Mode::dateAndNext, Mode::dateAndNext, Mode::icon}));
    EXPECT_EQ(control.selection(), Mode::icon);
    // A value set from outside is shown and not reported.
    control.setSelection(Mode::date);
    EXPECT_EQ(selectedOf(control), std::vector<bool>({false, true, false}));
    EXPECT_EQ(reported.size(), 3u);

    QAccessibleInterface* segment = QAccessible::queryAccessibleInterface(control.segments()[1]);
    EXPECT_EQ(segment->role(), QAccessible::RadioButton);
    EXPECT_EQ(segment->text(QAccessible::Name), u"Date");
    EXPECT_TRUE(segment->state().checked);
    EXPECT_FALSE(accessibleState(control.segments()[0]).checked);
}

// How many pixels of the image are close to the colour.
int pixelsNear(const QImage& image, const QColor& color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
                             std::abs(pixel.blue() - color.blue()) < 30 && pixel.alpha() > 200
                         ? 1
                         : 0;
        }
    return count;
}

QImage segmentImage(const SegmentLabel& label, bool selected) {
    const QSizeF size = Segment::sizeFor(label, selected);
    QImage image(size.toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Segment::paint(painter, QRectF(QPointF(0, 0), size), label, selected);
    return image;
}

TEST(KitSegmented, OnlyTheSelectedSparklesTurnToTheAccent) {
    const QColor flame = toQColor(Theme::flame());
    const SegmentLabel sparkles{QStringLiteral("Date + next"), QStringLiteral("sparkles")};
    const SegmentLabel calendar{QStringLiteral("Icon"), QStringLiteral("calendar")};
    EXPECT_GT(pixelsNear(segmentImage(sparkles, true), flame), 10);
    EXPECT_EQ(pixelsNear(segmentImage(sparkles, false), flame), 0);
    EXPECT_EQ(pixelsNear(segmentImage(calendar, true), flame), 0);
}

TEST(KitSegmented, WithoutOptionsIsTheBareTrack) {
    ODSegmented<int> empty({}, 0);
    EXPECT_TRUE(empty.segments().isEmpty());
    const int padding = 2 * SegmentedControl::kTrackPadding;
    EXPECT_EQ(empty.sizeHint(), QSize(padding, padding));
}

TEST(KitSettingsRows, ControlsLineUpAndLongTextsWrapInTheColumn) {
    QWidget form;
    auto* column = new QVBoxLayout(&form);
    auto* plain = new ODSwitch;
    auto* named = new ODSwitch;
    named->setAccessibleName(QStringLiteral("Own name"));
    auto* menu = new ODMenuButton<int>({{QStringLiteral("One"), std::nullopt, 1}}, 1, 150, QString(), false, {});
    auto* shortRow = new SettingsRow(QStringLiteral("Show week numbers"), std::nullopt, plain);
    auto* detailed = new SettingsRow(QStringLiteral("Auto-dismiss"), QStringLiteral("After the meeting starts"),
                                     QList<QWidget*>{named, menu});
    auto* wrapped = new SettingsRow(
        QStringLiteral("A label much longer than the column it stands in"),
        QStringLiteral("And a detail that goes on long enough to need several lines in a narrow column, "
                       "whatever the face it is set in"),
        new ODSwitch);
    column->addWidget(shortRow);
    column->addWidget(detailed);
    column->addWidget(wrapped);
    form.resize(600, 400);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const int controlsStart = SettingsRow::kTextColumnWidth + SettingsRow::kColumnGap;
    for (SettingsRow* row : {shortRow, detailed, wrapped})
        EXPECT_EQ(row->controls()->geometry().left(), controlsStart) << row->label().toStdString();
    EXPECT_EQ(menu->mapTo(detailed, QPoint(0, 0)).x(), controlsStart + ODSwitch::kSlotWidth + 8);
    // The wrapped row grows; a label stays in its column whatever its length.
    EXPECT_GT(wrapped->height(), 3 * shortRow->height());
    for (TextBlock* text : wrapped->findChildren<TextBlock*>())
        EXPECT_LE(text->geometry().right() + 1, SettingsRow::kTextColumnWidth);
    // Centred beside the texts.
    EXPECT_NEAR(plain->mapTo(shortRow, plain->rect().center()).y(), shortRow->height() / 2.0, 1);

    // A control without a name of its own is announced by the row's label.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(plain)->text(QAccessible::Name), u"Show week numbers");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(named)->text(QAccessible::Name), u"Own name");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(menu)->text(QAccessible::Name), u"Auto-dismiss");
}

TEST(KitSettingsRows, ADetailComesAndGoesWithItsLine) {
    SettingsRow row(QStringLiteral("Launch at login"), std::nullopt, new ODSwitch);
    const int plain = row.heightForWidth(500);
    row.setDetail(QStringLiteral("The login item could not be written."));
    EXPECT_GT(row.heightForWidth(500), plain);
    row.setDetail(std::nullopt);
    EXPECT_EQ(row.heightForWidth(500), plain);
}

TEST(KitText, WrapsBetweenWordsAndInsideAWordTooLongForTheLine) {
    const QFont font = ODFont::body(13);
    const qreal line = TextBlock::heightFor(QStringLiteral("x"), font, 200);
    EXPECT_EQ(TextBlock::heightFor(QStringLiteral("Two words"), font, 400), line);
    EXPECT_EQ(TextBlock::heightFor(QStringLiteral("Two words"), font, 40), 2 * line);
    // One word far wider than the line is broken rather than cut.
    EXPECT_GE(TextBlock::heightFor(QString(60, QLatin1Char('W')), font, 100), 5 * line);
    EXPECT_EQ(TextBlock::heightFor(QString(), font, 100), QFontMetricsF(font).height());
    // A cap on the lines: the text takes no more, and the last line shows where it was cut.
    const QString long_ = QStringLiteral("one two three four five six seven eight nine ten");
    EXPECT_EQ(TextBlock::heightFor(long_, font, 60, 2), 2 * line);
    EXPECT_EQ(TextBlock::heightFor(QStringLiteral("Two words"), font, 400, 2), line);
    QImage capped(60, static_cast<int>(3 * line), QImage::Format_ARGB32_Premultiplied);
    capped.fill(Qt::white);
    QPainter painter(&capped);
    TextBlock::paint(painter, QRectF(capped.rect()), long_, font, Qt::black, Qt::AlignLeft, 2);
    painter.end();
    const auto inkInRow = [&](int from, int to) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < capped.width(); ++x)
                if (capped.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkInRow(static_cast<int>(line), static_cast<int>(2 * line)));
    EXPECT_FALSE(inkInRow(static_cast<int>(2 * line) + 1, capped.height())) << "nothing below the second line";
}

TEST(KitLinks, ClickOncePerClickOrKeyAndNotWhenDisabled) {
    QWidget window;
    auto* link = new LinkButton(QStringLiteral("Open Privacy Settings"), QStringLiteral("arrow.up.right"), &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicks(link, &QAbstractButton::clicked);
    QTest::mouseClick(link, Qt::LeftButton);
    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 3);
    link->setEnabled(false);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(link)->text(QAccessible::Name), u"Open Privacy Settings");
}

QImage fieldImage(bool focused, bool error) {
    QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    FieldBackground::paint(painter, QRectF(10, 5, 100, 30), focused, error);
    return image;
}

TEST(KitFields, FocusAndErrorShareOneLook) {
    const QImage resting = fieldImage(false, false);
    const QImage focused = fieldImage(true, false);
    EXPECT_NE(resting, focused);
    EXPECT_EQ(fieldImage(false, true), focused);
    EXPECT_EQ(fieldImage(true, true), focused);
    // The border lies inside the field: nothing outside it.
    EXPECT_EQ(focused.pixelColor(9, 20).alpha(), 0);
    EXPECT_EQ(focused.pixelColor(110, 20).alpha(), 0);
    EXPECT_EQ(focused.pixelColor(10, 20).rgb(), toQColor(Theme::flame()).rgb());
}

TEST(KitFields, AMenuButtonShowsTheFocusedBorderWhenItsCallerSaysSo) {
    ODMenuButton<int> button({{QStringLiteral("One"), std::nullopt, 1}}, 1, 150, QString(), false, {});
    auto leftEdge = [&button] { return button.grab().toImage().pixelColor(0, button.height() / 2).rgb(); };
    EXPECT_NE(leftEdge(), toQColor(Theme::flame()).rgb());
    button.setShowsFocused(true);
    EXPECT_EQ(leftEdge(), toQColor(Theme::flame()).rgb());
}

TEST(KitFields, TheBorderIsDrawnOverTheContent) {
    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, Qt::green);
    content->setPalette(palette);
    FieldBackground field(content, true, false);
    field.resize(100, 30);
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    const QImage image = field.grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 15).rgb(), toQColor(Theme::flame()).rgb());
    EXPECT_EQ(image.pixelColor(50, 15).rgb(), QColor(Qt::green).rgb());
}

TEST(KitNotes, StretchOverTheRowWithTheAccessoryAtTheEnd) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto* bare = new SettingsNote(QStringLiteral("checkmark.shield"), QStringLiteral("No account."),
                                  SettingsNote::Tone::good);
    auto* link = new LinkButton(QStringLiteral("Open"));
    auto* linked = new SettingsNote(QStringLiteral("info.circle"), QStringLiteral("Access is off."),
                                    SettingsNote::Tone::neutral, link);
    column->addWidget(bare);
    column->addWidget(linked);
    column->addStretch(1);
    window.resize(500, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(bare->width(), 500);
    EXPECT_EQ(linked->width(), 500);
    EXPECT_EQ(link->mapTo(linked, QPoint(link->width(), 0)).x(), 500 - 12);
}

TEST(KitKeycapButtons, APrimaryButtonShowsTheAccentKeycapAndOthersThePlainOne) {
    auto keycapCentre = [](ODButtonKind kind) {
        KeycapButton button(QStringLiteral("Save"), std::nullopt, QStringLiteral("↩"), kind);
        button.resize(button.sizeHint());
        const QImage image = button.grab().toImage();
        const ODButtonStyle style(kind, ODButtonSize::medium);
        const QSizeF key = kind == ODButtonKind::primary ? AccentKeycap::sizeFor(QStringLiteral("↩"))
                                                         : Keycap::sizeFor(QStringLiteral("↩"));
        // Just inside the keycap's left edge, level with its top third.
        const qreal x = button.width() - style.padding().right() - key.width() + 2;
        return image.pixelColor(static_cast<int>(x), button.height() / 2 - 2);
    };
    // The accent plate darkens the button's own fill; the plain keycap is a card.
    const QColor primaryFill = toQColor(Theme::primary());
    const QColor onPrimary = keycapCentre(ODButtonKind::primary);
    EXPECT_LT(onPrimary.lightness(), primaryFill.lightness());
    EXPECT_GT(onPrimary.red(), onPrimary.blue());
    EXPECT_EQ(keycapCentre(ODButtonKind::secondary).rgb(), toQColor(Theme::card()).rgb());
}

model::ODAttendee person(const QString& name, model::ParticipantStatus status = model::ParticipantStatus::accepted) {
    model::ODAttendee attendee;
    attendee.name = name;
    attendee.status = status;
    return attendee;
}

TEST(KitAvatars, ShowAtMostTwoCharactersOfTheInitials) {
    EXPECT_EQ(AvatarCircle::label(person(QStringLiteral("Ana Lima"))), u"AL");
    EXPECT_EQ(AvatarCircle::label(person(QStringLiteral("   "))), u"?");
    EXPECT_EQ(AvatarCircle::label(person(QString())), u"?");
    // One initial that upper-cases to two letters, then a second word.
    EXPECT_EQ(AvatarCircle::label(person(QStringLiteral("ßigrid Ruiz"))), u"SS");
    // Whole characters: a flag is one.
    EXPECT_EQ(AvatarCircle::label(person(QStringLiteral("\U0001F1E9\U0001F1EA Team"))), u"\U0001F1E9\U0001F1EAT");
}

TEST(KitAvatars, AStackShowsTheFirstPeopleAndDimsThoseWhoDeclined) {
    std::vector<model::ODAttendee> people;
    for (const char* name : {"Ana", "Ben", "Cleo", "Dev", "Eve", "Finn", "Gus"})
        people.push_back(person(QString::fromLatin1(name)));
    people[2].status = model::ParticipantStatus::declined;
    AvatarStack stack(people, 4, 22);
    ASSERT_EQ(stack.avatars().size(), 4);
    EXPECT_EQ(stack.avatars().last()->attendee().name, u"Dev");
    EXPECT_TRUE(stack.avatars()[2]->isDimmed());
    EXPECT_FALSE(stack.avatars()[1]->isDimmed());
    EXPECT_EQ(stack.sizeHint(), QSize(4 * 22 + 3 * AvatarStack::kSpacing, 22));
    EXPECT_EQ(AvatarCircle::fill(people[2], true), toQColor(Theme::subtle()));
    EXPECT_EQ(AvatarStack(people, 10, 20).avatars().size(), 7);
    EXPECT_TRUE(AvatarStack(people, 0, 20).avatars().isEmpty());
}

// A fixed-size block to lay out.
QWidget* block(QWidget* parent, int width, int height) {
    auto* widget = new QWidget(parent);
    widget->setFixedSize(width, height);
    return widget;
}

TEST(KitFlow, RowsFillGreedilyAndWrapOnlyWhenTheNextWouldPassTheEdge) {
    QWidget host;
    auto* flow = new FlowLayout(6, &host);
    EXPECT_EQ(flow->heightForWidth(300), 0) << "empty";
    QWidget* a = block(&host, 100, 20);
    QWidget* b = block(&host, 100, 30);
    QWidget* c = block(&host, 100, 24);
    for (QWidget* w : {a, b, c})
        flow->addWidget(w);
    // 212 + 100 passes 300: the third starts a row, under the taller of the first two.
    EXPECT_EQ(flow->heightForWidth(300), 30 + 6 + 24);
    flow->setGeometry(QRect(0, 0, 300, 60));
    EXPECT_EQ(a->geometry(), QRect(0, 0, 100, 20)) << "each at the top of its row, never stretched";
    EXPECT_EQ(b->geometry(), QRect(106, 0, 100, 30));
    EXPECT_EQ(c->geometry(), QRect(0, 36, 100, 24));

    // Exactly filling the row is not passing it.
    QWidget host2;
    auto* exact = new FlowLayout(6, &host2);
    exact->addWidget(block(&host2, 147, 10));
    exact->addWidget(block(&host2, 147, 10));
    EXPECT_EQ(exact->heightForWidth(300), 10);
    EXPECT_EQ(exact->heightForWidth(0), 26) << "no width: a row each";
    EXPECT_EQ(exact->sizeHint(), QSize(FlowLayout::kDefaultWidth, 10));

    // Wider than the row: alone on its row at its full width, the next below it.
    QWidget host3;
    auto* wide = new FlowLayout(6, &host3);
    QWidget* big = block(&host3, 400, 10);
    QWidget* after = block(&host3, 50, 10);
    wide->addWidget(big);
    wide->addWidget(after);
    wide->setGeometry(QRect(0, 0, 300, 26));
    EXPECT_EQ(big->geometry(), QRect(0, 0, 400, 10));
    EXPECT_EQ(after->geometry(), QRect(0, 16, 50, 10));
}

}  // namespace
