#include "platform/eventstore/vdir/VdirWriter.h"

#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform::vdir;
using platform::EventStoreError;
using testsupport::FileSizeLimit;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void writeBehindOurBack(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QStringList entries(const QString& directory) {
    return QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class VdirWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }
    QString dir() const { return m_dir.path(); }

    // A file as the reader would have seen it.
    Etag put(const QString& name, const QByteArray& content) {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        file.close();
        return *Etag::ofFile(path(name));
    }

    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(VdirWriterTest, createNamesTheFileAfterASafeUidAndNeverClobbers) {
    VdirWriter writer;
    const Etag existing = put(QStringLiteral("taken.ics"), "someone else's");
    (void)existing;
    writer.stageCreate(dir(), QStringLiteral("abc-1_2.3+x"), "A");
    writer.stageCreate(dir(), QStringLiteral("taken"), "B");
    writer.stageCreate(dir(), QStringLiteral("no/slash@host"), "C");
    const QStringList written = writer.commit();
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[0], path(QStringLiteral("abc-1_2.3+x.ics")));
    EXPECT_EQ(readAll(written[0]), "A");
    EXPECT_NE(written[1], path(QStringLiteral("taken.ics")));
    EXPECT_EQ(readAll(written[1]), "B");
    EXPECT_EQ(readAll(path(QStringLiteral("taken.ics"))), "someone else's");
    EXPECT_TRUE(written[2].endsWith(QStringLiteral(".ics")));
    EXPECT_FALSE(written[2].contains(u'@'));
    EXPECT_EQ(readAll(written[2]), "C");
    EXPECT_EQ(entries(dir()).size(), 4);  // nothing temporary left behind
}

TEST_F(VdirWriterTest, fileChangedBehindOurBackIsAConflictAndStaysAsItIs) {
    const Etag read = put(QStringLiteral("a.ics"), "original");
    writeBehindOurBack(path(QStringLiteral("a.ics")), "theirs!!");  // same size: only the etag tells

    VdirWriter writer;
    writer.stageReplace(path(QStringLiteral("a.ics")), "ours", read);
    try {
        writer.commit();
        FAIL() << "commit over a changed file succeeded";
    } catch (const WriteError& error) {
        EXPECT_EQ(error.code(), EventStoreError::Code::Conflict);
        EXPECT_EQ(error.path(), path(QStringLiteral("a.ics")));
    }
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "theirs!!");
    // Our change is still there for the caller to show or retry.
    EXPECT_EQ(writer.stagedContent(path(QStringLiteral("a.ics"))), QByteArray("ours"));

    // A removal behind our back is a conflict too, and nothing is recreated.
    const Etag other = put(QStringLiteral("b.ics"), "b");
    QFile::remove(path(QStringLiteral("b.ics")));
    VdirWriter remover;
    remover.stageRemove(path(QStringLiteral("b.ics")), other);
    EXPECT_THROW(remover.commit(), WriteError);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("b.ics"))));
}

TEST_F(VdirWriterTest, ourOwnWritesKeepAnEarlierReadCurrent) {
    const Etag read = put(QStringLiteral("a.ics"), "v1");
    QFile::setPermissions(path(QStringLiteral("a.ics")), QFile::ReadOwner | QFile::WriteOwner);
    VdirWriter writer;
    writer.stageReplace(path(QStringLiteral("a.ics")), "v2", read);
    writer.commit();
    // A private calendar stays private.
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("a.ics"))).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_NE(*Etag::ofFile(path(QStringLiteral("a.ics"))), read);
    EXPECT_TRUE(writer.isCurrent(path(QStringLiteral("a.ics")), read));
    writer.stageReplace(path(QStringLiteral("a.ics")), "v3", read);
    EXPECT_NO_THROW(writer.commit());
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "v3");

    writeBehindOurBack(path(QStringLiteral("a.ics")), "external");
    EXPECT_FALSE(writer.isCurrent(path(QStringLiteral("a.ics")), read));
}

TEST_F(VdirWriterTest, stagedChangesComposeUntilCommitAndResetDropsThem) {
    const Etag read = put(QStringLiteral("a.ics"), "v1");
    VdirWriter writer;
    writer.stageReplace(path(QStringLiteral("a.ics")), "v2", read);
    writer.stageReplace(path(QStringLiteral("a.ics")), "v3", read);
    const QString created = writer.stageCreate(dir(), QStringLiteral("new"), "n1");
    writer.stageReplace(created, "n2", Etag{});
    const QString dropped = writer.stageCreate(dir(), QStringLiteral("gone"), "g");
    writer.stageRemove(dropped, Etag{});
    EXPECT_EQ(writer.stagedContent(path(QStringLiteral("a.ics"))), QByteArray("v3"));
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "v1");  // nothing written before commit

    VdirWriter other;
    other.stageReplace(path(QStringLiteral("a.ics")), "x", read);
    other.reset();
    EXPECT_FALSE(other.hasChanges());
    EXPECT_TRUE(other.commit().isEmpty());

    writer.commit();
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "v3");
    EXPECT_EQ(readAll(created), "n2");
    EXPECT_FALSE(QFile::exists(dropped));
    EXPECT_FALSE(writer.hasChanges());
}

TEST_F(VdirWriterTest, failedCommitRestoresWhatItHadWritten) {
    const Etag a = put(QStringLiteral("a.ics"), "a original");
    const Etag b = put(QStringLiteral("b.ics"), "b original");
    const Etag c = put(QStringLiteral("c.ics"), "c original");
    VdirWriter writer;
    writer.stageReplace(path(QStringLiteral("a.ics")), "a new", a);
    writer.stageRemove(path(QStringLiteral("b.ics")), b);
    const QString created = writer.stageCreate(dir(), QStringLiteral("d"), "d new");
    writer.stageReplace(path(QStringLiteral("c.ics")), QByteArray(64 * 1024, 'x'), c);
    {
        FileSizeLimit full(16 * 1024);
        try {
            writer.commit();
            FAIL() << "a write beyond the limit succeeded";
        } catch (const WriteError& error) {
            EXPECT_EQ(error.code(), EventStoreError::Code::WriteFailed);
            EXPECT_EQ(error.path(), path(QStringLiteral("c.ics")));
        }
    }
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "a original");
    EXPECT_EQ(readAll(path(QStringLiteral("b.ics"))), "b original");
    EXPECT_EQ(readAll(path(QStringLiteral("c.ics"))), "c original");
    EXPECT_FALSE(QFile::exists(created));
    EXPECT_EQ(entries(dir()), QStringList({QStringLiteral("a.ics"), QStringLiteral("b.ics"), QStringLiteral("c.ics")}));
    // The items read before the failed commit may still be saved.
    EXPECT_TRUE(writer.isCurrent(path(QStringLiteral("a.ics")), a));
    EXPECT_TRUE(writer.isCurrent(path(QStringLiteral("b.ics")), b));
    writer.stageReplace(path(QStringLiteral("c.ics")), "c small", c);
    EXPECT_NO_THROW(writer.commit());
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "a new");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("b.ics"))));
}

TEST_F(VdirWriterTest, aFullDiskOrAKilledWriteLeavesTheOriginal) {
    const QByteArray original = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";
    put(QStringLiteral("a.ics"), original);
    const QByteArray big(256 * 1024, 'y');
    {
        FileSizeLimit full(4096);
        EXPECT_THROW(replaceFile(path(QStringLiteral("a.ics")), big), WriteError);
        EXPECT_THROW(createFile(dir(), QStringLiteral("b.ics"), big), WriteError);
    }
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), original);
    EXPECT_EQ(entries(dir()), QStringList({QStringLiteral("a.ics")}));

    // The kernel kills a process that writes past its limit: a real death in
    // the middle of the write.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        try {
            replaceFile(path(QStringLiteral("a.ics")), big);
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), original);
    EXPECT_EQ(entries(dir()), QStringList({QStringLiteral("a.ics")}));
}

TEST(VdirWriterNames, onlySafeUidsNameTheFile) {
    EXPECT_EQ(fileNameForUid(QStringLiteral("A-z_0.9+")), QStringLiteral("A-z_0.9+.ics"));
    for (const QString& unsafe : {QStringLiteral(""), QStringLiteral("../x"), QStringLiteral(".hidden"),
                                  QStringLiteral("a b"), QStringLiteral("é"), QString(300, u'a')}) {
        const QString name = fileNameForUid(unsafe);
        EXPECT_EQ(name.size(), 36 + 4) << name.toStdString();
        EXPECT_TRUE(name.endsWith(QStringLiteral(".ics")));
    }
}

// A move or a split removes or shortens one file and creates another. Dying between the two must leave the item
// twice rather than nowhere: the new file is written first.
TEST_F(VdirWriterTest, aDeathBetweenTheFilesOfAMoveLosesNothing) {
    const Etag a = put(QStringLiteral("a.ics"), "a original");
    const QByteArray big(256 * 1024, 'y');
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        VdirWriter writer;
        writer.stageRemove(path(QStringLiteral("a.ics")), a);
        writer.stageCreate(dir(), QStringLiteral("moved"), big);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        try {
            writer.commit();
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readAll(path(QStringLiteral("a.ics"))), "a original");
}
