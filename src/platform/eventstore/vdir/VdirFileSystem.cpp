#include "platform/eventstore/vdir/VdirFileSystem.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform::vdir {

namespace {

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

QString VdirFileStamp::toString() const {
    return QStringLiteral("%1-%2-%3").arg(mtimeNs).arg(size).arg(inode);
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
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
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

bool permitsWriting(const struct stat& st, bool accessGranted) {
    return accessGranted && (st.st_uid != ::geteuid() || (st.st_mode & S_IWUSR));
}

QString RegularFileRead::problem(qint64 maxBytes) const {
    switch (status) {
        case Status::Ok:
            return {};
        case Status::NotRegular:
            return QStringLiteral("not a regular file");
        case Status::TooLarge:
            return QStringLiteral("larger than %1 MiB").arg(maxBytes / (1024 * 1024));
        case Status::Missing:
        case Status::Failed:
            break;
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes) {
    RegularFileRead result;
    const QByteArray native = QFile::encodeName(path);
    const auto failed = [&result](RegularFileRead::Status status) {
        result.status = status;
        result.error = errno;
        return result;
    };
    // Looked at before opening: opening a device or a FIFO can itself wait or have effects.
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return failed(errno == ENOENT ? RegularFileRead::Status::Missing : RegularFileRead::Status::Failed);
    if (!S_ISREG(st.st_mode)) {
        result.status = RegularFileRead::Status::NotRegular;
        return result;
    }
    // Non-blocking as well, for a file swapped for a FIFO in between.
    const FdCloser fd{::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (fd.fd < 0)
        return failed(errno == ENOENT ? RegularFileRead::Status::Missing : RegularFileRead::Status::Failed);
    if (::fstat(fd.fd, &st) != 0)
        return failed(RegularFileRead::Status::Failed);
    if (!S_ISREG(st.st_mode)) {
        result.status = RegularFileRead::Status::NotRegular;
        return result;
    }
    result.stamp = VdirFileStamp::of(st);
    if (st.st_size > maxBytes) {
        result.status = RegularFileRead::Status::TooLarge;
        return result;
    }
    // One byte more than allowed tells a file that grew since fstat from one that did not.
    result.data.resize(static_cast<qsizetype>(st.st_size) + 1);
    qsizetype total = 0;
    while (total < result.data.size()) {
        const ssize_t n = ::read(fd.fd, result.data.data() + total, static_cast<size_t>(result.data.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed(RegularFileRead::Status::Failed);
        if (n == 0)
            break;
        total += n;
        if (total > maxBytes) {
            result.data.clear();
            result.status = RegularFileRead::Status::TooLarge;
            return result;
        }
        if (total == result.data.size() && total <= maxBytes)
            result.data.resize(std::min<qsizetype>(total * 2, maxBytes + 1));
    }
    result.data.truncate(total);
    result.status = RegularFileRead::Status::Ok;
    return result;
}

}  // namespace platform::vdir
