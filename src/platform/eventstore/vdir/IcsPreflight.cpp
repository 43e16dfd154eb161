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
                const QByteArrayView name = QByteArrayView(line + 6, length - 6).trimmed();
                if (name.compare("VEVENT", Qt::CaseInsensitive) == 0 || name.compare("VTODO", Qt::CaseInsensitive) == 0)
                    ++result.items;
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

std::optional<IcsOutline> outlineCalendar(const QByteArray& text) {
    IcsOutline outline;
    // The components the line is in, the calendar first.
    std::vector<QByteArrayView> open;
    bool ended = false;
    for (qsizetype pos = 0; pos < text.size();) {
        qsizetype end = text.indexOf('\n', pos);
        end = end < 0 ? text.size() : end + 1;
        const char* line = text.constData() + pos;
        const qsizetype length = end - pos;
        const bool continued = line[0] == ' ' || line[0] == '\t';
        const bool begins = !continued && length >= 6 && qstrnicmp(line, "BEGIN:", 6) == 0;
        const bool ends = !continued && length >= 4 && qstrnicmp(line, "END:", 4) == 0;
        if (ended) {
            // Anything but blank lines after the calendar: not one plain calendar.
            if (!QByteArrayView(line, length).trimmed().isEmpty())
                return std::nullopt;
        } else if (open.empty()) {
            if (!begins || qstrnicmp(line + 6, "VCALENDAR", 9) != 0)
                return std::nullopt;
            outline.frame.append(line, length);
            open.push_back(QByteArrayView(line + 6, length - 6).trimmed());
        } else if (begins) {
            const QByteArrayView name = QByteArrayView(line + 6, length - 6).trimmed();
            if (open.size() == 1)
                outline.components.push_back({pos, end, name});
            open.push_back(name);
        } else if (ends) {
            outline.namesMatch =
                outline.namesMatch &&
                QByteArrayView(line + 4, length - 4).trimmed().compare(open.back(), Qt::CaseInsensitive) == 0;
            open.pop_back();
            if (open.empty()) {
                ended = true;
            } else if (open.size() == 1) {
                outline.components.back().end = end;
            }
        } else if (open.size() == 1) {
            outline.frame.append(line, length);
        }
        pos = end;
    }
    if (!ended)
        return std::nullopt;
    return outline;
}

std::vector<QByteArray> splitIntoCalendars(const QByteArray& text, int parts) {
    // Below this a file reads in a few milliseconds anyway.
    constexpr qsizetype kWorthSplitting = 1024 * 1024;
    constexpr qsizetype kPartSize = 256 * 1024;
    if (text.size() < kWorthSplitting || parts < 2)
        return {};
    const std::optional<IcsOutline> outline = outlineCalendar(text);
    if (!outline)
        return {};
    struct Range {
        qsizetype begin;
        qsizetype end;
    };
    const QByteArray& frame = outline->frame;
    QByteArray zones;
    std::vector<Range> components;
    components.reserve(outline->components.size());
    for (const IcsOutline::Part& part : outline->components) {
        if (part.name.compare("VTIMEZONE", Qt::CaseInsensitive) == 0)
            zones.append(text.constData() + part.begin, part.end - part.begin);
        else
            components.push_back({part.begin, part.end});
    }
    if (components.size() < static_cast<size_t>(parts) * 16)
        return {};
    // More parts than threads, each small: a reader frees what libical made of one part before it reads the next,
    // so that memory (almost 3 KB for each recurrence rule) is used again rather than taken anew from the system.
    // Every part repeats the zone definitions, which may add no more than the file's own size.
    const qsizetype body = components.back().end - components.front().begin;
    qsizetype count = std::max<qsizetype>(parts, body / kPartSize);
    if (!zones.isEmpty())
        count = std::min(count, std::max<qsizetype>(parts, text.size() / zones.size()));
    count = std::min(count, std::max<qsizetype>(parts, static_cast<qsizetype>(components.size()) / 16));
    const qsizetype share = body / count + 1;
    std::vector<QByteArray> calendars;
    size_t next = 0;
    while (next < components.size()) {
        const size_t first = next;
        const qsizetype from = components[first].begin;
        while (next < components.size() && (next == first || components[next].end - from <= share))
            ++next;
        const qsizetype to = components[next - 1].end;
        QByteArray calendar;
        calendar.reserve(frame.size() + zones.size() + (to - from) + 16);
        calendar.append(frame).append(zones).append(text.constData() + from, to - from).append("END:VCALENDAR\r\n");
        calendars.push_back(std::move(calendar));
    }
    return calendars;
}

}  // namespace platform::vdir
