#include "platform/privacy/ConfigPrivacy.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "EventLoop.h"
#include "TestFifo.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using platform::AuthorizationStatus;
using platform::ConfigPrivacy;
using platform::EntityType;

namespace {

// Stands in for the consent window: records the question and answers when told to.
class ScriptedPrompt : public platform::ConsentPrompt {
public:
    void ask(EntityType entity, std::function<void(bool)> answer) override {
        asked.push_back(entity);
        pending = std::move(answer);
    }
    void answer(bool allowed) {
        auto callback = std::move(pending);
        pending = nullptr;
        callback(allowed);
    }

    std::vector<EntityType> asked;
    std::function<void(bool)> pending;
};

struct Result {
    bool called = false;
    bool granted = false;
    std::optional<QString> error;
};

bool waitFor(const Result& result) {
    return testsupport::waitUntil([&] { return result.called; }, 2000);
}

class ConfigPrivacyTest : public ::testing::Test {
protected:
    QString configFile() const { return m_dir.path() + QStringLiteral("/config/privacy.conf"); }
    QString root() const { return m_dir.path() + QStringLiteral("/calendars"); }

    Result request(ConfigPrivacy& privacy, EntityType entity, std::optional<bool> answer) {
        Result result;
        privacy.requestAccess(entity, [&result](bool granted, std::optional<QString> error) {
            result.called = true;
            result.granted = granted;
            result.error = std::move(error);
        });
        EXPECT_FALSE(result.called) << "never inside the call";
        if (answer)
            prompt.answer(*answer);
        EXPECT_TRUE(waitFor(result));
        return result;
    }

    ScriptedPrompt prompt;

private:
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(ConfigPrivacyTest, UndecidedUntilAnsweredThenRemembered) {
    ConfigPrivacy privacy(configFile(), root(), prompt);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::NotDetermined);

    const Result allowed = request(privacy, EntityType::Event, true);
    EXPECT_TRUE(allowed.granted);
    EXPECT_EQ(allowed.error, std::nullopt);
    EXPECT_EQ(prompt.asked, std::vector<EntityType>{EntityType::Event});
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::NotDetermined);

    const Result denied = request(privacy, EntityType::Reminder, false);
    EXPECT_FALSE(denied.granted);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::Denied);

    // A second request answers from the stored decision without asking; so does a new instance.
    ConfigPrivacy later(configFile(), root(), prompt);
    EXPECT_EQ(later.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_EQ(later.authorizationStatus(EntityType::Reminder), AuthorizationStatus::Denied);
    EXPECT_FALSE(request(later, EntityType::Reminder, std::nullopt).granted);
    EXPECT_TRUE(request(later, EntityType::Event, std::nullopt).granted);
    EXPECT_EQ(prompt.asked.size(), 2u);
}

TEST_F(ConfigPrivacyTest, GrantingCreatesADefaultCalendarAndListOnlyWhenThereIsNone) {
    ConfigPrivacy privacy(configFile(), root(), prompt);
    request(privacy, EntityType::Event, true);
    QFile title(root() + QStringLiteral("/calendar/displayname"));
    ASSERT_TRUE(title.open(QIODevice::ReadOnly));
    EXPECT_EQ(title.readAll(), QByteArray("Calendar"));
    QFile list(root() + QStringLiteral("/reminders/displayname"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QByteArray("Reminders"));

    QDir(root() + QStringLiteral("/reminders")).removeRecursively();
    request(privacy, EntityType::Reminder, true);
    EXPECT_FALSE(QFile::exists(root() + QStringLiteral("/reminders"))) << "a collection exists already";
}

TEST_F(ConfigPrivacyTest, UnreadableFolderIsRestricted) {
    QDir().mkpath(root());
    ::chmod(QFile::encodeName(root()).constData(), 0);
    ConfigPrivacy privacy(configFile(), root(), prompt);
    privacy.setGranted(EntityType::Event, true);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::Restricted);
    ::chmod(QFile::encodeName(root()).constData(), 0755);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
}

TEST_F(ConfigPrivacyTest, FailingToCreateTheFolderIsReported) {
    QDir().mkpath(QFileInfo(root()).path());
    QFile blocker(root());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should go
    blocker.close();
    ConfigPrivacy privacy(configFile(), root() + QStringLiteral("/sub"), prompt);
    const Result result = request(privacy, EntityType::Event, true);
    EXPECT_TRUE(result.error.has_value());
}

// Forgotten, an answer that cannot be stored brought the same question straight back; it holds for the run, and
// the first such answer says that it cannot be kept after a restart.
TEST_F(ConfigPrivacyTest, AnAnswerThatCannotBeStoredHoldsUntilTheAppQuitsAndSaysSoOnce) {
    QDir().mkpath(QFileInfo(root()).path());
    QFile blocker(QFileInfo(configFile()).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the config folder should go
    blocker.close();
    ConfigPrivacy privacy(configFile(), root(), prompt);
    const Result allowed = request(privacy, EntityType::Event, true);
    EXPECT_TRUE(allowed.granted);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    ASSERT_TRUE(allowed.error.has_value());
    EXPECT_TRUE(allowed.error->contains(u"cannot be kept after a restart"));
    EXPECT_TRUE(allowed.error->contains(configFile()));

    const Result refused = request(privacy, EntityType::Reminder, false);
    EXPECT_EQ(refused.error, std::nullopt) << "said once";
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::Denied);
    EXPECT_TRUE(request(privacy, EntityType::Event, std::nullopt).granted);
    EXPECT_EQ(prompt.asked.size(), 2u);

    ConfigPrivacy restarted(configFile(), root(), prompt);
    EXPECT_EQ(restarted.authorizationStatus(EntityType::Event), AuthorizationStatus::NotDetermined);
    EXPECT_EQ(restarted.authorizationStatus(EntityType::Reminder), AuthorizationStatus::NotDetermined);
}

TEST_F(ConfigPrivacyTest, TheSettingsWindowsChangesAreStoredAndAnnouncedOnlyWhenTheyChangeSomething) {
    ConfigPrivacy privacy(configFile(), root(), prompt);
    std::vector<EntityType> announced;
    QObject::connect(&privacy, &ConfigPrivacy::accessChanged, [&](EntityType entity) { announced.push_back(entity); });

    // Switched on without ever being asked: the first calendar is made as the prompt would.
    EXPECT_EQ(privacy.setGranted(EntityType::Event, true), std::nullopt);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_TRUE(QFile::exists(root() + QStringLiteral("/calendar/displayname")));
    EXPECT_EQ(privacy.setGranted(EntityType::Event, true), std::nullopt);
    EXPECT_EQ(privacy.setGranted(EntityType::Reminder, false), std::nullopt);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::Denied);
    EXPECT_EQ(announced, (std::vector<EntityType>{EntityType::Event, EntityType::Reminder}));
    // The prompt's own answers are not announced: the request reports them itself.
    request(privacy, EntityType::Reminder, std::nullopt);
    EXPECT_EQ(announced.size(), 2u);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(ConfigPrivacyTest, ASwitchThatCannotBeStoredHoldsUntilTheAppQuitsAndSaysSoOnce) {
    QDir().mkpath(QFileInfo(root()).path());
    QFile blocker(QFileInfo(configFile()).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the config folder should go
    blocker.close();
    ConfigPrivacy privacy(configFile(), root(), prompt);
    int announcements = 0;
    QObject::connect(&privacy, &ConfigPrivacy::accessChanged, [&] { ++announcements; });
    const auto note = privacy.setGranted(EntityType::Event, true);
    ASSERT_TRUE(note.has_value());
    EXPECT_TRUE(note->contains(u"cannot be kept after a restart"));
    EXPECT_TRUE(note->contains(configFile()));
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_EQ(privacy.setGranted(EntityType::Event, false), std::nullopt);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::Denied);
    EXPECT_EQ(announcements, 2);
    EXPECT_TRUE(QFileInfo(QFileInfo(configFile()).path()).isFile()) << "the blocker is left as it is";
}

// Whatever lies where the answers file should be, asking for the answers never waits,
// and the thing is left as it is: the answer holds for the run, saying that it cannot be
// kept after a restart.
TEST_F(ConfigPrivacyTest, AnAnswersFileThatIsAFifoIsNeverOpenedNorReplaced) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(configFile()).path()));
    testsupport::TestFifo fifo(configFile());
    ASSERT_TRUE(fifo.made());
    ConfigPrivacy privacy(configFile(), root(), prompt);

    testing::internal::CaptureStderr();
    AuthorizationStatus status = AuthorizationStatus::FullAccess;
    std::optional<QString> error;
    ASSERT_TRUE(fifo.runsWithoutWaiting([&] {
        status = privacy.authorizationStatus(EntityType::Event);
        privacy.authorizationStatus(EntityType::Reminder);
        error = privacy.setGranted(EntityType::Event, true);
    }));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, AuthorizationStatus::NotDetermined);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(configFile()));
    EXPECT_TRUE(error->contains(u"cannot be kept after a restart"));
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    // One line for the file, however often it is asked.
    EXPECT_EQ(log.find("(not a regular file)"), log.rfind("(not a regular file)"));
    EXPECT_NE(log.find("left the privacy answers file " + configFile().toStdString()), std::string::npos) << log;
    EXPECT_TRUE(fifo.untouched());
}

TEST_F(ConfigPrivacyTest, AnOversizedAnswersFileIsNeitherReadNorReplaced) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(configFile()).path()));
    QFile file(configFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\ncalendars=granted\n");
    ASSERT_TRUE(file.resize(1024 * 1024));
    file.close();

    ConfigPrivacy privacy(configFile(), root(), prompt);
    testing::internal::CaptureStderr();
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::NotDetermined);
    EXPECT_TRUE(privacy.setGranted(EntityType::Reminder, false).has_value());
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::Denied);
    // The limit in the unit that shows it, not "0 MiB".
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("(larger than 64 KiB)"), std::string::npos) << log;
    EXPECT_EQ(QFileInfo(configFile()).size(), 1024 * 1024);
}

// The file as earlier versions wrote it, through QSettings, reads the same, and a
// stored answer keeps the other one.
TEST_F(ConfigPrivacyTest, AnswersWrittenBeforeStillReadAndSurviveTheOtherOnesChange) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(configFile()).path()));
    QFile file(configFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\r\ncalendars=granted\r\n\r\n[Other]\r\nreminders=granted\r\n");
    file.close();

    ConfigPrivacy privacy(configFile(), root(), prompt);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_EQ(privacy.authorizationStatus(EntityType::Reminder), AuthorizationStatus::NotDetermined);
    EXPECT_EQ(privacy.setGranted(EntityType::Reminder, false), std::nullopt);
    ConfigPrivacy later(configFile(), root(), prompt);
    EXPECT_EQ(later.authorizationStatus(EntityType::Event), AuthorizationStatus::FullAccess);
    EXPECT_EQ(later.authorizationStatus(EntityType::Reminder), AuthorizationStatus::Denied);
}
