#include "platform/eventstore/vdir/VdirFolderWatcher.h"
#include "platform/eventstore/vdir/VdirFileSystem.h"

#include <QFile>
#include <QSet>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace platform::vdir {

namespace {

constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB |
                           IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

VdirFolderWatcher::VdirFolderWatcher(int quietMilliseconds, QObject* parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(quietMilliseconds);
    connect(&m_quiet, &QTimer::timeout, this, &VdirFolderWatcher::changed);
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &VdirFolderWatcher::readEvents);
}

VdirFolderWatcher::~VdirFolderWatcher() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void VdirFolderWatcher::setFolders(const QStringList& folders) {
    m_complete = false;
    if (m_fd < 0)
        return;
    const QSet<QString> wanted(folders.begin(), folders.end());
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        if (!wanted.contains(it.value())) {
            ::inotify_rm_watch(m_fd, it.key());
            it = m_watches.erase(it);
        } else {
            ++it;
        }
    }
    const QList<QString> watched = m_watches.values();
    const QSet<QString> present(watched.begin(), watched.end());
    for (const QString& folder : wanted) {
        if (present.contains(folder))
            continue;
        const int wd = ::inotify_add_watch(m_fd, nativePath(folder).constData(), kMask);
        if (wd >= 0)
            m_watches.insert(wd, folder);
    }
    m_complete = m_watches.size() == wanted.size();
}

std::optional<QStringList> VdirFolderWatcher::takeChangedFiles() {
    const QSet<QString> files = std::exchange(m_changedFiles, {});
    if (std::exchange(m_changedFolders, false))
        return std::nullopt;
    return QStringList(files.begin(), files.end());
}

void VdirFolderWatcher::readEvents() {
    alignas(inotify_event) std::array<char, 16384> buffer{};
    bool relevant = false;
    for (;;) {
        const ssize_t length = ::read(m_fd, buffer.data(), buffer.size());
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_IGNORED) {
                m_watches.remove(event->wd);
                m_complete = false;
                m_changedFolders = true;
                relevant = true;
                continue;
            }
            if (event->mask & IN_Q_OVERFLOW)
                m_complete = false;
            // Hidden files are the temporary files of writers; the rename that follows is what counts.
            if (event->len > 0 && event->name[0] == '.')
                continue;
            relevant = true;
            const auto folder = m_watches.constFind(event->wd);
            if (event->len == 0 || (event->mask & IN_ISDIR) || folder == m_watches.constEnd())
                m_changedFolders = true;
            else
                m_changedFiles.insert(*folder + QLatin1Char('/') + decodedPath(QByteArray(event->name)));
        }
    }
    if (relevant)
        m_quiet.start();
}

}  // namespace platform::vdir
