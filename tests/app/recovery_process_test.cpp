// Recovery for real: the program, started as a process, has its inputs typed
// and calculated, and is killed (SIGKILL; TerminateProcess on Windows),
// stopped by the system (SIGTERM) or, on Windows, ended with the desktop
// session (WM_QUERYENDSESSION, then WM_ENDSESSION). Started again, it offers
// the design once, and recovered, every field is as it was.

#include "support/qt_printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

using namespace Qt::Literals::StringLiterals;

// What a run of the driver printed: its "name=text" lines.
struct Printed {
    std::map<QString, QString> lines;
    int exitCode = -1;
};

Printed Parse(const QByteArray& output) {
    Printed run;
    for (const QString& line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0) {
            run.lines[line.left(equals)] = line.mid(equals + 1).trimmed();
        }
    }
    return run;
}

// A printed line's text; empty when it was not printed.
QString Line(const Printed& run, const QString& name) {
    const auto line = run.lines.find(name);
    return line == run.lines.end() ? QString() : line->second;
}

QString RecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u"/recovery"_s;
}

// The text of every recovery file in the folder.
QByteArray RecoveryFiles() {
    QByteArray all;
    for (const QFileInfo& file : QDir(RecoveryFolder()).entryInfoList({u"*.hcalc"_s}, QDir::Files)) {
        QFile f(file.absoluteFilePath());
        if (f.open(QIODevice::ReadOnly)) {
            all += f.readAll();
        }
    }
    return all;
}

// The driver with its script, on Qt's platform plugin platform (the tests' own when empty).
void Start(QProcess& driver, const QString& script, const QString& platform = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HCALC_SESSION_SCRIPT"_s, script);
    if (!platform.isEmpty()) {
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    }
    driver.setProcessEnvironment(environment);
    // Read as text: on Windows, the driver's lines end in "\r\n".
    driver.start(QStringLiteral(HCALC_SESSION_DRIVER), {}, QIODevice::ReadWrite | QIODevice::Text);
}

// A fresh recovery folder, and the driver's edit script run up to its end: what it printed.
Printed Edit(QProcess& driver, const QString& platform = {}) {
    QDir(RecoveryFolder()).removeRecursively();
    Start(driver, u"edit"_s, platform);
    EXPECT_TRUE(driver.waitForStarted(30000)) << driver.errorString().toStdString();
    QByteArray output;
    while (!output.contains("edited\n") && driver.waitForReadyRead(60000)) {
        output += driver.readAllStandardOutput();
    }
    EXPECT_TRUE(output.contains("edited\n")) << output.toStdString();
    const Printed edited = Parse(output);
    EXPECT_EQ(Line(edited, u"Text320"_s), u"345"_s);  // calculated
    EXPECT_EQ(Line(edited, u"Text330"_s), u"230"_s);  // typed last
    return edited;
}

Printed Recover() {
    QProcess driver;
    Start(driver, u"recover"_s);
    EXPECT_TRUE(driver.waitForFinished(60000));
    Printed run = Parse(driver.readAllStandardOutput());
    run.exitCode = driver.exitCode();
    return run;
}

// The next start offers the design once and shows every field as it was; the one after offers nothing, and a
// normal end left nothing behind.
void ExpectRecoveredOnce(const Printed& edited) {
    const Printed recovered = Recover();
    EXPECT_EQ(recovered.exitCode, 0);
    EXPECT_EQ(Line(recovered, u"offers"_s), u"1"_s);
    std::map<QString, QString> fields = recovered.lines;
    fields.erase(u"offers"_s);
    EXPECT_EQ(fields, edited.lines);

    const Printed again = Recover();
    EXPECT_EQ(Line(again, u"offers"_s), u"0"_s);
    EXPECT_TRUE(RecoveryFiles().isEmpty());
}

const QByteArray kLastTyped = "\"Text330\": \"230\"";

// A run that was killed (or stopped by the system), then two starts.
void EditEndAndRecover(bool killed) {
    QProcess driver;
    const Printed edited = Edit(driver);
    ASSERT_FALSE(::testing::Test::HasFailure());

    // The last typing reaches the recovery file within a few seconds.
    QElapsedTimer waited;
    waited.start();
    while (!RecoveryFiles().contains(kLastTyped) && waited.elapsed() < 20000) {
        QThread::msleep(50);
    }
    ASSERT_TRUE(RecoveryFiles().contains(kLastTyped)) << "after " << waited.elapsed() << " ms";
    EXPECT_LT(waited.elapsed(), 5000);

    if (killed) {
        driver.kill();
    } else {
        driver.terminate();
    }
    ASSERT_TRUE(driver.waitForFinished(30000));
    if (!killed) {
        EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(driver.exitCode(), 0);
    }
    ExpectRecoveredOnce(edited);
}

#ifdef Q_OS_WIN
// The driver's main window: the top-level window of its process with the program's caption.
HWND MainWindowOf(qint64 processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{static_cast<DWORD>(processId), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t caption[64] = {};
            GetWindowTextW(window, caption, 64);
            if (owner == search->processId && QString::fromWCharArray(caption) == u"谐波计算软件----Quelvaro"_s) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The desktop session ends as Windows ends it, with Qt's windows platform: asked first (WM_QUERYENDSESSION),
// the program agrees and has already written what was typed last, well before its recovery delay would have;
// told the session ends (WM_ENDSESSION), it ends cleanly and leaves the recovery file for the next start.
void EndSessionAndRecover() {
    QProcess driver;
    const Printed edited = Edit(driver, u"windows"_s);
    ASSERT_FALSE(::testing::Test::HasFailure());
    HWND window = nullptr;
    QElapsedTimer waited;
    waited.start();
    while ((window = MainWindowOf(driver.processId())) == nullptr && waited.elapsed() < 10000) {
        QThread::msleep(20);
    }
    ASSERT_NE(window, nullptr) << "no window of the program's process";
    // Not yet written: the delay after the last key has not passed.
    ASSERT_FALSE(RecoveryFiles().contains(kLastTyped))
        << "written by the delay already, after " << waited.elapsed() << " ms of looking for the window";

    DWORD_PTR answer = FALSE;
    ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer), 0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    EXPECT_TRUE(RecoveryFiles().contains(kLastTyped));

    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer);
    ASSERT_TRUE(driver.waitForFinished(30000));
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(driver.exitCode(), 0);
    ExpectRecoveredOnce(edited);
}
#endif

// One test for every end, since all runs share the tests' recovery folder.
TEST(RecoveryProcess, aKilledOrStoppedRunIsRecoveredWhole) {
#ifdef HCALC_TESTS_UNDER_QEMU_USER
    GTEST_SKIP() << "qemu-user refuses the clone flags with which Qt starts a process";
#endif
    {
        SCOPED_TRACE("killed");
        EditEndAndRecover(true);
    }
#ifdef Q_OS_WIN  // Windows stops a windowed program through its session, not by a signal
    SCOPED_TRACE("the session ended");
    EndSessionAndRecover();
#else
    SCOPED_TRACE("stopped");
    EditEndAndRecover(false);
#endif
}

}  // namespace
