#include "core/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace core {

namespace {

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

QString RegularFileRead::problem(qint64 maxBytes) const {
    switch (status) {
        case Status::Ok:
            return {};
        case Status::NotRegular:
            return QStringLiteral("not a regular file");
        case Status::TooLarge:
            // In the largest unit that shows the limit whole: a 64 KiB limit is no "0 MiB".
            if (maxBytes % (1024 * 1024) == 0)
                return QStringLiteral("larger than %1 MiB").arg(maxBytes / (1024 * 1024));
            if (maxBytes % 1024 == 0)
                return QStringLiteral("larger than %1 KiB").arg(maxBytes / 1024);
            return QStringLiteral("larger than %1 bytes").arg(maxBytes);
        case Status::Missing:
        case Status::Failed:
            break;
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

RegularFileRead readRegularFile(const QByteArray& nativePath, qint64 maxBytes) {
    RegularFileRead result;
    const auto failed = [&result](RegularFileRead::Status status) {
        result.status = status;
        result.error = errno;
        return result;
    };
    // Looked at before opening: opening a device or a FIFO can itself wait or have effects.
    struct stat st {};
    if (::stat(nativePath.constData(), &st) != 0)
        return failed(errno == ENOENT ? RegularFileRead::Status::Missing : RegularFileRead::Status::Failed);
    if (!S_ISREG(st.st_mode)) {
        result.status = RegularFileRead::Status::NotRegular;
        return result;
    }
    // Non-blocking as well, for a file swapped for a FIFO in between.
    const FdCloser fd{::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (fd.fd < 0)
        return failed(errno == ENOENT ? RegularFileRead::Status::Missing : RegularFileRead::Status::Failed);
    if (::fstat(fd.fd, &st) != 0)
        return failed(RegularFileRead::Status::Failed);
    if (!S_ISREG(st.st_mode)) {
        result.status = RegularFileRead::Status::NotRegular;
        return result;
    }
    result.info = st;
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

std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit) {
    RegularFileRead read = readRegularFile(QFile::encodeName(path), limit);
    if (!read.ok())
        return std::nullopt;
    return std::move(read.data);
}

}  // namespace core
