#include "platform/eventstore/vdir/VdirFileWrites.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"

#include "platform/eventstore/vdir/VdirWriter.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::vdir {

namespace {

using Code = EventStoreError::Code;

std::function<void()>& stepHook() {
    static std::function<void()> hook;
    return hook;
}

QString errnoText(int error = errno) {
    return QString::fromLocal8Bit(std::strerror(error));
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

constexpr char kTemporaryPrefix[] = ".orbitday-";
constexpr char kTemporarySuffix[] = ".tmp";

QByteArray temporaryName() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray random(8, 'x');
    for (char& c : random)
        c = kLetters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof(kLetters) - 1))];
    return kTemporaryPrefix + QByteArray::number(::getpid()) + '-' + random + kTemporarySuffix;
}

// The writer's pid, when `name` is one of our temporaries.
std::optional<pid_t> temporaryOwner(const char* name) {
    const QByteArrayView text(name);
    if (!text.startsWith(kTemporaryPrefix) || !text.endsWith(kTemporarySuffix))
        return std::nullopt;
    const QByteArrayView middle = text.sliced(sizeof(kTemporaryPrefix) - 1,
                                              text.size() - (sizeof(kTemporaryPrefix) - 1) - (sizeof(kTemporarySuffix) - 1));
    const qsizetype dash = middle.indexOf('-');
    if (dash <= 0 || dash == middle.size() - 1)
        return std::nullopt;
    bool ok = false;
    const qlonglong pid = middle.first(dash).toLongLong(&ok);
    if (!ok || pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

// Writes everything, in two halves with a step between them: a death half-way is one of the cases.
void writeAll(int fd, const QByteArray& content, const QString& path) {
    qsizetype done = 0;
    const qsizetype half = content.size() / 2;
    while (done < content.size()) {
        const qsizetype until = done < half ? half : content.size();
        const ssize_t n = ::write(fd, content.constData() + done, static_cast<size_t>(until - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw WriteError(Code::WriteFailed, path, errnoText());
        done += n;
        if (done == half)
            writeStep();
    }
    if (::fdatasync(fd) != 0)
        throw WriteError(Code::WriteFailed, path, errnoText());
}

// Writes `content` to `fd`, with `mode` when given (else as the umask has it), before anything is written: a
// private calendar stays private, also while it is being written.
void fill(int fd, const QByteArray& content, std::optional<mode_t> mode, const QString& path) {
    if (mode && ::fchmod(fd, *mode) != 0)
        throw WriteError(Code::WriteFailed, path, errnoText());
    writeAll(fd, content, path);
}

// A file with `content` and no name yet (O_TMPFILE): a death before it is named leaves nothing behind. Nullopt
// where the file system cannot make one.
std::unique_ptr<Fd> writeAnonymous(const QByteArray& directory, const QByteArray& content, std::optional<mode_t> mode,
                                   const QString& path) {
    auto fd = std::make_unique<Fd>(::open(directory.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd->get() < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT)
            return nullptr;
        throw WriteError(Code::WriteFailed, path, errnoText());
    }
    writeStep();
    fill(fd->get(), content, mode, path);
    writeStep();
    return fd;
}

// Names an anonymous file; false when the name is taken (link() never replaces a file).
bool name(const Fd& fd, const QByteArray& target, const QString& path) {
    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(fd.get());
    if (::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    throw WriteError(Code::WriteFailed, path, errnoText());
}

// A file with `content` under one of our temporary names in `directory`.
QByteArray writeTemporary(const QByteArray& directory, const QByteArray& content, std::optional<mode_t> mode,
                          const QString& path) {
    if (const auto anonymous = writeAnonymous(directory, content, mode, path)) {
        for (int attempt = 0; attempt < 8; ++attempt) {
            const QByteArray temporary = directory + '/' + temporaryName();
            if (name(*anonymous, temporary, path)) {
                writeStep();
                return temporary;
            }
        }
        throw WriteError(Code::WriteFailed, path, QStringLiteral("no free temporary name"));
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray temporary = directory + '/' + temporaryName();
        const Fd fd(::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd.get() < 0 && errno == EEXIST)
            continue;
        if (fd.get() < 0)
            throw WriteError(Code::WriteFailed, path, errnoText());
        try {
            writeStep();
            fill(fd.get(), content, mode, path);
        } catch (const WriteError&) {
            ::unlink(temporary.constData());
            throw;
        }
        writeStep();
        return temporary;
    }
    throw WriteError(Code::WriteFailed, path, QStringLiteral("no free temporary name"));
}

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : path.left(slash);
}

}  // namespace

void setWriteStepHookForTesting(std::function<void()> hook) {
    stepHook() = std::move(hook);
}

void writeStep() {
    if (const auto& hook = stepHook())
        hook();
}

void replaceFile(const QString& path, const QByteArray& content) {
    const QByteArray target = nativePath(path);
    struct stat st {};
    const mode_t mode = ::stat(target.constData(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    const QByteArray temporary = writeTemporary(directoryOf(target), content, mode, path);
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        throw WriteError(Code::WriteFailed, path, errnoText(error));
    }
    writeStep();
}

bool createFile(const QString& directory, const QString& fileName, const QByteArray& content) {
    const QString path = directory + u'/' + fileName;
    const QByteArray target = nativePath(path);
    const QByteArray nativeDirectory = nativePath(directory);
    if (const auto anonymous = writeAnonymous(nativeDirectory, content, std::nullopt, path)) {
        const bool named = name(*anonymous, target, path);
        if (named)
            writeStep();
        return named;
    }
    const QByteArray temporary = writeTemporary(nativeDirectory, content, std::nullopt, path);
    const int linked = ::link(temporary.constData(), target.constData());
    const int error = errno;
    if (linked == 0)
        writeStep();
    ::unlink(temporary.constData());
    if (linked == 0)
        return true;
    if (error == EEXIST)
        return false;
    throw WriteError(Code::WriteFailed, path, errnoText(error));
}

void removeStaleTemporaries(const QString& folder) {
    const QByteArray native = nativePath(folder);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native.constData()), &::closedir);
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::optional<pid_t> owner = temporaryOwner(entry->d_name);
        // A live pid may be a writer at work (or a stranger that took a dead writer's pid): left alone.
        if (!owner || (*owner != ::getpid() && (::kill(*owner, 0) == 0 || errno != ESRCH)))
            continue;
        ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

}  // namespace platform::vdir
