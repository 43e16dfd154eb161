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

// The content lines of `text`; with `extensionsOnly`, only those of X- properties (the others of a calendar file of
// thousands of events are passed over without being copied).
QList<ContentLine> splitContentLines(const QByteArray& text, bool extensionsOnly = false) {
    QList<ContentLine> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (extensionsOnly && text[pos] != 'X' && text[pos] != 'x') {
            // The line and its folds.
            do {
                const qsizetype end = text.indexOf('\n', pos);
                pos = end < 0 ? text.size() : end + 1;
            } while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'));
            continue;
        }
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

bool isExtensionLine(const QByteArray& line) {
    return line.size() > 2 && (line[0] == 'X' || line[0] == 'x') && line[1] == '-';
}

// What libical itself writes for this line's value after reading it.
QByteArray libicalSpelling(const QByteArray& line) {
    // Folded: libical's time grows with the square of the length of one physical line.
    QByteArray folded = foldContentLine(line);
    folded.chop(2);
    icalproperty* property = icalproperty_new_from_string(folded.constData());
    if (property == nullptr) {
        return {};
    }
    char* text = icalproperty_as_ical_string_r(property);
    icalproperty_free(property);
    if (text == nullptr) {
        return {};
    }
    const QList<ContentLine> written = splitContentLines(QByteArray(text));
    free(text);
    if (written.isEmpty()) {
        return {};
    }
    const QByteArray& logical = written.first().logical;
    const qsizetype colon = valueStart(logical);
    return colon < 0 ? QByteArray() : logical.mid(colon + 1);
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

QByteArray serializeKeepingRawValues(icalcomponent* root, const QByteArray& original) {
    char* text = icalcomponent_as_ical_string_r(root);
    if (text == nullptr) {
        return {};
    }
    const QByteArray written(text);
    free(text);

    // (name, libical's spelling) -> the original spelling, first line wins.
    QHash<QByteArray, QByteArray> rawByWritten;
    for (const ContentLine& line : splitContentLines(original, true)) {
        if (!isExtensionLine(line.logical)) {
            continue;
        }
        const qsizetype colon = valueStart(line.logical);
        if (colon < 0) {
            continue;
        }
        const QByteArray raw = line.logical.mid(colon + 1);
        const QByteArray spelled = libicalSpelling(line.logical);
        if (spelled == raw) {
            continue;
        }
        const QByteArray key = propertyName(line.logical) + '\0' + spelled;
        if (!rawByWritten.contains(key)) {
            rawByWritten.insert(key, raw);
        }
    }
    if (rawByWritten.isEmpty() && !written.contains(kKeptUntil)) {
        return written;
    }

    QByteArray out;
    out.reserve(written.size() + 64);
    for (const ContentLine& line : splitContentLines(written)) {
        if (const QByteArray rule = withKeptUntil(line.logical); !rule.isEmpty()) {
            out += foldContentLine(rule);
            continue;
        }
        if (isExtensionLine(line.logical)) {
            const qsizetype colon = valueStart(line.logical);
            if (colon >= 0) {
                const auto found =
                    rawByWritten.constFind(propertyName(line.logical) + '\0' + line.logical.mid(colon + 1));
                if (found != rawByWritten.constEnd()) {
                    out += foldContentLine(line.logical.left(colon + 1) + found.value());
                    continue;
                }
            }
        }
        out += line.physical;
    }
    return out;
}

}  // namespace platform::vdir
