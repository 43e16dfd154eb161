// The clipboard read over a connection of its own, on another thread, while this
// process owns the clipboard and its main thread answers, as another program would.

#include "platform/workspace/XcbClipboardReader.h"

#include "EventLoop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using namespace Qt::Literals::StringLiterals;

namespace {

void offer(const QString& format, const QByteArray& bytes) {
    auto* mime = new QMimeData;
    mime->setData(format, bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
}

std::optional<QByteArray> readElsewhere(const QString& format, qsizetype most) {
    const platform::XcbClipboardReader reader;
    std::future<std::optional<QByteArray>> read =
        std::async(std::launch::async, [&] { return reader.read(format, most); });
    // The owner, this process, answers on this thread meanwhile.
    testsupport::waitUntil([&] { return read.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000);
    return read.get();
}

QByteArray pattern(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 4096) & 0xff);
    return bytes;
}

TEST(XcbClipboardReader, ReadsWhatTheOwnerHandsOverWholeInOnePieceOrInMany) {
    const QByteArray small = pattern(1000);
    offer(u"image/png"_s, small);
    EXPECT_EQ(readElsewhere(u"image/png"_s, 1 << 20), small);

    // Far more than one request carries: handed over in pieces.
    const QByteArray large = pattern(12 * 1024 * 1024 + 5);
    offer(u"image/png"_s, large);
    EXPECT_EQ(readElsewhere(u"image/png"_s, 64 << 20), large);
}

TEST(XcbClipboardReader, NothingForAFormatNotOfferedForMoreThanAllowedOrWithoutAnOwner) {
    offer(u"image/png"_s, pattern(3 * 1024 * 1024));
    EXPECT_FALSE(readElsewhere(u"image/jpeg"_s, 64 << 20));
    EXPECT_FALSE(readElsewhere(u"image/png"_s, 1 << 20));
    // The next read is unharmed by the one given up half way.
    EXPECT_EQ(readElsewhere(u"image/png"_s, 64 << 20)->size(), 3 * 1024 * 1024);
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(readElsewhere(u"image/png"_s, 64 << 20));
}

}  // namespace
