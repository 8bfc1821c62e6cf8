#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class QLockFile;

namespace hcalc {

// The recovery files of the running program and of earlier runs, in one
// folder. While a run has changes that are in no file, its window keeps the
// design in a file of its own there; a normal end removes it. A run holds a
// lock beside its file for as long as it lives, so a file whose lock is
// stale (its run was killed, crashed or lost its power) or gone (its run
// ended with the desktop session) belongs to nobody: an orphan, which the
// next start offers to recover.
class RecoveryStore {
public:
    // The folder is made when missing.
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();

    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // This run's recovery file, written atomically; false when it could not be.
    bool write(const QByteArray& design);
    // Removes this run's file, if any.
    void remove();
    QString path() const { return m_path; }

    struct Orphan {
        QString path;
        QDateTime saved;
    };
    // The files that belong to no running program, newest first. Each is
    // claimed for this run (no other start offers it meanwhile) until it is
    // discarded or this store ends.
    std::vector<Orphan> claimOrphans();
    // Removes an orphan's file, once it has been offered.
    void discard(const Orphan& orphan);

private:
    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> m_claimed;  // by the orphan's path
};

}  // namespace hcalc
