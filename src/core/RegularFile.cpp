#include "core/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace core {

std::optional<QByteArray> readRegularFile(const QString& path, qint64 limit) {
    // Non-blocking, so that opening a FIFO returns at once; its type is then refused.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<QByteArray> contents;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= limit) {
        QByteArray bytes;
        // One byte more than the size, to notice a file that grew past it meanwhile.
        bytes.resize(static_cast<qsizetype>(st.st_size) + 1);
        qsizetype total = 0;
        while (total < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + total, static_cast<size_t>(bytes.size() - total));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break;
            if (n == 0) {
                bytes.truncate(total);
                contents = std::move(bytes);
                break;
            }
            total += n;
        }
    }
    ::close(fd);
    return contents;
}

}  // namespace core
