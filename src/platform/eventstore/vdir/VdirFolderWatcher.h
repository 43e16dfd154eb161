#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <optional>

class QSocketNotifier;

namespace platform::vdir {

// Watches folders (never single files: a file replaced by a rename silently drops out of a file watch) for items
// created, written, touched, renamed or removed in them, and reports each burst of such changes once, after
// the burst. Uses inotify directly because a directory watch through QFileSystemWatcher does not report a file
// rewritten in place.
class VdirFolderWatcher : public QObject {
    Q_OBJECT

public:
    explicit VdirFolderWatcher(int quietMilliseconds = 100, QObject* parent = nullptr);
    ~VdirFolderWatcher() override;

    // Replaces the watched set.
    void setFolders(const QStringList& folders);
    QStringList folders() const { return m_watches.values(); }
    // Whether every folder asked for is watched (inotify may be missing, or out of watches).
    bool isComplete() const { return m_complete; }
    // The files that changed in the watched folders since the last call; nullopt when only a rescan can tell what
    // changed (a folder came, went or was moved, or changes were lost).
    std::optional<QStringList> takeChangedFiles();

signals:
    void changed();

private:
    void readEvents();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QHash<int, QString> m_watches;
    QTimer m_quiet;
    bool m_complete = false;
    QSet<QString> m_changedFiles;
    bool m_changedFolders = false;
};

}  // namespace platform::vdir
