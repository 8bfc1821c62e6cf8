// Printing through the Windows print spooler. Under wine the spooler's
// printers are those of the CUPS scheduler that wine is pointed at
// (CUPS_SERVER): none, or the private one of the CTest fixture cups.start,
// whose default printer is a cups-pdf queue (tests/print/cups_server). What
// the spooler sent is read back from the job files that scheduler keeps, in
// HCALC_CUPS_DIR, through wine's drive Z:.

#include "app/main_window.h"
#include "print/no_printer_check.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;

// Clicks "方案生成", then "打印方案" with OK as the answer; gives what the boxes showed.
QStringList GenerateAndPrint(TForm1& window, FakeDialogs& dialogs) {
    test::Click(&window, u"RzBitBtn13"_s);
    dialogs.confirmAnswers = {true};
    test::Click(&window, u"RzBitBtn15"_s);
    return dialogs.events;
}

TEST(WindowsPrinting, withoutADefaultPrinterStopsWithTheErrorBox) {
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), QString()) << "this test runs where no printer is set up";
    test::ExpectPrintingStopsForWantOfAPrinter();
}

// A job the scheduler took: its title, as its control file (IPP) holds it, and the document as sent.
struct SpooledJob {
    int id = 0;
    QString title;
    QByteArray document;
};

class SpooledJobs {
public:
    explicit SpooledJobs(const QString& dir) : m_spool(dir + u"/spool"_s) {}

    int lastId() const {
        int last = 0;
        for (const QString& name : m_spool.entryList({u"c*"_s}, QDir::Files)) {
            last = std::max(last, name.mid(1).toInt());
        }
        return last;
    }

    std::optional<SpooledJob> job(int id) const {
        QFile control(m_spool.filePath(u"c%1"_s.arg(id, 5, 10, QChar(u'0'))));
        QFile document(m_spool.filePath(u"d%1-001"_s.arg(id, 5, 10, QChar(u'0'))));
        if (!control.open(QIODevice::ReadOnly) || !document.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        // The attribute as IPP writes it: name length, name, value length, value.
        const QByteArray attributes = control.readAll();
        const QByteArray name("\x00\x08job-name", 10);
        const qsizetype at = attributes.indexOf(name);
        if (at < 0 || at + name.size() + 2 > attributes.size()) {
            return std::nullopt;
        }
        const qsizetype from = at + name.size() + 2;
        const int length =
            (static_cast<unsigned char>(attributes[from - 2]) << 8) | static_cast<unsigned char>(attributes[from - 1]);
        return SpooledJob{id, QString::fromUtf8(attributes.mid(from, length)), document.readAll()};
    }

private:
    QDir m_spool;
};

// The report printed on the default printer that the scheduler offers through
// wine: one job titled "方案", a page of PostScript from the spooler's driver,
// and the job done (cups-pdf wrote its PDF).
TEST(WindowsPrinting, printsTheReportAsOneJobTitledSchemeOnTheDefaultPrinter) {
    const QString dir = qEnvironmentVariable("HCALC_CUPS_DIR");
    ASSERT_FALSE(dir.isEmpty()) << "run through ctest, whose fixture cups.start starts the scheduler";
    if (QFile note(dir + u"/unavailable"_s); note.open(QIODevice::ReadOnly)) {
        const QString missing = QString::fromUtf8(note.readAll()).trimmed();
        if (qEnvironmentVariable("CI") == u"true"_s) {
            FAIL() << "no CUPS server for the printing tests: " << missing.toStdString();
        }
        GTEST_SKIP() << "no CUPS server: " << missing.toStdString();
    }
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), u"hcalc-pdf"_s);
    const SpooledJobs spool(dir);
    const int before = spool.lastId();

    FakeDialogs dialogs;
    TForm1 window(dialogs);
    EXPECT_EQ(GenerateAndPrint(window, dialogs), QStringList{u"confirm:确认打印方案？"_s});

    // The spooler hands the job on to the scheduler on its own time.
    QElapsedTimer waited;
    waited.start();
    while (spool.lastId() == before && !waited.hasExpired(30000)) {
        QTest::qWait(100);
    }
    ASSERT_EQ(spool.lastId(), before + 1);  // one job
    const std::optional<SpooledJob> job = spool.job(before + 1);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->title, u"方案"_s);
    EXPECT_TRUE(job->document.startsWith("%!PS")) << job->document.left(40).toStdString();
    EXPECT_TRUE(QRegularExpression(u"^%%Pages: 1$"_s, QRegularExpression::MultilineOption)
                    .match(QString::fromLatin1(job->document))
                    .hasMatch());
    const QDir pdfs(dir + u"/pdf"_s);
    waited.restart();
    while (pdfs.entryList({u"*job_%1.pdf"_s.arg(job->id)}, QDir::Files).isEmpty() && !waited.hasExpired(60000)) {
        QTest::qWait(100);
    }
    EXPECT_EQ(pdfs.entryList({u"*job_%1.pdf"_s.arg(job->id)}, QDir::Files).size(), 1);
}

}  // namespace
}  // namespace hcalc
