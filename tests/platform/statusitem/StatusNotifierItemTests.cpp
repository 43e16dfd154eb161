#include "platform/statusitem/StatusNotifierItem.h"
#include "shell/AppDelegate.h"
#include "shell/PopoverPanel.h"
#include "shell/StatusItemController.h"

#include "EventLoop.h"
#include "FakePlatform.h"
#include "FakeStatusNotifierWatcher.h"
#include "StoreTestSupport.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace storetest;
using namespace Qt::Literals::StringLiterals;
using platform::EntityType;
using testsupport::FakeStatusNotifierWatcher;

namespace {

class SignalListener : public QObject {
    Q_OBJECT

public:
    QStringList labels;
    QVariantMap changed;

public slots:
    void newLabel(const QString& label, const QString&) { labels << label; }
    void propertiesChanged(const QString&, const QVariantMap& properties, const QStringList&) {
        changed.insert(properties);
    }
};

// The application on a real session bus, seen from a fake panel.
class TrayOnTheBus : public ::testing::Test, protected testsupport::FakePlatform {
protected:
    TrayOnTheBus() : FakePlatform(local(2026, 3, 10, 9, 0)) {}

    void SetUp() override { ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "needs a session bus"; }
};

TEST_F(TrayOnTheBus, TheItemRegistersWithItsLabelAndTooltipAndFollowsTheDisplayMode) {
    ek.addEvent(timedEvent(work, u"Dentist appointment"_s, local(2026, 3, 10, 14, 30)));
    FakeStatusNotifierWatcher watcher;
    ASSERT_TRUE(watcher.isServing());
    platform::StatusNotifierItem item;
    const auto delegate = launch(item);

    ASSERT_TRUE(watcher.waitForItem());
    EXPECT_TRUE(testsupport::waitUntil([&] { return item.isRegistered(); }));
    EXPECT_EQ(watcher.registeredItems(), QStringList{item.serviceName() + u"/StatusNotifierItem"_s});
    EXPECT_EQ(watcher.label(), u"Tue 10 Mar  \u00B7  Dentist 2:30\u202FPM"_s);
    EXPECT_EQ(watcher.itemProperty(u"XAyatanaLabelGuide"_s).toString(), watcher.label());
    EXPECT_EQ(watcher.toolTipTitle(), u"Dentist appointment at 2:30\u202FPM"_s);
    EXPECT_EQ(watcher.itemProperty(u"Title"_s).toString(), u"Orbitday, Tue 10 Mar, Next: Dentist appointment"_s);
    EXPECT_EQ(watcher.itemProperty(u"Id"_s).toString(), u"orbitday"_s);
    EXPECT_EQ(watcher.itemProperty(u"ItemIsMenu"_s).toBool(), false);
    EXPECT_FALSE(watcher.iconSize().isEmpty());

    // Panels hear of a new label through either signal.
    SignalListener listener;
    QDBusConnection panelBus(u"fake-status-notifier-watcher"_s);
    ASSERT_TRUE(panelBus.connect(item.serviceName(), u"/StatusNotifierItem"_s, u"org.kde.StatusNotifierItem"_s,
                                 u"XAyatanaNewLabel"_s, &listener, SLOT(newLabel(QString, QString))));
    ASSERT_TRUE(panelBus.connect(item.serviceName(), u"/StatusNotifierItem"_s, u"org.freedesktop.DBus.Properties"_s,
                                 u"PropertiesChanged"_s, &listener,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));

    delegate->settings().setMenuBarDisplayMode(app::MenuBarDisplayMode::date);
    EXPECT_TRUE(testsupport::waitUntil([&] { return !listener.labels.isEmpty() && !listener.changed.isEmpty(); }));
    EXPECT_EQ(listener.labels, QStringList{u"Tue 10 Mar"_s});
    EXPECT_EQ(listener.changed.value(u"XAyatanaLabel"_s).toString(), u"Tue 10 Mar"_s);
    EXPECT_EQ(watcher.label(), u"Tue 10 Mar"_s);
}

TEST_F(TrayOnTheBus, ActivateOpensThePanelUnderThePointClicked) {
    FakeStatusNotifierWatcher watcher;
    platform::StatusNotifierItem item;
    const auto delegate = launch(item);
    ASSERT_TRUE(watcher.waitForItem());

    ASSERT_TRUE(watcher.activate(400, 12));
    app::PopoverPanel& panel = delegate->statusItem()->panel();
    ASSERT_TRUE(testsupport::waitUntil([&] { return panel.isVisible(); }));
    EXPECT_EQ(panel.geometry().topLeft(), QPoint(400 - 182, 24));
    ASSERT_TRUE(watcher.activate(400, 12));
    EXPECT_TRUE(testsupport::waitUntil([&] { return !panel.isVisible(); }));
}

// Hosts send a right or middle click as ContextMenu or SecondaryActivate; the item has no menu, so every click
// opens the panel, or it would open on some hosts no way at all.
TEST_F(TrayOnTheBus, ContextMenuAndSecondaryActivateOpenAndCloseThePanelAsActivateDoes) {
    FakeStatusNotifierWatcher watcher;
    platform::StatusNotifierItem item;
    const auto delegate = launch(item);
    ASSERT_TRUE(watcher.waitForItem());
    app::PopoverPanel& panel = delegate->statusItem()->panel();

    for (const QString& click : {u"ContextMenu"_s, u"SecondaryActivate"_s}) {
        SCOPED_TRACE(click.toStdString());
        ASSERT_TRUE(watcher.activate(400, 12, click));
        ASSERT_TRUE(testsupport::waitUntil([&] { return panel.isVisible(); }));
        EXPECT_EQ(panel.geometry().topLeft(), QPoint(400 - 182, 24));
        ASSERT_TRUE(watcher.activate(400, 12, click));
        EXPECT_TRUE(testsupport::waitUntil([&] { return !panel.isVisible(); }));
    }
}

TEST_F(TrayOnTheBus, AWatcherThatAppearsLaterStillGetsTheItem) {
    FakeStatusNotifierWatcher watcher(false);
    platform::StatusNotifierItem item;
    const auto delegate = launch(item);
    testsupport::spinEventLoop(50);
    EXPECT_FALSE(item.isRegistered());

    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(watcher.waitForItem());
    EXPECT_TRUE(testsupport::waitUntil([&] { return item.isRegistered(); }));
    EXPECT_EQ(watcher.label(), u"Tue 10 Mar"_s);
}

}  // namespace

#include "StatusNotifierItemTests.moc"
