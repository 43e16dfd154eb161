#include "platform/eventstore/vdir/VdirFileSystem.h"

#include <QStringList>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace platform::vdir {

QString VdirFileStamp::toString() const {
    return QString::number(mtimeNs) + QLatin1Char('-') + QString::number(size) + QLatin1Char('-') +
           QString::number(inode);
}

std::optional<VdirFileStamp> VdirFileStamp::fromString(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() != 3)
        return std::nullopt;
    bool ok[3] = {false, false, false};
    VdirFileStamp stamp;
    stamp.mtimeNs = parts[0].toLongLong(&ok[0]);
    stamp.size = parts[1].toLongLong(&ok[1]);
    stamp.inode = parts[2].toULongLong(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2])
        return std::nullopt;
    return stamp;
}

std::optional<VdirFileStamp> VdirFileStamp::ofFile(const QString& path) {
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) != 0)
        return std::nullopt;
    return of(st);
}

VdirFileStamp VdirFileStamp::of(const struct stat& st) {
    VdirFileStamp stamp;
    stamp.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.size = static_cast<qint64>(st.st_size);
    stamp.inode = static_cast<quint64>(st.st_ino);
    return stamp;
}

namespace {

constexpr char16_t kKeptByte = 0xDC00;

// The length of the valid UTF-8 sequence starting at `p`, or 0.
int sequenceLength(const unsigned char* p, qsizetype left) {
    const unsigned char c = p[0];
    int length = 0;
    char32_t least = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    char32_t code = c & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points past Unicode are not valid UTF-8.
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

bool isKeptByte(char16_t c) {
    return c >= kKeptByte + 0x80 && c <= kKeptByte + 0xFF;
}

}  // namespace

QString decodedPath(const QByteArray& native) {
    // Nearly every name is plain ASCII; each file of a folder is named on every scan.
    if (std::all_of(native.begin(), native.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(native);
    QString result;
    result.reserve(native.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(native.constData());
    for (qsizetype i = 0; i < native.size();) {
        if (bytes[i] < 0x80) {
            result += QChar(static_cast<char16_t>(bytes[i++]));
            continue;
        }
        const int length = sequenceLength(bytes + i, native.size() - i);
        if (length == 0) {
            result += QChar(static_cast<char16_t>(kKeptByte + bytes[i++]));
            continue;
        }
        result += QString::fromUtf8(native.constData() + i, length);
        i += length;
    }
    return result;
}

QByteArray nativePath(const QString& path) {
    // Only a name with kept bytes needs encoding piece by piece; each read of a file names it.
    if (std::none_of(path.begin(), path.end(), [](QChar c) { return isKeptByte(c.unicode()); }))
        return path.toUtf8();
    QByteArray result;
    result.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        if (isKeptByte(c)) {
            result += static_cast<char>(c - kKeptByte);
        } else if (QChar::isHighSurrogate(c) && i + 1 < path.size() && path.at(i + 1).isLowSurrogate()) {
            result += path.mid(i, 2).toUtf8();
            ++i;
        } else {
            result += QString(QChar(c)).toUtf8();
        }
    }
    return result;
}

std::pair<QString, QString> splitPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return {path.left(slash), path.mid(slash + 1)};
}

QString displayedName(const QString& name) {
    QString shown = name;
    for (QChar& c : shown)
        if (isKeptByte(c.unicode()))
            c = QChar::ReplacementCharacter;
    return shown;
}

bool permitsWriting(const struct stat& st, bool accessGranted) {
    // Asked once: the app never changes who it runs as, and the call is a system call for each file of a scan.
    static const uid_t self = ::geteuid();
    return accessGranted && (st.st_uid != self || (st.st_mode & S_IWUSR));
}

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes) {
    RegularFileRead result{core::readRegularFile(nativePath(path), maxBytes), {}};
    if (result.info)
        result.stamp = VdirFileStamp::of(*result.info);
    return result;
}

}  // namespace platform::vdir
