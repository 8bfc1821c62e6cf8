// Recovery for real: the program, started as a process, has its inputs typed
// and calculated, and is killed (SIGKILL; TerminateProcess on Windows) or
// stopped by the system (SIGTERM). Started again, it offers the design once,
// and recovered, every field is as it was.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <map>

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

// The driver with its script.
void Start(QProcess& driver, const QString& script) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HCALC_SESSION_SCRIPT"_s, script);
    driver.setProcessEnvironment(environment);
    driver.start(QStringLiteral(HCALC_SESSION_DRIVER), {});
}

Printed Recover() {
    QProcess driver;
    Start(driver, u"recover"_s);
    EXPECT_TRUE(driver.waitForFinished(60000));
    Printed run = Parse(driver.readAllStandardOutput());
    run.exitCode = driver.exitCode();
    return run;
}

// A run that was killed (or stopped by the system), then two starts.
void EditEndAndRecover(bool killed) {
    QDir(RecoveryFolder()).removeRecursively();
    QProcess driver;
    Start(driver, u"edit"_s);
    ASSERT_TRUE(driver.waitForStarted(30000));
    QByteArray output;
    while (!output.contains("edited\n") && driver.waitForReadyRead(60000)) {
        output += driver.readAllStandardOutput();
    }
    ASSERT_TRUE(output.contains("edited\n")) << output.toStdString();
    const Printed edited = Parse(output);
    ASSERT_EQ(edited.lines.at(u"Text320"_s), u"345"_s);  // calculated
    ASSERT_EQ(edited.lines.at(u"Text330"_s), u"230"_s);  // typed after the calculation

    // The last typing reaches the recovery file within a few seconds.
    QElapsedTimer waited;
    waited.start();
    while (!RecoveryFiles().contains("\"Text330\": \"230\"") && waited.elapsed() < 20000) {
        QThread::msleep(50);
    }
    ASSERT_TRUE(RecoveryFiles().contains("\"Text330\": \"230\"")) << "after " << waited.elapsed() << " ms";
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

    const Printed recovered = Recover();
    EXPECT_EQ(recovered.exitCode, 0);
    EXPECT_EQ(recovered.lines.at(u"offers"_s), u"1"_s);
    std::map<QString, QString> fields = recovered.lines;
    fields.erase(u"offers"_s);
    EXPECT_EQ(fields, edited.lines);

    // Offered once: the next start has nothing to offer, and a normal end left nothing behind.
    const Printed again = Recover();
    EXPECT_EQ(again.lines.at(u"offers"_s), u"0"_s);
    EXPECT_TRUE(RecoveryFiles().isEmpty());
}

// One test for both ends, since all runs share the tests' recovery folder.
TEST(RecoveryProcess, aKilledOrStoppedRunIsRecoveredWhole) {
    {
        SCOPED_TRACE("killed");
        EditEndAndRecover(true);
    }
#ifndef Q_OS_WIN  // Windows stops a windowed program through its session, not by a signal
    SCOPED_TRACE("stopped");
    EditEndAndRecover(false);
#endif
}

}  // namespace
