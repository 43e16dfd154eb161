#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <libical/ical.h>

#include <vector>

namespace platform::vdir {

// A file's text as libical is to read it, with every property line marked with where it stood in the file, and
// what libical writes for each of those lines unchanged. Written back, a line that no edit touched is the file's
// own, byte for byte: libical splits list values ("CATEGORIES:Work,Fun" into two lines, which other programs read
// as neither), respells numbers ("52.52" as "52.520000"), drops default parameters (VALUE=DATE-TIME) and the "\,"
// escapes of X- values, and refolds every line. Only the lines changed or added are written as libical writes them.
class IcsKeptLines {
public:
    // `original`: the text of the file (or of the item cut out of it) that the tree is to be read from.
    explicit IcsKeptLines(const QByteArray& original = {});

    // What libical is to parse: `original` with each property line marked.
    const QByteArray& marked() const { return m_marked; }
    // Takes note of what libical writes of each line, given the tree parsed from marked() before any edit.
    void noteUnchanged(icalcomponent* root);
    // The tree (parsed from marked(), or made of copies of its components) as text, free of the marks.
    QByteArray write(icalcomponent* root) const;

private:
    QByteArray newLine(const QByteArray& logical) const;

    std::vector<QByteArray> m_physical;  // by line number: the line as the file has it, folds and line break included
    QHash<qsizetype, QByteArray> m_unchanged;  // by line number: libical's lines for it, each ended by '\n'
    QByteArray m_marked;
    bool m_bareLineFeeds = false;  // the file ends its lines with LF alone
};

// The text libical writes of part of a tree parsed from IcsKeptLines::marked(), without the marks: what the part
// says, whichever lines of a file it came from.
QByteArray withoutLineMarks(const QByteArray& written);

// Where the name of a content line ends: at its first ";" or ":", else at its end.
qsizetype propertyNameEnd(QByteArrayView line);

// Index of the colon that ends the parameters of an unfolded content line (quoted parameter values may themselves
// hold colons); -1 when there is none.
qsizetype valueStart(QByteArrayView line);

// Folds one unfolded content line at 75 octets without splitting a UTF-8
// sequence, as RFC 5545 asks. `line` carries no line break; the result ends
// with CRLF.
QByteArray foldContentLine(const QByteArray& line);

}  // namespace platform::vdir
