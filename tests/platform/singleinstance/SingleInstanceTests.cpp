#include "platform/singleinstance/InstanceMessage.h"
#include "platform/singleinstance/SingleInstance.h"

#include "EventLoop.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using platform::InstanceFrameReader;
using platform::InstanceMessage;
using platform::SingleInstance;

namespace {

QByteArray frame(const QByteArray& json) {
    QByteArray header(4, '\0');
    qToBigEndian(static_cast<quint32>(json.size()), header.data());
    return header + json;
}

std::optional<InstanceMessage> readWhole(const QByteArray& bytes) {
    InstanceFrameReader reader;
    for (const char byte : bytes)  // as slowly as a socket may deliver it
        reader.feed(QByteArray(1, byte));
    return reader.message();
}

TEST(InstanceMessages, RoundTripFrameByFrame) {
    EXPECT_EQ(readWhole(platform::encodeFrame(InstanceMessage::reopen())), InstanceMessage::reopen());
    const auto open = InstanceMessage::openFiles({u"/home/u/ticket.png"_s, u"/tmp/a b\nc.pdf"_s});
    EXPECT_EQ(readWhole(platform::encodeFrame(open)), open);
    EXPECT_EQ(readWhole(platform::encodeFrame(InstanceMessage::privacySettings())), InstanceMessage::privacySettings());
}

TEST(InstanceMessages, MalformedOnesAreNotMessages) {
    for (const QByteArray& json :
         {"not json"_ba, "[]"_ba, R"({"request":"quit"})"_ba, R"({"request":"open"})"_ba,
          R"({"request":"open","paths":[]})"_ba, R"({"request":"open","paths":["relative.png"]})"_ba,
          R"({"request":"open","paths":[42]})"_ba, R"({"request":"open","paths":"/x.png"})"_ba}) {
        EXPECT_EQ(readWhole(frame(json)), std::nullopt) << json.constData();
    }
}

TEST(InstanceMessages, FramesOverTheLimitOrWithTrailingBytesAreInvalid) {
    InstanceFrameReader tooLong;
    QByteArray header(4, '\0');
    qToBigEndian(static_cast<quint32>(platform::kMaxInstanceMessageBytes + 1), header.data());
    EXPECT_EQ(tooLong.feed(header), InstanceFrameReader::State::invalid);
    EXPECT_EQ(tooLong.feed(frame("{}")), InstanceFrameReader::State::invalid);

    InstanceFrameReader trailing;
    EXPECT_EQ(trailing.feed(platform::encodeFrame(InstanceMessage::reopen()) + "x"), InstanceFrameReader::State::invalid);

    // A message of exactly the limit is still read.
    QByteArray json = R"({"request":"open","paths":["/)"_ba;
    json += QByteArray(platform::kMaxInstanceMessageBytes - json.size() - 3, 'a') + R"("]})"_ba;
    ASSERT_EQ(json.size(), platform::kMaxInstanceMessageBytes);
    ASSERT_TRUE(readWhole(frame(json)));
}

class SingleInstanceSocket : public ::testing::Test {
protected:
    QString path = testsupport::homeFolder() + u"/run-%1/orbitday-instance"_s.arg(++s_count);

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path())); }

    static std::vector<InstanceMessage> collect(SingleInstance& instance) {
        std::vector<InstanceMessage> received;
        QObject::connect(&instance, &SingleInstance::messageReceived,
                         [&received](const InstanceMessage& m) { received.push_back(m); });
        return received;
    }

    // Writes raw bytes as a hostile or broken client would.
    void sendRaw(const QByteArray& bytes) {
        QLocalSocket socket;
        socket.connectToServer(path);
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(bytes);
        socket.waitForBytesWritten(2000);
        socket.disconnectFromServer();
    }

    static inline int s_count = 0;
};

TEST_F(SingleInstanceSocket, ALaterLaunchHandsItsRequestToTheRunningOne) {
    SingleInstance running(path);
    ASSERT_EQ(running.claim(), SingleInstance::Role::running);
    std::vector<InstanceMessage> received;
    QObject::connect(&running, &SingleInstance::messageReceived,
                     [&received](const InstanceMessage& m) { received.push_back(m); });

    // The socket is the user's alone.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0U);

    SingleInstance later(path);
    ASSERT_EQ(later.claim(), SingleInstance::Role::another);
    ASSERT_TRUE(later.send(InstanceMessage::reopen()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return received.size() == 1; }));
    EXPECT_EQ(received[0], InstanceMessage::reopen());

    const auto files = InstanceMessage::openFiles({u"/home/u/ticket.png"_s});
    ASSERT_TRUE(SingleInstance(path).send(files));
    ASSERT_TRUE(testsupport::waitUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received[1], files);
}

TEST_F(SingleInstanceSocket, GarbageIsDroppedAndTheNextMessageStillArrives) {
    SingleInstance running(path);
    ASSERT_EQ(running.claim(), SingleInstance::Role::running);
    std::vector<InstanceMessage> received;
    QObject::connect(&running, &SingleInstance::messageReceived,
                     [&received](const InstanceMessage& m) { received.push_back(m); });

    sendRaw("\x00\x00\x00\x05{{{{{"_ba);
    sendRaw(frame(R"({"request":"open","paths":["../etc/passwd"]})"));
    sendRaw(QByteArray(200'000, 'z'));  // a header claiming far more than allowed, and more
    sendRaw("\x00\x00"_ba);             // cut short
    ASSERT_TRUE(SingleInstance(path).send(InstanceMessage::reopen()));
    ASSERT_TRUE(testsupport::waitUntil([&] { return !received.empty(); }));
    testsupport::spinEventLoop(100);
    ASSERT_EQ(received.size(), 1U);
    EXPECT_EQ(received[0], InstanceMessage::reopen());
}

TEST_F(SingleInstanceSocket, AMessageTooLongToBeTakenIsAFailureToSendNotASuccess) {
    SingleInstance running(path);
    ASSERT_EQ(running.claim(), SingleInstance::Role::running);
    std::vector<InstanceMessage> received;
    QObject::connect(&running, &SingleInstance::messageReceived,
                     [&received](const InstanceMessage& m) { received.push_back(m); });

    QStringList paths;
    for (int i = 0; i < 1000; ++i)
        paths << u"/home/someone/Pictures/Screenshots/Screenshot from 2026-03-11 %1.png"_s.arg(i, 6, 10, QLatin1Char('0'));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SingleInstance(path).send(InstanceMessage::openFiles(paths)));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("too long"), std::string::npos);
    // The first of them alone fits, and arrives.
    ASSERT_TRUE(SingleInstance(path).send(InstanceMessage::openFiles({paths.first()})));
    ASSERT_TRUE(testsupport::waitUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received[0], InstanceMessage::openFiles({paths.first()}));
}

TEST_F(SingleInstanceSocket, ASocketNobodyAnswersOnIsReplaced) {
    // What a crashed instance leaves behind: a bound socket file with no listener.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));

    SingleInstance running(path);
    ASSERT_EQ(running.claim(), SingleInstance::Role::running);
    EXPECT_EQ(SingleInstance(path).claim(), SingleInstance::Role::another);
}

TEST(SingleInstanceWithoutRuntimeFolder, RunsAlone) {
    SingleInstance instance(u"/nonexistent-folder/orbitday-instance"_s);
    EXPECT_EQ(instance.claim(), SingleInstance::Role::alone);
}

}  // namespace
