#include "platform/loginitem/AutostartLoginItem.h"

#include "TestFifo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using platform::AutostartLoginItem;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

class AutostartEntry : public ::testing::Test {
protected:
    QTemporaryDir home;
    QString folder = home.path() + u"/config/autostart"_s;
    AutostartLoginItem item{folder, u"/opt/orbitday/bin/orbitday"_s};
};

TEST_F(AutostartEntry, TurningOnWritesAnEntryThatStartsTheAppAndTurningOffRemovesIt) {
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.setEnabled(true), std::nullopt) << "the folder is made when missing";
    EXPECT_TRUE(item.isEnabled());
    EXPECT_EQ(item.entryPath(), folder + u"/orbitday.desktop"_s);
    const QByteArray entry = contents(item.entryPath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\nName=Orbitday\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/orbitday/bin/orbitday\"\n"));

    EXPECT_EQ(item.setEnabled(false), std::nullopt);
    EXPECT_FALSE(item.isEnabled());
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    EXPECT_EQ(item.setEnabled(false), std::nullopt) << "nothing to remove is no failure";
}

TEST_F(AutostartEntry, AnExecutablePathIsQuotedSoThatNoCharacterOfItIsReadAsSyntax) {
    // Spaces split, $ and ` expand in a shell, % starts a field code, and \ escapes twice: once
    // for the value, once inside the quotes.
    const QByteArray entry = AutostartLoginItem::entryFor(u"/home/a b/$HOME/`id`/100%/x\\y\"z/orbitday"_s);
    EXPECT_TRUE(entry.contains("\nExec=\"/home/a b/\\\\$HOME/\\\\`id\\\\`/100%%/x\\\\\\\\y\\\\\"z/orbitday\"\n"))
        << entry.toStdString();
    const QByteArray broken = AutostartLoginItem::entryFor(u"/tmp/a\nHidden=true\n/orbitday"_s);
    EXPECT_TRUE(AutostartLoginItem::entryIsOn(broken)) << "a line break in the path starts no line of its own";
    EXPECT_EQ(broken.count('\n'), AutostartLoginItem::entryFor(u"/x"_s).count('\n'));
}

TEST_F(AutostartEntry, AnEntryTheDesktopTurnedOffReadsAsOffAndTurningOnAgainRewritesIt) {
    ASSERT_TRUE(QDir().mkpath(folder));
    write(item.entryPath(), "[Desktop Entry]\nType=Application\nExec=orbitday\nHidden=true\n");
    EXPECT_FALSE(item.isEnabled());
    write(item.entryPath(), "[Desktop Entry]\nExec=orbitday\nX-GNOME-Autostart-enabled = false\n");
    EXPECT_FALSE(item.isEnabled());
    write(item.entryPath(), "[Desktop Entry]\nExec=orbitday\n[Desktop Action off]\nHidden=true\n");
    EXPECT_TRUE(item.isEnabled()) << "only the entry's own group counts";

    write(item.entryPath(), "[Desktop Entry]\nExec=orbitday\nHidden=true\n");
    EXPECT_EQ(item.setEnabled(true), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
}

TEST_F(AutostartEntry, AFolderThatCannotBeMadeOrSomethingElseInTheWayFailsWithTheReason) {
    ASSERT_TRUE(QDir().mkpath(home.path() + u"/config"_s));
    write(folder, "not a folder");
    const std::optional<QString> failure = item.setEnabled(true);
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, folder + u" is not a folder"_s);
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(contents(folder), "not a folder") << "what was in the way is left as it was";

    AutostartLoginItem underAFile(folder + u"/deeper"_s, u"/usr/bin/orbitday"_s);
    const std::optional<QString> cannotMake = underAFile.setEnabled(true);
    ASSERT_TRUE(cannotMake);
    EXPECT_TRUE(cannotMake->startsWith(u"the folder "_s)) << cannotMake->toStdString();

    QFile::remove(folder);
    ASSERT_TRUE(QDir().mkpath(item.entryPath()));
    EXPECT_FALSE(item.isEnabled()) << "a folder where the entry goes";
    EXPECT_TRUE(item.setEnabled(false));
    EXPECT_TRUE(QFileInfo(item.entryPath()).isDir());
}

TEST_F(AutostartEntry, AFifoWhereTheEntryGoesIsReadAsOffWithoutWaitingOnIt) {
    ASSERT_TRUE(QDir().mkpath(folder));
    testsupport::TestFifo fifo(item.entryPath());
    ASSERT_TRUE(fifo.made());
    EXPECT_FALSE(item.isEnabled());
    EXPECT_TRUE(fifo.untouched());
}

}  // namespace
