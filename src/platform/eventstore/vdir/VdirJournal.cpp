#include "platform/eventstore/vdir/VdirJournal.h"

#include "core/Log.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"
#include "platform/eventstore/vdir/VdirFileWrites.h"
#include "platform/eventstore/vdir/VdirLayout.h"
#include "platform/eventstore/vdir/VdirWriter.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::vdir {

namespace {

using Code = EventStoreError::Code;

constexpr QByteArrayView kMagic = "ORBITDAY-JOURNAL 1\n";
// A move or split touches two or three files of at most the reader's limit each, before and after.
constexpr qint64 kMaxJournalSize = 8 * kMaxItemFileSize;

// The app's own folder in the XDG state folder.
QString appStateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/orbitday");
}

QString stateFolder() {
    return appStateFolder() + QStringLiteral("/journal");
}

// Journals of one root share a prefix; their names sort in the order they were written.
QString prefixFor(const QString& root) {
    const QByteArray absolute = nativePath(QFileInfo(root).absoluteFilePath());
    return QString::fromLatin1(QCryptographicHash::hash(absolute, QCryptographicHash::Sha256).toHex().left(16)) +
           QLatin1Char('-');
}

QString errnoText(int error = errno) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes the folder and those above it that are missing; the errno of the step that failed, else 0.
int makeFolders(const QString& folder) {
    const QByteArray native = nativePath(folder);
    for (qsizetype slash = native.indexOf('/', 1); ; slash = native.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? native : native.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash < 0)
            break;
    }
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

// The journal cannot be written: said to the user as what it is, and to the log with the reason.
[[noreturn]] void throwStateFolderError(const QString& path, int error) {
    core::log(QStringLiteral("cannot write the journal at %1: %2").arg(path, errnoText(error)));
    throw WriteError(Code::WriteFailed, path, errnoText(error),
                     QStringLiteral("The change was not made: Orbitday's state folder %1 is not writable.")
                         .arg(appStateFolder()));
}

void syncFolder(const QString& folder) {
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray lengthOf(const std::optional<QByteArray>& content) {
    return content ? QByteArray::number(content->size()) : QByteArray("-1");
}

QByteArray encode(const QString& root, const std::vector<VdirJournal::Entry>& entries) {
    const QByteArray nativeRoot = nativePath(root);
    QByteArray out = kMagic.toByteArray();
    out += QByteArray::number(nativeRoot.size()) + '\n' + nativeRoot + '\n';
    out += QByteArray::number(static_cast<qsizetype>(entries.size())) + '\n';
    for (const VdirJournal::Entry& entry : entries) {
        const QByteArray relative = nativePath(entry.path.mid(root.size() + 1));
        out += QByteArray::number(relative.size()) + ' ' + lengthOf(entry.before) + ' ' + lengthOf(entry.after) + '\n';
        out += relative + entry.before.value_or(QByteArray()) + entry.after.value_or(QByteArray()) + '\n';
    }
    return out + "END\n";
}

// Reads what encode() wrote, trusting nothing: the state folder is the user's too.
class Decoder {
public:
    explicit Decoder(const QByteArray& data) : m_data(data) {}

    std::optional<std::vector<VdirJournal::Entry>> entries(const QString& root) {
        if (!m_data.startsWith(kMagic))
            return std::nullopt;
        m_pos = kMagic.size();
        const auto rootLength = number();
        if (!rootLength || bytes(*rootLength) != nativePath(root) || !expect('\n'))
            return std::nullopt;
        const auto count = number();
        if (!count || *count < 1 || *count > 64)
            return std::nullopt;
        std::vector<VdirJournal::Entry> entries;
        for (qsizetype i = 0; i < *count; ++i) {
            const auto pathLength = number(' ');
            const auto beforeLength = number(' ');
            const auto afterLength = number();
            if (!pathLength || !beforeLength || !afterLength || *pathLength < 1)
                return std::nullopt;
            const QByteArray relative = bytes(*pathLength);
            if (!isInside(relative))
                return std::nullopt;
            VdirJournal::Entry entry;
            entry.path = root + QLatin1Char('/') + decodedPath(relative);
            if (*beforeLength >= 0)
                entry.before = bytes(*beforeLength);
            if (*afterLength >= 0)
                entry.after = bytes(*afterLength);
            if (m_failed || !expect('\n') || (!entry.before && !entry.after))
                return std::nullopt;
            entries.push_back(std::move(entry));
        }
        if (m_data.mid(m_pos) != "END\n")
            return std::nullopt;
        return entries;
    }

private:
    // A relative path that stays below the root.
    static bool isInside(const QByteArray& relative) {
        if (relative.startsWith('/') || relative.contains('\0'))
            return false;
        for (const QByteArray& part : relative.split('/'))
            if (part.isEmpty() || part == "." || part == "..")
                return false;
        return true;
    }

    std::optional<qsizetype> number(char end = '\n') {
        const qsizetype stop = m_data.indexOf(end, m_pos);
        if (stop < 0 || stop - m_pos > 12)
            return std::nullopt;
        bool ok = false;
        const qlonglong value = m_data.mid(m_pos, stop - m_pos).toLongLong(&ok);
        m_pos = stop + 1;
        if (!ok || value < -1 || value > kMaxJournalSize)
            return std::nullopt;
        return static_cast<qsizetype>(value);
    }

    QByteArray bytes(qsizetype length) {
        if (length < 0 || length > m_data.size() - m_pos) {
            m_failed = true;
            return {};
        }
        const QByteArray result = m_data.mid(m_pos, length);
        m_pos += length;
        return result;
    }

    bool expect(char c) {
        if (m_pos >= m_data.size() || m_data[m_pos] != c)
            return false;
        ++m_pos;
        return true;
    }

    const QByteArray& m_data;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

// Whether every file of the change is one the store itself could have written: an item file, not a link, right in
// a folder the scan takes for a calendar. Text alone is not enough: a link inside a calendar's folder leads the
// path anywhere, while the calendars the user linked into the root are the scan's own and stay writable.
bool staysWithinCalendars(const QString& root, const std::vector<VdirJournal::Entry>& entries) {
    const VdirScan scan = scanVdir(root);
    for (const VdirJournal::Entry& entry : entries) {
        // Named, not structured bindings: clang-14 (the fuzz build's) lets no lambda capture those.
        const auto split = splitPath(entry.path);
        const QString& folder = split.first;
        const QString& name = split.second;
        if (!isItemFileName(name))
            return false;
        const bool inCalendar = std::any_of(scan.collections.begin(), scan.collections.end(),
                                            [&](const VdirCollectionFolder& c) { return c.path == folder; });
        struct stat st {};
        const bool isLink = ::lstat(nativePath(entry.path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
        if (!inCalendar || isLink)
            return false;
    }
    return true;
}

enum class State { Before, After, Other };

State stateOf(const VdirJournal::Entry& entry) {
    std::optional<QByteArray> current;
    struct stat st {};
    if (::lstat(nativePath(entry.path).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return State::Other;
        RegularFileRead read = readRegularFile(entry.path, kMaxItemFileSize);
        if (read.status == RegularFileRead::Status::Ok)
            current = std::move(read.data);
        else if (read.status != RegularFileRead::Status::Missing)
            return State::Other;
    } else if (errno != ENOENT) {
        return State::Other;
    }
    if (current == entry.after)
        return State::After;
    return current == entry.before ? State::Before : State::Other;
}

void put(const QString& path, const std::optional<QByteArray>& content) {
    const QByteArray native = nativePath(path);
    if (!content) {
        if (::unlink(native.constData()) != 0 && errno != ENOENT)
            throw WriteError(Code::WriteFailed, path, errnoText());
        writeStep();
        return;
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0) {
        replaceFile(path, *content);
        return;
    }
    const QFileInfo info(path);
    if (!createFile(info.path(), info.fileName(), *content))
        throw WriteError(Code::Conflict, path, QStringLiteral("the name was taken meanwhile"));
}

// Brings every file to the state after the change, or, when another program changed one of them meanwhile, every
// other one back to the state before it. Returns whether that was done.
bool settle(const std::vector<VdirJournal::Entry>& entries) {
    std::vector<State> states;
    for (const VdirJournal::Entry& entry : entries)
        states.push_back(stateOf(entry));
    const bool forward = std::find(states.begin(), states.end(), State::Other) == states.end();
    try {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (states[i] == State::Other || states[i] == (forward ? State::After : State::Before))
                continue;
            put(entries[i].path, forward ? entries[i].after : entries[i].before);
        }
    } catch (const WriteError& error) {
        core::log(QStringLiteral("could not settle a change cut short at %1: %2").arg(error.path(), error.detail()));
        return false;
    }
    core::log(forward ? QStringLiteral("finished a change of %1 files that was cut short").arg(entries.size())
                      : QStringLiteral("undid a change of %1 files that was cut short: a file of it changed meanwhile")
                            .arg(entries.size()));
    return true;
}

}  // namespace

VdirJournal::VdirJournal(const QString& root, const std::vector<Entry>& entries) {
    const QString folder = stateFolder();
    if (const int error = makeFolders(folder); error != 0)
        throwStateFolderError(folder, error);
    const QString name = prefixFor(root) +
                         QStringLiteral("%1-%2-%3.journal")
                             .arg(QDateTime::currentMSecsSinceEpoch(), 15, 10, QLatin1Char('0'))
                             .arg(::getpid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    m_path = folder + QLatin1Char('/') + name;
    const QString temporary = folder + QStringLiteral("/.") + name;
    const QByteArray nativeTemporary = nativePath(temporary);
    m_fd = ::open(nativeTemporary.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        throwStateFolderError(folder, errno);
    if (m_fd < 0)
        throw WriteError(Code::WriteFailed, temporary, errnoText());
    // Locked before it has its name: no store can take it for the journal of a writer that is gone.
    const QByteArray content = encode(root, entries);
    bool written = ::flock(m_fd, LOCK_EX) == 0;
    for (qsizetype done = 0; written && done < content.size();) {
        const ssize_t n = ::write(m_fd, content.constData() + done, static_cast<size_t>(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        done += n;
    }
    written = written && ::fdatasync(m_fd) == 0;
    writeStep();
    if (!written || ::rename(nativeTemporary.constData(), nativePath(m_path).constData()) != 0) {
        const QString detail = errnoText();
        ::unlink(nativeTemporary.constData());
        ::close(m_fd);
        m_fd = -1;
        throw WriteError(Code::WriteFailed, m_path, detail);
    }
    syncFolder(folder);
    writeStep();
}

VdirJournal::~VdirJournal() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void VdirJournal::discard() {
    if (m_fd < 0)
        return;
    ::unlink(nativePath(m_path).constData());
    writeStep();
    ::close(m_fd);
    m_fd = -1;
}

void VdirJournal::recover(const QString& root) {
    const QDir folder(stateFolder());
    // A journal still being written when its writer died: nothing of its change was written yet.
    for (const QString& name :
         folder.entryList({QLatin1Char('.') + prefixFor(root) + QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden)) {
        const QByteArray path = nativePath(folder.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        if (fd >= 0)
            ::close(fd);
    }
    const QStringList names =
        folder.entryList({prefixFor(root) + QStringLiteral("*.journal")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Locked: its writer is at work.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        const RegularFileRead read = readRegularFile(path, kMaxJournalSize);
        const auto entries = read.ok() ? Decoder(read.data).entries(root) : std::nullopt;
        if (!entries || !staysWithinCalendars(root, *entries)) {
            core::log(QStringLiteral("set aside a damaged journal: %1").arg(path));
            QFile::rename(path, path + QStringLiteral(".damaged"));
        } else if (settle(*entries)) {
            ::unlink(nativePath(path).constData());
            writeStep();
        }
        ::close(fd);
    }
}

}  // namespace platform::vdir
