#include "platform/appearance/PortalSystemAppearance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Settings = QMap<QString, QVariantMap>;
using State = platform::SystemAppearance::State;

const QString kAppearance = QStringLiteral("org.freedesktop.appearance");
const QString kGnome = QStringLiteral("org.gnome.desktop.interface");

// The desktop portal's settings interface, served on a connection of its own. It sends
// its changes without making the bus's variant type known by name in the process, as
// nothing else in the application does: the appearance must do that itself, or it never
// hears of a change (each test runs in a process of its own).
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit FakePortal(Settings settings)
        : m_settings(std::move(settings)),
          m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal"))) {
        qDBusRegisterMetaType<Settings>();
        m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
        m_registered = m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    }
    ~FakePortal() override {
        m_bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        m_bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }

    bool registered() const { return m_registered; }
    int reads() const { return m_reads; }
    void change(const QString& nameSpace, const QString& key, const QVariant& value) {
        m_settings[nameSpace][key] = value;
        emit SettingChanged(nameSpace, key, QDBusVariant(value));
    }

public slots:
    Settings ReadAll(const QStringList& namespaces) {
        ++m_reads;
        Settings answer;
        for (const QString& wanted : namespaces)
            if (m_settings.contains(wanted))
                answer.insert(wanted, m_settings.value(wanted));
        return answer;
    }

signals:
    void SettingChanged(const QString& nameSpace, const QString& key, const QDBusVariant& value);

private:
    Settings m_settings;
    QDBusConnection m_bus;
    bool m_registered = false;
    int m_reads = 0;
};

class PortalAppearance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "needs a session bus";
        QApplication::setPalette(QPalette(Qt::white));
    }
    void TearDown() override { QApplication::setPalette(QPalette(Qt::white)); }

    // Messages of one sender arrive in order: once a change sent after the
    // portal's first answer has come in, that answer has been taken in too.
    static void settle(FakePortal& portal, QSignalSpy& changes, const QString& key, const QVariant& value) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return portal.reads() > 0; }, 5000));
        changes.clear();
        portal.change(kAppearance, key, value);
        ASSERT_TRUE(changes.wait(5000));
    }
};

TEST_F(PortalAppearance, ReadsTheDesktopsPreferences) {
    FakePortal portal({{kAppearance,
                        {{QStringLiteral("color-scheme"), QVariant::fromValue(1u)},
                         {QStringLiteral("contrast"), QVariant::fromValue(1u)},
                         {QStringLiteral("reduced-motion"), QVariant::fromValue(1u)}}}});
    ASSERT_TRUE(portal.registered());
    platform::PortalSystemAppearance appearance;
    QSignalSpy changes(&appearance, &platform::SystemAppearance::changed);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(appearance.state(), (State{true, true, true}));
}

TEST_F(PortalAppearance, FollowsChangesAsTheDesktopAnnouncesThem) {
    FakePortal portal({{kAppearance, {{QStringLiteral("color-scheme"), QVariant::fromValue(2u)}}},
                       {kGnome, {{QStringLiteral("enable-animations"), true}}}});
    platform::PortalSystemAppearance appearance;
    QSignalSpy changes(&appearance, &platform::SystemAppearance::changed);
    settle(portal, changes, QStringLiteral("color-scheme"), QVariant::fromValue(1u));
    EXPECT_EQ(changes.count(), 1);  // the first answer, light, changed nothing
    EXPECT_TRUE(appearance.state().isDark);
    portal.change(kGnome, QStringLiteral("enable-animations"), false);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(appearance.state(), (State{true, false, true}));
    portal.change(kAppearance, QStringLiteral("contrast"), QVariant::fromValue(1u));
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_TRUE(appearance.state().increaseContrast);
}

TEST_F(PortalAppearance, NoPreferenceLeavesTheSchemeToThePalette) {
    FakePortal portal({{kAppearance, {{QStringLiteral("color-scheme"), QVariant::fromValue(0u)}}}});
    platform::PortalSystemAppearance appearance;
    QSignalSpy changes(&appearance, &platform::SystemAppearance::changed);
    settle(portal, changes, QStringLiteral("contrast"), QVariant::fromValue(1u));
    EXPECT_FALSE(appearance.state().isDark);
    QApplication::setPalette(QPalette(QColor(0x24, 0x28, 0x2E)));
    EXPECT_TRUE(appearance.state().isDark);
    // An explicit choice of the desktop outranks the palette.
    portal.change(kAppearance, QStringLiteral("color-scheme"), QVariant::fromValue(2u));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !appearance.state().isDark; }, 5000));
}

TEST_F(PortalAppearance, IgnoresValuesOfTheWrongKind) {
    FakePortal portal({{kAppearance,
                        {{QStringLiteral("color-scheme"), QStringLiteral("dark")},
                         {QStringLiteral("contrast"), true}}},
                       {kGnome, {{QStringLiteral("enable-animations"), QVariant::fromValue(0u)}}}});
    platform::PortalSystemAppearance appearance;
    QSignalSpy changes(&appearance, &platform::SystemAppearance::changed);
    portal.change(kAppearance, QStringLiteral("color-scheme"), QVariant::fromValue(4294967295u));
    portal.change(kAppearance, QStringLiteral("color-scheme"), QVariant::fromValue(-1));
    settle(portal, changes, QStringLiteral("reduced-motion"), QVariant::fromValue(1u));
    EXPECT_EQ(appearance.state(), (State{false, false, true}));
}

TEST_F(PortalAppearance, WithoutAPortalThePaletteDecides) {
    QApplication::setPalette(QPalette(QColor(0x1E, 0x21, 0x26)));
    platform::PortalSystemAppearance appearance;
    EXPECT_TRUE(appearance.state().isDark);
    QSignalSpy changes(&appearance, &platform::SystemAppearance::changed);
    QApplication::setPalette(QPalette(Qt::white));
    EXPECT_FALSE(appearance.state().isDark);
    EXPECT_EQ(changes.count(), 1);
}

}  // namespace

#include "PortalSystemAppearanceTests.moc"
