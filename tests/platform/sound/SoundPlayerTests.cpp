#include "platform/sound/CanberraSoundPlayer.h"
#include "platform/sound/SoundPlayer.h"

#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(AlertSounds, EachNameHasASoundOfTheInstalledThemeAndNoTwoShareOne) {
    const QStringList expected{u"Pop"_s,  u"Glass"_s, u"Ping"_s,   u"Purr"_s,  u"Tink"_s,  u"Submarine"_s,
                               u"Hero"_s, u"Funk"_s,  u"Bottle"_s, u"Blow"_s,  u"Morse"_s, u"Sosumi"_s};
    EXPECT_EQ(platform::alertSoundNames(), expected);
    QSet<QString> used;
    for (const QString& name : platform::alertSoundNames()) {
        const std::optional<QString> sound = platform::themeSoundFor(name);
        ASSERT_TRUE(sound) << name.toStdString();
        EXPECT_TRUE(QFileInfo::exists(u"/usr/share/sounds/freedesktop/stereo/"_s + *sound + u".oga"_s))
            << sound->toStdString();
        used.insert(*sound);
    }
    EXPECT_EQ(used.size(), expected.size());
}

TEST(AlertSounds, OnlyTheExactNamesAreSounds) {
    for (const QString& name : {u"pop"_s, u"POP"_s, u" Pop"_s, u""_s, u"bell"_s, u"message-new-instant"_s})
        EXPECT_FALSE(platform::themeSoundFor(name)) << name.toStdString();
}

TEST(CanberraSoundPlayer, ADesktopThatCannotPlayLeavesEverySoundSilentAndSaysSoOnce) {
    // No such output: the context cannot be opened, as on a machine without sound.
    qputenv("CANBERRA_DRIVER", "none-such");
    platform::CanberraSoundPlayer player;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(player.play(u"Pop"_s));
    EXPECT_FALSE(player.play(u"Glass"_s));
    player.beep();
    const std::string log = testing::internal::GetCapturedStderr();
    qunsetenv("CANBERRA_DRIVER");
    EXPECT_EQ(QString::fromStdString(log).count(u"[Orbitday] sounds unavailable"_s), 1) << log;
}

TEST(CanberraSoundPlayer, ANameThatIsNoAlertSoundPlaysNothing) {
    qputenv("CANBERRA_DRIVER", "none-such");
    platform::CanberraSoundPlayer player;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(player.play(u"Trumpet"_s));
    EXPECT_FALSE(player.play(QString()));
    // Not even a context was asked for.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    qunsetenv("CANBERRA_DRIVER");
}

}  // namespace
