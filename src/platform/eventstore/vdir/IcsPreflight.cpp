#include "platform/eventstore/vdir/IcsPreflight.h"

#include <algorithm>

namespace platform::vdir {

namespace {

// libical builds, counts and frees components recursively: a file of a few MiB nested a few hundred thousand levels
// deep overflows the stack. Real files nest four levels at most.
constexpr int kMaxDepth = 64;
// libical's time per property grows with the square of its parameters (200,000 took minutes). Real properties
// carry at most a dozen or so.
constexpr int kMaxParameters = 64;
// libical's time per physical line grows with the square of its length (15 MiB took minutes); folding keeps the
// value and costs nothing.
constexpr qsizetype kFoldAt = 4096;

bool startsWithName(const char* line, qsizetype length, const char* name) {
    const auto size = static_cast<qsizetype>(qstrlen(name));
    return length > size && qstrnicmp(line, name, static_cast<uint>(size)) == 0 &&
           (line[size] == ':' || line[size] == ';');
}

// The name and parameters of one logical line, which may run over several physical ones.
struct LogicalLine {
    bool inValue = false;
    bool inQuotes = false;
    int parameters = 0;
    bool listProperty = false;

    void start(const char* line, qsizetype length) {
        *this = {};
        listProperty = startsWithName(line, length, "CATEGORIES") || startsWithName(line, length, "RESOURCES");
        scan(line, length);
    }

    // Until the first colon outside quotes, every semicolon outside quotes starts a parameter.
    void scan(const char* text, qsizetype length) {
        for (qsizetype i = 0; i < length && !inValue; ++i) {
            if (text[i] == '"')
                inQuotes = !inQuotes;
            else if (!inQuotes && text[i] == ';')
                ++parameters;
            else if (!inQuotes && text[i] == ':')
                inValue = true;
        }
    }
};

}  // namespace

IcsPreflight preflightIcs(const QByteArray& data) {
    IcsPreflight result;
    QByteArray folded;  // written only once a line needs folding
    qsizetype copiedUpTo = 0;
    LogicalLine logical;
    int depth = 0;
    for (qsizetype pos = 0; pos < data.size();) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0)
            end = data.size();
        const char* line = data.constData() + pos;
        qsizetype length = end - pos;
        if (length > 0 && line[length - 1] == '\r')
            --length;
        if (length > 0 && (line[0] == ' ' || line[0] == '\t')) {
            logical.scan(line + 1, length - 1);
        } else {
            logical.start(line, length);
            if (length >= 6 && qstrnicmp(line, "BEGIN:", 6) == 0) {
                ++result.components;
                if (++depth > kMaxDepth) {
                    result.problem = QStringLiteral("components nested too deeply");
                    return result;
                }
            } else if (length >= 4 && qstrnicmp(line, "END:", 4) == 0) {
                depth = std::max(0, depth - 1);
            }
        }
        if (logical.parameters > kMaxParameters) {
            result.problem = QStringLiteral("a property with more than %1 parameters").arg(kMaxParameters);
            return result;
        }
        if (logical.listProperty && QByteArrayView(line, length).contains("\\,"))
            result.escapedListComma = true;
        if (length > kFoldAt) {
            if (folded.isEmpty())
                folded.reserve(data.size() + data.size() / kFoldAt * 3 + 16);
            folded.append(data.constData() + copiedUpTo, pos - copiedUpTo);
            folded.append(line, kFoldAt);
            for (qsizetype at = kFoldAt; at < length; at += kFoldAt)
                folded.append("\r\n ").append(line + at, std::min(kFoldAt, length - at));
            copiedUpTo = pos + length;
        }
        pos = end + 1;
    }
    if (folded.isEmpty()) {
        result.text = data;
    } else {
        folded.append(data.constData() + copiedUpTo, data.size() - copiedUpTo);
        result.text = std::move(folded);
    }
    return result;
}

}  // namespace platform::vdir
