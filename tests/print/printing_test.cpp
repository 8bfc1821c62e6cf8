// Printing for real: the report goes through Qt's print support to a CUPS
// scheduler whose default printer is a cups-pdf queue (tests/print/cups_server,
// started by the CTest fixture cups.start). What the program sent is read back
// from the job file the scheduler keeps, the page count also from the PDF
// that cups-pdf wrote.

#include "app/main_window.h"
#include "pages/look.h"
#include "pages/page.h"
#include "print/no_printer_check.h"
#include "report/paged_text.h"
#include "report/pdf_text_layer.h"
#include "report/report_page.h"
#include "report/scheme_report.h"
#include "support/fake_dialogs.h"
#include "support/widgets.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

#include <cups/cups.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakeDialogs;
using test::Find;

constexpr const char* kQueue = "hcalc-pdf";                 // the server's default printer
constexpr const char* kRejectingQueue = "hcalc-rejecting";  // refuses every job
const QString kInstallHint =
    u"install cups, printer-driver-cups-pdf and poppler-utils (make deps does) and run "
    u"the printing tests through ctest, whose fixture cups.start starts the server"_s;

bool inCi() {
    return qEnvironmentVariable("CI") == u"true"_s;
}

struct Job {
    int id = 0;
    QString title;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
};

std::vector<Job> jobsOn(const char* queue) {
    cups_job_t* list = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, queue, 0, CUPS_WHICHJOBS_ALL);
    std::vector<Job> jobs;
    jobs.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        jobs.push_back({list[i].id, QString::fromUtf8(list[i].title), list[i].state});
    }
    cupsFreeJobs(count, list);
    return jobs;
}

int lastJobId(const char* queue) {
    int last = 0;
    for (const Job& job : jobsOn(queue)) {
        last = std::max(last, job.id);
    }
    return last;
}

std::vector<Job> jobsAfter(const char* queue, int id) {
    std::vector<Job> jobs;
    for (const Job& job : jobsOn(queue)) {
        if (job.id > id) {
            jobs.push_back(job);
        }
    }
    return jobs;
}

// The job once the scheduler is done with it.
Job waitUntilDone(int id) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (true) {
        for (const Job& job : jobsOn(kQueue)) {
            if (job.id == id && (job.state >= IPP_JSTATE_CANCELED || std::chrono::steady_clock::now() > deadline)) {
                return job;
            }
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return {};
        }
        QThread::msleep(100);
    }
}

// A tool's standard output; its errors go to the test's. (popen, not QProcess: the arm64 tests run under
// qemu-user, which cannot make the clone call QProcess forks with.)
QString run(const QString& program, const QStringList& arguments) {
    QString command = program;
    for (QString argument : arguments) {
        command += u" '"_s + argument.replace(u"'"_s, u"'\\''"_s) + u"'"_s;
    }
    QByteArray output;
    FILE* pipe = popen(command.toLocal8Bit().constData(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << command.toStdString() << ": cannot start";
        return {};
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, static_cast<qsizetype>(n));
    }
    if (pclose(pipe) != 0) {
        ADD_FAILURE() << command.toStdString() << ": failed";
    }
    return QString::fromUtf8(output);
}

int pageCount(const QString& pdf) {
    const QRegularExpressionMatch match =
        QRegularExpression(u"^Pages:\\s+(\\d+)$"_s, QRegularExpression::MultilineOption)
            .match(run(u"pdfinfo"_s, {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of each page, as pdftotext reads it in the order drawn.
QStringList pageTexts(const QString& pdf) {
    QStringList pages = run(u"pdftotext"_s, {u"-raw"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s}).split(u'\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) {
        pages.removeLast();  // after the last page's form feed
    }
    return pages;
}

// A text as it can be compared with what pdftotext reads: white space as one
// space, none at the ends (it sets spaces by the gaps between glyphs).
QString comparable(const QString& text) {
    return text.simplified();
}

QString withoutSpaces(QString text) {
    return text.remove(QRegularExpression(u"\\s"_s));
}

// The non-empty lines of a text, comparable.
QStringList lines(const QString& text) {
    QStringList result;
    for (const QString& line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty()) {
            result << comparable(line);
        }
    }
    return result;
}

// Boxes of the words on each page, in points from the page's top left (the
// boxes pdftotext gives its lines leave out their first word).
struct PageWords {
    QSizeF size;
    std::vector<QRectF> words;
};

std::vector<PageWords> lineBoxes(const QString& pdf) {
    const QString xhtml = run(u"pdftotext"_s, {u"-bbox-layout"_s, pdf, u"-"_s});
    std::vector<PageWords> pages;
    // <page width="W" height="H"> and <word xMin="X0" yMin="Y0" xMax="X1" yMax="Y1">
    static const QRegularExpression element(
        u"<(page) width=\"(-?[\\d.]+)\" height=\"(-?[\\d.]+)\"|"
        u"<(word) xMin=\"(-?[\\d.]+)\" yMin=\"(-?[\\d.]+)\" xMax=\"(-?[\\d.]+)\" yMax=\"(-?[\\d.]+)\""_s);
    for (const QRegularExpressionMatch& m : element.globalMatch(xhtml)) {
        if (m.captured(1) == u"page"_s) {
            pages.push_back({QSizeF(m.captured(2).toDouble(), m.captured(3).toDouble()), {}});
        } else if (!pages.empty()) {
            pages.back().words.push_back(QRectF(QPointF(m.captured(5).toDouble(), m.captured(6).toDouble()),
                                                QPointF(m.captured(7).toDouble(), m.captured(8).toDouble())));
        }
    }
    return pages;
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = qEnvironmentVariable("HCALC_CUPS_DIR");
        QString missing;
        if (m_dir.isEmpty()) {
            missing = u"HCALC_CUPS_DIR is not set"_s;
        } else if (QFile note(m_dir + u"/unavailable"_s); note.open(QIODevice::ReadOnly)) {
            missing = QString::fromUtf8(note.readAll()).trimmed();
        }
        if (!missing.isEmpty()) {
            if (inCi()) {
                FAIL() << "no CUPS server for the printing tests: " << missing.toStdString();
            }
            GTEST_SKIP() << "no CUPS server (" << missing.toStdString() << "): " << kInstallHint.toStdString();
        }
        // The default printer is the server's: nothing in the environment
        // may name another one.
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        qputenv("CUPS_SERVERROOT", (m_dir + u"/client"_s).toLocal8Bit());
        cupsSetServer((m_dir + u"/cups.sock"_s).toLocal8Bit().constData());
        ASSERT_EQ(QPrinterInfo::defaultPrinterName(), QString::fromUtf8(kQueue));
    }

    void TearDown() override { qunsetenv("PRINTER"); }

    QString spooledDocument(int job) const { return m_dir + u"/spool/d%1-001"_s.arg(job, 5, 10, QChar(u'0')); }

    // The PDF that cups-pdf wrote for the job.
    QString printedPdf(int job) const {
        const QStringList files = QDir(m_dir + u"/pdf"_s).entryList({u"*job_%1.pdf"_s.arg(job)}, QDir::Files);
        return files.size() == 1 ? m_dir + u"/pdf/"_s + files.front() : QString();
    }

    // Clicks "打印方案", answers OK, and returns the job it sent.
    std::optional<Job> print(const QObject* window, FakeDialogs& dialogs) {
        const int before = lastJobId(kQueue);
        dialogs.confirmAnswers = {true};
        test::Click(window, u"RzBitBtn15"_s);
        EXPECT_EQ(dialogs.events, QStringList{u"confirm:确认打印方案？"_s});
        const std::vector<Job> sent = jobsAfter(kQueue, before);
        EXPECT_EQ(sent.size(), 1u);  // one job, handed over before the click returned
        if (sent.size() != 1) {
            return std::nullopt;
        }
        const Job done = waitUntilDone(sent.front().id);
        EXPECT_EQ(done.state, IPP_JSTATE_COMPLETED);
        return done;
    }

    QString m_dir;
};

TEST_F(PrintingTest, printsTheGeneratedReportAsOneJobTitledScheme) {
    FakeDialogs dialogs;
    NumberFormat numbers;
    DesignState design;
    *design.table.rowFor(5) = {5, 40, 525, 462.130165480619, 43.9885310880386, 0.879338, 4.5, 3, 112.5, 117.1875, 1.5};
    *design.table.rowFor(7) = {7, 30, 450, 471.8, 38.49, 1.5, 6, 4, 117.5, 125.25, 10.5};
    SiteTexts site{u"1000"_s, u"0.75"_s, u"0.95"_s, u"380"_s, {u"35.5"_s, u"60"_s, u"22.5"_s, u"8"_s}};
    ReportPage page(PageContext{dialogs, numbers}, design, [&] { return site; });
    test::Click(&page, u"RzBitBtn13"_s);
    const QString report = Find<QTextEdit>(&page, u"R"_s)->toPlainText();

    const std::optional<Job> job = print(&page, dialogs);
    ASSERT_TRUE(job);

    EXPECT_EQ(job->title, u"方案"_s);
    const QStringList expected = lines(SchemeReport(site, design.table, u'.').join(u'\n'));
    ASSERT_EQ(expected.size(), kSchemeReportLineCount);
    const QStringList pages = pageTexts(spooledDocument(job->id));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(lines(pages.front()), expected);  // the 56 lines in order, and nothing else: no header or page number
    EXPECT_EQ(pageCount(spooledDocument(job->id)), 1);
    EXPECT_EQ(pageCount(printedPdf(job->id)), 1);
    EXPECT_EQ(Find<QTextEdit>(&page, u"R"_s)->toPlainText(), report);
}

// Several hundred lines and a paragraph longer than the paper is wide: as many
// pages as needed, every line whole on one page, nothing lost or repeated.
TEST_F(PrintingTest, longTextFillsSeveralPagesWithNothingLost) {
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    test::Click(&window, u"RzBitBtn13"_s);
    auto* area = Find<QTextEdit>(&window, u"R"_s);
    const QStringList report = area->toPlainText().split(u'\n');
    // Numbered lines of the report: the digits of "001 A. ..." are set in a
    // Latin run, with glyphs that no character maps to.
    QStringList text;
    for (int i = 1; i <= 400; ++i) {
        text << u"%1 "_s.arg(i, 3, 10, QChar(u'0')) + report[i % report.size()];
    }
    text.insert(200, report[35].repeated(12));  // "A. ...": wraps over several printed lines
    area->setPlainText(text.join(u'\n'));

    const std::optional<Job> job = print(&window, dialogs);
    ASSERT_TRUE(job);

    const QString sent = spooledDocument(job->id);
    const QStringList pages = pageTexts(sent);
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(pageCount(sent), pages.size());
    EXPECT_EQ(pageCount(printedPdf(job->id)), pages.size());
    // Every short line whole, once, in order; the long paragraph in pieces
    // between its neighbours. Nothing else: no header, footer or page number.
    const QStringList printed = lines(pages.join(u'\n'));
    const QStringList before = lines(text.mid(0, 200).join(u'\n'));
    const QStringList after = lines(text.mid(201).join(u'\n'));
    ASSERT_GE(printed.size(), before.size() + after.size() + 3);
    EXPECT_EQ(printed.mid(0, before.size()), before);
    EXPECT_EQ(printed.mid(printed.size() - after.size()), after);
    const QStringList pieces = printed.mid(before.size(), printed.size() - before.size() - after.size());
    EXPECT_GE(pieces.size(), 3);
    EXPECT_EQ(withoutSpaces(pieces.join(QString())), withoutSpaces(text[200]));  // wrapped at a space or anywhere
    for (qsizetype i = 0; i < pages.size(); ++i) {
        EXPECT_FALSE(lines(pages[i]).isEmpty()) << "page " << i + 1;
    }

    // Where the lines sit: inside the printer's printable area, starting at
    // its top left corner (no margins of the program's own), down to its
    // bottom on every page but the last, the long paragraph across its width.
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromUtf8(kQueue));
    QPrinter printer(info, QPrinter::HighResolution);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QRectF printable = layout.fullRect().marginsRemoved(layout.minimumMargins());
    const std::vector<PageWords> boxes = lineBoxes(sent);
    ASSERT_EQ(boxes.size(), static_cast<std::size_t>(pages.size()));
    constexpr qreal kTolerance = 1;  // points
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const std::vector<QRectF>& onPage = boxes[i].words;
        ASSERT_FALSE(onPage.empty());
        const qreal lineHeight = onPage.front().height();
        QRectF extent = onPage.front();
        for (const QRectF& box : onPage) {
            EXPECT_TRUE(printable.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(box))
                << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
            extent |= box;
        }
        EXPECT_NEAR(extent.top(), printable.top(), kTolerance);
        EXPECT_NEAR(extent.left(), printable.left(), kTolerance);
        if (i + 1 < boxes.size()) {
            EXPECT_LT(printable.bottom() - extent.bottom(), lineHeight);  // the next line did not fit
        }
        if (comparable(pages[static_cast<qsizetype>(i)]).contains(comparable(text[200]).left(20))) {
            EXPECT_GT(extent.right(), printable.right() - 2 * lineHeight);
        }
    }
}

// What the user typed into the area reads back as typed, character for
// character: ideographs whose glyphs the font also maps radicals to, rarer
// ideographs (two outside the BMP), a compatibility ideograph, radicals
// without their ideographs, a radical and its ideograph drawn with one glyph
// in one text, digits in a Latin run, a ligature, a combining accent.
TEST_F(PrintingTest, typedTextReadsBackAsTyped) {
    const QString typed[] = {
        u"目行文方人食言角\n㐀龘𠮷𰻝 \uF900"_s,
        u"⼈\n⽬ ⻆"_s,
        u"人⼈人\n⽬目⽬ ⻆角"_s,
        u"001 A. office caf\u00e9 cafe\u0301"_s,
    };
    for (const QString& text : typed) {
        SCOPED_TRACE(text.toStdString());
        FakeDialogs dialogs;
        TForm1 window(dialogs);
        Find<QTextEdit>(&window, u"R"_s)->setPlainText(text);
        const std::optional<Job> job = print(&window, dialogs);
        ASSERT_TRUE(job);
        EXPECT_EQ(lines(pageTexts(spooledDocument(job->id)).join(u'\n')), lines(text));
    }
}

TEST_F(PrintingTest, anEmptyAreaPrintsOneBlankPage) {
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    const std::optional<Job> job = print(&window, dialogs);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->title, u"方案"_s);
    EXPECT_EQ(pageCount(spooledDocument(job->id)), 1);
    EXPECT_EQ(pageCount(printedPdf(job->id)), 1);
    EXPECT_TRUE(lines(pageTexts(spooledDocument(job->id)).join(QString())).isEmpty());
}

TEST_F(PrintingTest, cancelSendsNoJob) {
    FakeDialogs dialogs;
    TForm1 window(dialogs);
    test::Click(&window, u"RzBitBtn13"_s);
    const int before = lastJobId(kQueue);
    dialogs.confirmAnswers = {false};
    test::Click(&window, u"RzBitBtn15"_s);
    EXPECT_EQ(dialogs.events, QStringList{u"confirm:确认打印方案？"_s});
    EXPECT_TRUE(jobsAfter(kQueue, before).empty());
}

// The print service's own message when it refuses the job, and the error box
// when the named default printer does not exist.
TEST_F(PrintingTest, failuresOfThePrintServiceShowTheirMessage) {
    struct Case {
        const char* printer;  // the PRINTER setting
        QString shown;
    };
    const Case cases[] = {
        {kRejectingQueue, u"Destination \"hcalc-rejecting\" is not accepting jobs."_s},
        {"no-such-printer", u"There is no default printer currently selected."_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printer);
        FakeDialogs dialogs;
        TForm1 window(dialogs);
        test::Click(&window, u"RzBitBtn13"_s);
        const QString text = Find<QTextEdit>(&window, u"R"_s)->toPlainText();
        const int before = lastJobId(nullptr);
        qputenv("PRINTER", c.printer);
        dialogs.confirmAnswers = {true};

        test::Click(&window, u"RzBitBtn15"_s);

        EXPECT_EQ(dialogs.events, (QStringList{u"confirm:确认打印方案？"_s, u"fault:"_s + c.shown}));
        EXPECT_EQ(Find<QTextEdit>(&window, u"R"_s)->toPlainText(), text);
        qunsetenv("PRINTER");
        EXPECT_TRUE(jobsAfter(nullptr, before).empty());
    }
}

// With no print service at all there is no default printer: the error box,
// and the report stays. Runs without CUPS installed.
TEST(NoDefaultPrinter, printingStopsWithTheErrorBox) {
    const QString empty = QDir::temp().filePath(u"hcalc-no-cups-%1"_s.arg(QCoreApplication::applicationPid()));
    QDir().mkpath(empty);
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    qputenv("CUPS_SERVERROOT", empty.toLocal8Bit());
    cupsSetServer((empty + u"/no-server.sock"_s).toLocal8Bit().constData());

    test::ExpectPrintingStopsForWantOfAPrinter();
    QDir(empty).removeRecursively();
}

// A PDF whose text layer can be set is printed mended; one whose text layer
// cannot be (what was drawn is not what the PDF shows) is printed as Qt wrote
// it, and the log says so, rather than not at all.
TEST(PdfToPrint, printsThePdfAsWrittenWhereItsTextLayerCannotBeSet) {
    const QTextDocument text(u"谐波计算 目 A12"_s);
    QByteArray pdf;
    QBuffer output(&pdf);
    output.open(QIODevice::WriteOnly);
    QPdfWriter writer(&output);
    const DrawnPages drawn =
        DrawOnPages(writer, text, look::songTi(), writer.pageLayout().paintRectPixels(writer.resolution()).size());
    static QStringList warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtWarningMsg) {
                warnings << message;
            }
        });

    EXPECT_NE(PdfToPrint(pdf, drawn), pdf);
    EXPECT_TRUE(warnings.isEmpty());
    DrawnPages notDrawn = drawn;
    notDrawn.emplace_back();  // a page the PDF does not have
    EXPECT_EQ(PdfToPrint(pdf, notDrawn), pdf);
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings.size(), 1);
}

}  // namespace
}  // namespace hcalc
