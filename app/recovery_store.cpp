#include "app/recovery_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSuffix = u".hcalc"_s;

QString LockOf(const QString& path) {
    return path + u".lock"_s;
}

std::unique_ptr<QLockFile> Lock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(LockOf(path));
    lock->setStaleLockTime(0);  // stale only when its run is gone, however long a run lasts
    if (!lock->tryLock(0)) {
        return nullptr;
    }
    return lock;
}

}  // namespace

RecoveryStore::RecoveryStore(QString folder) : m_folder(std::move(folder)) {
    QDir().mkpath(m_folder);
    // A name no other run has: this process's id and the time it started, in milliseconds.
    m_path = QDir(m_folder).filePath(
        u"run-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(QDateTime::currentMSecsSinceEpoch()) + kSuffix);
    m_lock = Lock(m_path);
}

RecoveryStore::~RecoveryStore() = default;

bool RecoveryStore::write(const QByteArray& design) {
    if (m_lock == nullptr) {
        return false;  // without its lock the file would look abandoned to the next start
    }
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(design) == design.size() && file.commit();
}

void RecoveryStore::remove() {
    QFile::remove(m_path);
}

std::vector<RecoveryStore::Orphan> RecoveryStore::claimOrphans() {
    std::vector<Orphan> orphans;
    const QFileInfoList files = QDir(m_folder).entryInfoList({u"*"_s + kSuffix}, QDir::Files);
    for (const QFileInfo& file : files) {
        if (file.absoluteFilePath() == QFileInfo(m_path).absoluteFilePath()) {
            continue;
        }
        std::unique_ptr<QLockFile> lock = Lock(file.absoluteFilePath());
        if (lock == nullptr) {
            continue;  // its run is still running
        }
        orphans.push_back({file.absoluteFilePath(), file.lastModified()});
        m_claimed.emplace_back(file.absoluteFilePath(), std::move(lock));
    }
    // Locks left without their file by runs that never wrote one are of no use to anybody.
    for (const QFileInfo& lockFile : QDir(m_folder).entryInfoList({u"*"_s + kSuffix + u".lock"_s}, QDir::Files)) {
        const QString design = lockFile.absoluteFilePath().chopped(5);
        if (!QFileInfo::exists(design) && design != QFileInfo(m_path).absoluteFilePath()) {
            if (auto lock = Lock(design)) {
                lock->unlock();
            }
        }
    }
    std::sort(orphans.begin(), orphans.end(), [](const Orphan& a, const Orphan& b) { return a.saved > b.saved; });
    return orphans;
}

void RecoveryStore::discard(const Orphan& orphan) {
    QFile::remove(orphan.path);
    const auto claimed = std::find_if(m_claimed.begin(), m_claimed.end(),
                                      [&orphan](const auto& lock) { return lock.first == orphan.path; });
    if (claimed != m_claimed.end()) {
        claimed->second->unlock();
        m_claimed.erase(claimed);
    }
}

}  // namespace hcalc
