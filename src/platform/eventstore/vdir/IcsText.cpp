#include "platform/eventstore/vdir/IcsText.h"

#include "platform/eventstore/vdir/IcsRuleText.h"

#include <QByteArrayList>
#include <QHash>
#include <QList>

#include <cstdlib>

namespace platform::vdir {
namespace {

struct ContentLine {
    QByteArray logical;   // unfolded
    QByteArray physical;  // as it appeared, folds and line break included
};

// The content lines of `text`.
QList<ContentLine> splitContentLines(const QByteArray& text) {
    QList<ContentLine> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        ContentLine line;
        bool first = true;
        while (pos < text.size()) {
            if (!first && text[pos] != ' ' && text[pos] != '\t') {
                break;
            }
            qsizetype end = text.indexOf('\n', pos);
            const qsizetype next = end < 0 ? text.size() : end + 1;
            if (end < 0) {
                end = text.size();
            }
            qsizetype contentEnd = end;
            if (contentEnd > pos && text[contentEnd - 1] == '\r') {
                --contentEnd;
            }
            line.physical += text.mid(pos, next - pos);
            line.logical += text.mid(first ? pos : pos + 1, contentEnd - (first ? pos : pos + 1));
            pos = next;
            first = false;
        }
        lines.append(line);
    }
    return lines;
}

// The property name of a content line, upper-cased ("X-ALT-DESC").
QByteArray propertyName(const QByteArray& line) {
    return line.left(propertyNameEnd(line)).toUpper();
}

// The mark put on each property line: a parameter of ours, which libical keeps on the property and its copies.
constexpr QByteArrayView kLineMark = ";X-ORBITDAY-LINE=";

bool isComponentBoundary(const QByteArray& name) {
    return name == "BEGIN" || name == "END";
}

struct MarkedLine {
    qsizetype line = -1;  // -1: not marked
    QByteArray logical;   // without the mark
};

// The mark of a line libical wrote, and the line without it. Ours comes first of the marks (it follows the name),
// so one that the file itself had stays.
MarkedLine unmarked(const QByteArray& logical) {
    const qsizetype colon = valueStart(logical);
    const qsizetype at = colon < 0 ? -1 : logical.indexOf(kLineMark);
    if (at < 0 || at > colon)
        return {-1, logical};
    qsizetype end = at + kLineMark.size();
    while (end < colon && logical[end] >= '0' && logical[end] <= '9')
        ++end;
    bool ok = false;
    const qsizetype line = logical.mid(at + kLineMark.size(), end - at - kLineMark.size()).toLongLong(&ok);
    if (!ok)
        return {-1, logical};
    return {line, logical.left(at) + logical.mid(end)};
}

// An RRULE line carrying an UNTIL kept aside (see IcsRuleText.h) as the rule with both of its ends, or, where an
// edit gave the rule an UNTIL (or took its COUNT), as just the rule.
QByteArray withKeptUntil(const QByteArray& logical) {
    const qsizetype colon = valueStart(logical);
    if (colon < 0 || propertyName(logical) != "RRULE") {
        return {};
    }
    QByteArray value = logical.mid(colon + 1);
    QByteArrayList parameters;
    QByteArray until;
    const QByteArray keptName = QByteArray(kKeptUntil) + '=';
    for (const QByteArray& parameter : logical.left(colon).split(';').mid(1)) {
        if (parameter.toUpper().startsWith(keptName)) {
            until = parameter.mid(keptName.size());
        } else {
            parameters << parameter;
        }
    }
    if (until.isEmpty()) {
        return {};
    }
    const QByteArray upper = value.toUpper();
    if (!upper.contains("UNTIL=") && upper.contains("COUNT=")) {
        value += ";UNTIL=" + until;
    }
    parameters.prepend("RRULE");
    return parameters.join(';') + ':' + value;
}

}  // namespace

qsizetype propertyNameEnd(QByteArrayView line) {
    qsizetype end = 0;
    while (end < line.size() && line[end] != ';' && line[end] != ':')
        ++end;
    return end;
}

qsizetype valueStart(QByteArrayView line) {
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ':' && !quoted) {
            return i;
        }
    }
    return -1;
}

QByteArray foldContentLine(const QByteArray& line) {
    constexpr qsizetype kLimit = 75;
    QByteArray out;
    qsizetype pos = 0;
    qsizetype room = kLimit;
    while (line.size() - pos > room) {
        qsizetype cut = pos + room;
        // Never start a continuation with a UTF-8 continuation byte.
        while (cut > pos + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out += line.mid(pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = kLimit - 1;
    }
    out += line.mid(pos);
    out += "\r\n";
    return out;
}

QByteArray withoutLineMarks(const QByteArray& written) {
    if (!written.contains(kLineMark))
        return written;
    QByteArray out;
    for (const ContentLine& line : splitContentLines(written))
        out += foldContentLine(unmarked(line.logical).logical);
    return out;
}

IcsKeptLines::IcsKeptLines(const QByteArray& original) {
    const qsizetype firstBreak = original.indexOf('\n');
    m_bareLineFeeds = firstBreak > 0 && original[firstBreak - 1] != '\r';
    m_marked.reserve(original.size() + original.size() / 8);
    const QList<ContentLine> lines = splitContentLines(original);
    m_physical.reserve(static_cast<size_t>(lines.size()));
    for (const ContentLine& line : lines) {
        const auto number = static_cast<qsizetype>(m_physical.size());
        QByteArray physical = line.physical;
        if (!physical.endsWith('\n'))
            physical += "\r\n";
        m_physical.push_back(physical);
        const QByteArray& logical = line.logical;
        const qsizetype nameEnd = propertyNameEnd(logical);
        if (nameEnd == 0 || valueStart(logical) < 0 || isComponentBoundary(logical.left(nameEnd).toUpper())) {
            m_marked += physical;
            continue;
        }
        // Folded: libical's time grows with the square of the length of one physical line.
        m_marked += foldContentLine(logical.left(nameEnd) + kLineMark.toByteArray() + QByteArray::number(number) +
                                    logical.mid(nameEnd));
    }
}

namespace {

QList<ContentLine> writtenLines(icalcomponent* root) {
    char* text = icalcomponent_as_ical_string_r(root);
    if (text == nullptr)
        return {};
    const QByteArray written(text);
    free(text);
    return splitContentLines(written);
}

}  // namespace

void IcsKeptLines::noteUnchanged(icalcomponent* root) {
    for (const ContentLine& line : writtenLines(root)) {
        const MarkedLine marked = unmarked(line.logical);
        if (marked.line >= 0)
            m_unchanged[marked.line] += marked.logical + '\n';
    }
}

QByteArray IcsKeptLines::newLine(const QByteArray& logical) const {
    const QByteArray rule = withKeptUntil(logical);
    QByteArray folded = foldContentLine(rule.isEmpty() ? logical : rule);
    if (m_bareLineFeeds)
        folded.replace("\r\n", "\n");
    return folded;
}

QByteArray IcsKeptLines::write(icalcomponent* root) const {
    const QList<ContentLine> lines = writtenLines(root);
    QByteArray out;
    for (qsizetype i = 0; i < lines.size();) {
        const MarkedLine first = unmarked(lines[i].logical);
        if (first.line < 0) {
            out += newLine(first.logical);
            ++i;
            continue;
        }
        // The lines libical made of one line of the file (a list value gives several) are that line again only
        // as a whole.
        std::vector<QByteArray> group{first.logical};
        QByteArray written = first.logical + '\n';
        qsizetype next = i + 1;
        for (; next < lines.size(); ++next) {
            MarkedLine more = unmarked(lines[next].logical);
            if (more.line != first.line)
                break;
            written += more.logical + '\n';
            group.push_back(std::move(more.logical));
        }
        const auto unchanged = m_unchanged.constFind(first.line);
        if (unchanged != m_unchanged.constEnd() && *unchanged == written &&
            first.line < static_cast<qsizetype>(m_physical.size())) {
            out += m_physical[static_cast<size_t>(first.line)];
        } else {
            for (const QByteArray& logical : group)
                out += newLine(logical);
        }
        i = next;
    }
    return out;
}

}  // namespace platform::vdir
