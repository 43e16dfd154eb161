#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <libical/ical.h>

namespace platform::vdir {

// Writes a parsed calendar back to text. libical drops the "\," and "\;"
// escapes of X- property values on output, which changes what other programs
// read from them (a comma-separated list and an escaped comma become the same
// text). Every X- property whose value libical reads the same as a line of
// `original` is therefore written with that line's own spelling of the value;
// lines we changed or added are left as libical writes them.
QByteArray serializeKeepingRawValues(icalcomponent* root, const QByteArray& original);

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
