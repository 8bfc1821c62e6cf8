#pragma once

#include "core/design_file.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class Dialogs;
class QWidget;

namespace hcalc {

class RecoveryStore;
class WindowDesign;

// The window's design files: new, open, save and save as, the recent files,
// the caption with the file's name and its modified mark, the question
// before unsaved changes would be lost, and the recovery file that keeps
// them while they are in no file.
class DesignFiles final : public QObject {
    Q_OBJECT

public:
    // window gets the caption; every change of a field, list or text area
    // under it, and every calculation, counts as a change.
    DesignFiles(QWidget& window, WindowDesign& design, Dialogs& dialogs);
    ~DesignFiles() override;

    // Watches the changes of every control under root; calculationEnded is
    // the signal of a page whose calculations count too.
    void watch(QWidget& root);
    void calculated();

    QString filePath() const { return m_path; }
    // Changes that are in no file: what the pages show differs from the file
    // last opened or saved (or from a new design).
    bool hasUnsavedChanges() const;

    void newDesign();   // "新建方案"
    void openDesign();  // "打开方案…"
    bool save();        // "保存方案"; false when not saved
    bool saveAs();      // "方案另存为…"
    // Opens a file, after the question about unsaved changes; false when it
    // was not opened (cancelled, or the error box told why).
    bool open(const QString& path);
    void openRecent(const QString& path);
    QStringList recentFiles() const;

    // Keeps unsaved changes in the store's recovery file from now on.
    void keepRecoveryIn(RecoveryStore& store);
    // Offers, once each, the designs that earlier runs left behind, newest
    // first, until one is recovered.
    void offerRecovery();
    // The desktop session may be ending: unsaved changes go into the
    // recovery file at once. If the session ends, the file stays for the next start.
    void commitRecovery();
    // The system stops the program: as commitRecovery, and the window then
    // closes without a question.
    void endSession();
    // The window is about to close: true when it may (the question was
    // answered, or the session is ending). A normal end removes the recovery file.
    bool mayClose();

Q_SIGNALS:
    void recentFilesChanged();

private:
    void changed();
    bool openFile(const QString& path);
    bool writeTo(const QString& path);
    // Reads a design file, validated against the window; the reason why not otherwise.
    std::optional<DesignDocument> read(const QString& path, QString& reason) const;
    // Shows a design whole, as no change; false when the user cancelled a
    // search it runs again, or with the reason why it was refused.
    bool show(const DesignDocument& design, QString& reason);
    // Reads a design file and shows it; the reason why not otherwise (empty when the user cancelled).
    bool load(const QString& path, QString& reason);
    // After a file was opened or saved, or a new design shown: nothing is unsaved.
    void setClean(const QString& path);
    void addRecent(const QString& path);
    void setRecent(const QStringList& files);
    void updateCaption();
    void writeRecovery();
    QByteArray currentBytes() const;

    QWidget& m_window;
    WindowDesign& m_design;
    Dialogs& m_dialogs;
    QString m_path;
    QByteArray m_saved;    // the design as last opened or saved, its page left out; empty after a recovery
    bool m_dirty = false;  // a change since; whether it is unsaved is told by comparing
    bool m_applying = false;
    bool m_sessionEnding = false;
    RecoveryStore* m_recovery = nullptr;
    QTimer m_recoveryDelay;
};

}  // namespace hcalc
