#include "app/design_files.h"

#include "app/recovery_store.h"
#include "app/window_design.h"
#include "core/design_file.h"
#include "core/dialogs.h"
#include "pages/page.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTextEdit>
#include <QWidget>

#include <chrono>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// How long after the last change the recovery file is written.
constexpr std::chrono::milliseconds kRecoveryDelay{2000};
constexpr qsizetype kMostRecentFiles = 8;

QString WindowCaption() {
    return ApplicationTitle() + u"----Quelvaro"_s;
}

QStringList Filters() {
    return {u"谐波计算方案 (*.%1)"_s.arg(QLatin1String(kDesignSuffix))};
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The program's settings, apart from any design: an INI file in the user's
// configuration folder, on every platform (and in the test folders while tests run).
QSettings Settings() {
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u"/hcalc.ini"_s,
                     QSettings::IniFormat);
}

const QString kRecentKey = u"recentFiles"_s;

// The design's bytes as they are compared: which page is shown is no change.
QByteArray Comparable(DesignDocument design) {
    design.page.clear();
    return WriteDesign(design);
}

}  // namespace

DesignFiles::DesignFiles(QWidget& window, WindowDesign& design, Dialogs& dialogs)
    : m_window(window), m_design(design), m_dialogs(dialogs), m_saved(Comparable(design.fresh())) {
    m_recoveryDelay.setSingleShot(true);
    m_recoveryDelay.setInterval(kRecoveryDelay);
    connect(&m_recoveryDelay, &QTimer::timeout, this, &DesignFiles::writeRecovery);
    updateCaption();
}

DesignFiles::~DesignFiles() = default;

void DesignFiles::watch(QWidget& root) {
    for (QLineEdit* field : root.findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textChanged, this, &DesignFiles::changed);
    }
    for (QComboBox* list : root.findChildren<QComboBox*>()) {
        connect(list, &QComboBox::currentIndexChanged, this, &DesignFiles::changed);
    }
    for (QTextEdit* text : root.findChildren<QTextEdit*>()) {
        connect(text, &QTextEdit::textChanged, this, &DesignFiles::changed);
    }
    for (Page* page : root.findChildren<Page*>()) {
        connect(page, &Page::calculationEnded, this, &DesignFiles::calculated);
    }
}

void DesignFiles::changed() {
    if (m_applying) {
        return;
    }
    m_dirty = true;
    updateCaption();
    if (m_recovery != nullptr) {
        m_recoveryDelay.start();
    }
}

void DesignFiles::calculated() {
    // A calculation may change only what no control shows (the shared table), and it is the step worth keeping.
    changed();
    writeRecovery();
}

QByteArray DesignFiles::currentBytes() const {
    return Comparable(m_design.capture());
}

bool DesignFiles::hasUnsavedChanges() const {
    return m_dirty && currentBytes() != m_saved;
}

void DesignFiles::updateCaption() {
    // Without a file the caption is the program's own, with no mark.
    if (m_path.isEmpty()) {
        m_window.setWindowTitle(WindowCaption());
    } else {
        m_window.setWindowTitle(QFileInfo(m_path).fileName() + u"[*] - "_s + WindowCaption());
        m_window.setWindowModified(m_dirty);
    }
}

void DesignFiles::setClean(const QString& path) {
    m_path = path;
    m_saved = currentBytes();
    m_dirty = false;
    m_recoveryDelay.stop();
    if (m_recovery != nullptr) {
        m_recovery->remove();
    }
    if (!path.isEmpty()) {
        addRecent(path);
    }
    updateCaption();
}

void DesignFiles::writeRecovery() {
    m_recoveryDelay.stop();
    if (m_recovery == nullptr || !m_dirty) {
        return;
    }
    if (!hasUnsavedChanges()) {
        // Changed back to what the file holds: nothing to recover, nothing to mark.
        m_dirty = false;
        m_recovery->remove();
        updateCaption();
        return;
    }
    DesignDocument design = m_design.capture();
    design.recoveredFile = m_path;
    m_recovery->write(WriteDesign(design));
}

bool DesignFiles::mayClose() {
    if (m_sessionEnding) {
        return true;  // the recovery file keeps what is unsaved
    }
    if (hasUnsavedChanges()) {
        const QString question = m_path.isEmpty()
                                     ? u"当前方案尚未保存，是否保存？"_s
                                     : u"方案“%1”已修改，是否保存修改？"_s.arg(QFileInfo(m_path).fileName());
        switch (m_dialogs.AskSaveChanges(question)) {
            case Dialogs::SaveChanges::Save:
                if (!save()) {
                    return false;
                }
                break;
            case Dialogs::SaveChanges::Discard:
                break;
            case Dialogs::SaveChanges::Cancel:
                return false;
        }
    }
    m_recoveryDelay.stop();
    if (m_recovery != nullptr) {
        m_recovery->remove();
    }
    return true;
}

void DesignFiles::newDesign() {
    if (!mayClose()) {
        return;
    }
    QString refusal;
    show(m_design.fresh(), refusal);  // a new design runs no search: it cannot be refused
    setClean(QString());
}

void DesignFiles::openDesign() {
    if (!mayClose()) {
        return;
    }
    const QString path = m_dialogs.AskOpenFileName(u"打开方案"_s, Filters());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool DesignFiles::open(const QString& path) {
    return mayClose() && openFile(path);
}

void DesignFiles::openRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        QStringList files = recentFiles();
        files.removeAll(path);
        setRecent(files);
        m_dialogs.ShowNotice(u"方案文件“%1”已不存在，已从最近打开的方案中移除。"_s.arg(Shown(path)));
        return;
    }
    open(path);
}

bool DesignFiles::openFile(const QString& path) {
    QString reason;
    if (load(path, reason)) {
        setClean(QFileInfo(path).absoluteFilePath());
        return true;
    }
    if (!reason.isEmpty()) {
        m_dialogs.ShowFault(u"无法打开方案文件“%1”：%2。"_s.arg(Shown(path), reason));
    }
    return false;
}

std::optional<DesignDocument> DesignFiles::read(const QString& path, QString& reason) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return std::nullopt;
    }
    // Read no more than a design may take: a huge file is refused by its size.
    const QByteArray bytes = file.read(kMaxDesignBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return std::nullopt;
    }
    DesignReading reading = ReadDesign(bytes);
    if (!reading.design) {
        reason = reading.error;
        return std::nullopt;
    }
    reason = m_design.misfit(*reading.design);
    if (!reason.isEmpty()) {
        return std::nullopt;
    }
    return std::move(reading.design);
}

bool DesignFiles::show(const DesignDocument& design, QString& reason) {
    m_applying = true;  // showing a design is no change of it
    const bool shown = m_design.apply(design, reason);
    m_applying = false;
    return shown;
}

bool DesignFiles::load(const QString& path, QString& reason) {
    const std::optional<DesignDocument> design = read(path, reason);
    return design && show(*design, reason);
}

bool DesignFiles::save() {
    return m_path.isEmpty() ? saveAs() : writeTo(m_path);
}

bool DesignFiles::saveAs() {
    const QString suggested = m_path.isEmpty() ? u"方案.%1"_s.arg(QLatin1String(kDesignSuffix)) : m_path;
    QString path = m_dialogs.AskSaveFileName(u"方案另存为"_s, suggested, Filters());
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String(kDesignSuffix), Qt::CaseInsensitive) != 0) {
        path += u'.' + QLatin1String(kDesignSuffix);
    }
    return writeTo(path);
}

bool DesignFiles::writeTo(const QString& path) {
    // Committed whole or not at all: a failed save leaves the file that was there as it was.
    QSaveFile file(path);
    const QByteArray bytes = WriteDesign(m_design.capture());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_dialogs.ShowFault(u"无法保存方案文件“%1”：%2。"_s.arg(Shown(path), file.errorString()));
        return false;
    }
    setClean(QFileInfo(path).absoluteFilePath());
    return true;
}

QStringList DesignFiles::recentFiles() const {
    return Settings().value(kRecentKey).toStringList();
}

void DesignFiles::addRecent(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    setRecent(files.mid(0, kMostRecentFiles));
}

void DesignFiles::setRecent(const QStringList& files) {
    QSettings settings = Settings();
    settings.setValue(kRecentKey, files);
    settings.sync();
    Q_EMIT recentFilesChanged();
}

void DesignFiles::keepRecoveryIn(RecoveryStore& store) {
    m_recovery = &store;
}

void DesignFiles::offerRecovery() {
    if (m_recovery == nullptr) {
        return;
    }
    for (const RecoveryStore::Orphan& orphan : m_recovery->claimOrphans()) {
        QString reason;
        const std::optional<DesignDocument> design = read(orphan.path, reason);
        if (!design) {
            m_recovery->discard(orphan);  // nothing that could be shown
            continue;
        }
        const QString origin = design->recoveredFile;
        const QString question =
            u"程序上次没有正常结束，留下了一份未保存的方案（自动保存于%1%2）。\n是否恢复这份方案？"_s.arg(
                orphan.saved.toString(u"yyyy-MM-dd HH:mm:ss"_s),
                origin.isEmpty() ? QString() : u"，方案文件“%1”"_s.arg(Shown(origin)));
        if (!m_dialogs.AskRecover(question)) {
            m_recovery->discard(orphan);
            continue;
        }
        if (!show(*design, reason)) {
            continue;  // its searches were cancelled: the file stays for the next start
        }
        // Unsaved in this window now, and kept in this run's own recovery file before the old one goes.
        m_path = origin;
        m_saved.clear();
        m_dirty = true;
        updateCaption();
        writeRecovery();
        m_recovery->discard(orphan);
        return;
    }
}

void DesignFiles::commitRecovery() {
    writeRecovery();
}

void DesignFiles::endSession() {
    writeRecovery();
    m_sessionEnding = true;
}

}  // namespace hcalc
