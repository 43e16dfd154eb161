#pragma once

#include "platform/workspace/ClipboardReader.h"

#include <QHash>

#include <atomic>

namespace platform {

// A clipboard holding bytes in the formats it was given; counts its reads.
class FakeClipboardReader final : public ClipboardReader {
public:
    void offer(const QString& format, const QByteArray& bytes) { m_offered.insert(format, bytes); }

    std::optional<QByteArray> read(const QString& format, qsizetype most) const override {
        ++m_reads;
        const auto found = m_offered.constFind(format);
        if (found == m_offered.constEnd() || found->size() > most)
            return std::nullopt;
        return *found;
    }
    int reads() const { return m_reads; }

private:
    QHash<QString, QByteArray> m_offered;
    mutable std::atomic<int> m_reads = 0;
};

}  // namespace platform
