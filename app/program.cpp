#include "app/program.h"

#include "app/application.h"
#include "app/design_files.h"
#include "app/main_window.h"
#include "app/quit_on_signal.h"
#include "app/recovery_store.h"

#include <QApplication>
#include <QSessionManager>
#include <QStandardPaths>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// The first argument that is not an option: a design file to open.
QString FileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u'-')) {
            return arguments[i];
        }
    }
    return {};
}

}  // namespace

int RunProgram(QApplication& app, Dialogs& dialogs, const std::function<void(TForm1&)>& started) {
    SetUpApplication(app);
    TForm1 window(dialogs);
    DesignFiles& files = window.designFiles();
    RecoveryStore recovery(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u"/recovery"_s);
    files.keepRecoveryIn(recovery);

    // Stopped by the system: what is unsaved stays in the recovery file, and no question holds up the end.
    QuitOnTerminationSignals(app, [&files] { files.endSession(); });
    // The desktop session ends (log-off, shut-down): the session manager asks first. Whatever is unsaved is
    // kept at once, as the process may be ended without another event.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&files](QSessionManager& /*manager*/) { files.commitRecovery(); });
    // The session ends (Windows: WM_ENDSESSION emits aboutToQuit, then quits, closing the window): the window
    // closes without a question and the recovery file stays for the next start. At a normal end the window
    // has closed before aboutToQuit, and its own end stands.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window, &files] {
        if (window.isVisible()) {
            files.endSession();
        }
    });

    window.showMaximized();
    files.offerRecovery();
    if (const QString file = FileArgument(QCoreApplication::arguments()); !file.isEmpty()) {
        files.open(file);
    }
    if (started) {
        started(window);
    }
    return QApplication::exec();
}

}  // namespace hcalc
