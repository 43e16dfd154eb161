#include "SettingsViewTestSupport.h"
#include "design/widgets/Painting.h"
#include "design/widgets/Symbols.h"
#include "platform/keys/KeyTable.h"
#include "settings/HotKeyRecorder.h"
#include "settings/HotKeyRecorderModel.h"
#include "settings/ShortcutsSettingsView.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

using namespace Qt::Literals::StringLiterals;
using app::HotKeyAction;
using app::HotKeyCombo;
using settingstest::SettingsTabViews;
namespace carbon = platform::keys::carbon;

TEST_F(SettingsTabViews, ShortcutsTabAtRestRecordingRefusedAndNotInEffect) {
    settings::ShortcutsSettingsView view(settings, hotKeys, tabs);
    expectRendersInBothAppearances(view, u"settings-shortcuts-rest"_s);

    settings::HotKeyRecorderModel& quick = view.recorders()[2]->model();
    ASSERT_EQ(quick.action(), HotKeyAction::quickCreate);
    quick.toggleRecording();
    quick.modifiersChanged(Qt::ControlModifier | Qt::AltModifier);
    expectRendersInBothAppearances(view, u"settings-shortcuts-recording"_s);

    quick.modifiersChanged(Qt::NoModifier);
    quick.keyPressed(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    expectRendersInBothAppearances(view, u"settings-shortcuts-refused"_s);
    quick.cancel();

    registrar.refuse(38, carbon::kCommand | carbon::kOption);
    settings.setHotKeyJoinMeeting(HotKeyCombo{38, carbon::kCommand | carbon::kOption});
    settings.setHotKeyQuickCreate(std::nullopt);
    expectRendersInBothAppearances(view, u"settings-shortcuts-not-in-effect"_s);
}

TEST_F(SettingsTabViews, WhileAFieldRecordsNoShortcutOfTheAppActsAndKeysReachNoWidget) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* recorder = new settings::HotKeyRecorder(
        new settings::HotKeyRecorderModel(HotKeyAction::openPopover, settings, hotKeys, tabs));
    layout->addWidget(recorder);
    auto* newItem = new QAction(&window);
    newItem->setShortcut(QKeySequence(u"Ctrl+N"_s));
    window.addAction(newItem);
    int triggered = 0;
    QObject::connect(newItem, &QAction::triggered, [&] { ++triggered; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(triggered, 1) << "the shortcut works while nothing records";

    auto* face = recorder->findChild<QAbstractButton*>();
    ASSERT_NE(face, nullptr);
    QTest::mouseClick(face, Qt::LeftButton);
    ASSERT_TRUE(recorder->model().isRecording());
    QTest::keyClick(&window, Qt::Key_A, Qt::NoModifier);
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1) << "the recording takes the key first";
    EXPECT_EQ(settings.hotKeyOpenPopover(), (HotKeyCombo{45, carbon::kCommand}));
    EXPECT_FALSE(recorder->model().isRecording());

    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(triggered, 2) << "and gives the keys back when it ends";
}

TEST_F(SettingsTabViews, ALeavingFieldStopsRecordingAndTakesTheShortcutsAgain) {
    auto view = std::make_unique<settings::ShortcutsSettingsView>(settings, hotKeys, tabs);
    view->show();
    view->recorders()[0]->model().toggleRecording();
    ASSERT_TRUE(registrar.registrations().empty());
    view->hide();
    EXPECT_EQ(tabs.recordingAction(), std::nullopt);
    EXPECT_EQ(registrar.registrations().size(), 3u);

    view->show();
    view->recorders()[1]->model().toggleRecording();
    view.reset();
    EXPECT_EQ(registrar.registrations().size(), 3u) << "nor does a field destroyed while recording keep them";
}

TEST_F(SettingsTabViews, ARefusedKeyShowsWhyUnderItsFieldWithoutMovingTheRowsBelow) {
    settings::ShortcutsSettingsView view(settings, hotKeys, tabs);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    settings::HotKeyRecorder* join = view.recorders()[1];
    settings::HotKeyRecorder* quick = view.recorders()[2];
    const auto quickTop = [&] { return quick->mapTo(&view, QPoint(0, 0)).y(); };
    QCoreApplication::processEvents();
    const int before = quickTop();

    QTest::mouseClick(join->findChild<QAbstractButton*>(), Qt::LeftButton);
    ASSERT_TRUE(join->model().isRecording());
    QTest::keyClick(view.windowHandle(), Qt::Key_A);
    ASSERT_EQ(join->model().message(), u"Add Ctrl, Alt or Super"_s);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(quickTop(), before);
    QTest::keyClick(view.windowHandle(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(quickTop(), before);
}

// At 8.5 pixels a hairline arrow closes into a faint ring: the reset arrow
// needs a solid head and strokes that cover whole pixels.
TEST_F(SettingsTabViews, TheResetArrowIsSolidEnoughToReadAtTheFieldsSize) {
    const QImage arrow = design::Symbols::image(u"arrow.counterclockwise"_s, design::toQColor(design::Theme::text2()),
                                                8.5, design::FontWeight::bold);
    int solid = 0;
    for (int y = 0; y < arrow.height(); ++y)
        for (int x = 0; x < arrow.width(); ++x)
            solid += qAlpha(arrow.pixel(x, y)) >= 192 ? 1 : 0;
    EXPECT_GE(solid, 14);
}

}  // namespace
