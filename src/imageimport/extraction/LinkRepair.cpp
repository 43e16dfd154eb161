#include "imageimport/extraction/LinkRepair.h"

#include "model/MeetingLink.h"

using namespace Qt::Literals::StringLiterals;

namespace imageimport {
namespace {

bool isMeetingLink(const QString& word) { return model::MeetingLinkDetector::detect(word).has_value(); }

// Where the host of a link-like word stands: after "://", up to the first "/".
std::pair<qsizetype, qsizetype> hostSpan(const QString& word) {
    const qsizetype scheme = word.indexOf(u"://"_s);
    const qsizetype start = scheme < 0 ? 0 : scheme + 3;
    const qsizetype slash = word.indexOf(u'/', start);
    return {start, (slash < 0 ? word.size() : slash) - start};
}

// "uso2web.zoom.us": within a label of the host, an "o" beside a digit is a zero.
QString withZerosAmongDigits(QString word) {
    const auto [start, length] = hostSpan(word);
    for (qsizetype i = start; i < start + length; ++i) {
        if (word[i] != u'o' && word[i] != u'O')
            continue;
        const bool digitBefore = i > start && word[i - 1].isDigit();
        const bool digitAfter = i + 1 < start + length && word[i + 1].isDigit();
        if (digitBefore || digitAfter)
            word[i] = u'0';
    }
    return word;
}

// "teams.microsoft.com/|/meetup-join", "zoorn.us": the letters misread for "l" and "m".
QString withLettersMended(QString word) {
    word.replace(u'|', u'l');
    const auto [start, length] = hostSpan(word);
    QString host = word.mid(start, length);
    host.replace(u"rn"_s, u"m"_s);
    word.replace(start, length, host);
    // A capital I in a link is rare; a lower-case l read as one is not.
    for (qsizetype i = start + host.size(); i < word.size(); ++i) {
        if (word[i] == u'I' && word[i - 1] == u'/' && (i + 1 == word.size() || word[i + 1] == u'/'))
            word[i] = u'l';
    }
    return word;
}

QString mended(const QString& word) {
    if (!word.contains(u"://"_s) && !word.startsWith(u"www."_s, Qt::CaseInsensitive))
        return word;
    const bool meeting = isMeetingLink(word);
    const QString zeros = withZerosAmongDigits(word);
    if (meeting)
        return isMeetingLink(zeros) ? zeros : word;
    for (const QString& candidate : {withLettersMended(word), withLettersMended(zeros)}) {
        if (isMeetingLink(candidate))
            return candidate;
    }
    return word;
}

}  // namespace

QString LinkRepair::repairMeetingLinks(const QString& text) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        out += mended(text.mid(i, end - i));
        while (end < text.size() && text[end].isSpace())
            out += text[end++];
        i = end;
    }
    return out;
}

}  // namespace imageimport
