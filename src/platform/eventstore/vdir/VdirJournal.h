#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace platform::vdir {

// The intent of a change that spans several files of a vdir (an event moved to another calendar, a series split
// in two), written to the store's own state folder before the first of the files is touched. A change cut short by
// the death of the process between two files is finished when the store next opens, or undone where another
// program changed one of its files meanwhile: every item is then there once, as it was or as it was to be.
class VdirJournal {
public:
    struct Entry {
        QString path;                      // absolute, below the root
        std::optional<QByteArray> before;  // nullopt: there was no file
        std::optional<QByteArray> after;   // nullopt: there is to be no file
    };

    // Writes the journal whole (a journal is there complete or not at all) and holds it locked while the change
    // is written, so that no other store takes it for one cut short. Throws WriteError.
    VdirJournal(const QString& root, const std::vector<Entry>& entries);
    ~VdirJournal();
    VdirJournal(const VdirJournal&) = delete;
    VdirJournal& operator=(const VdirJournal&) = delete;

    // The change was written whole, or undone whole: the journal goes. Without this the journal stays for the
    // next start to settle.
    void discard();

    // Settles every change of `root` cut short by a process that is gone.
    static void recover(const QString& root);

private:
    QString m_path;
    int m_fd = -1;
};

}  // namespace platform::vdir
